#include "SubstanceSearch.h"

namespace corvane {
namespace {

// Full-width Ａ１ and half-width A1 alike, without regard to case.
QString folded(const QString &text) { return text.normalized(QString::NormalizationForm_KC).toCaseFolded(); }

bool onlyDigitsAndHyphens(const QString &text)
{
    for (QChar c : text)
        if (!c.isDigit() && c != QLatin1Char('-'))
            return false;
    return true;
}

} // namespace

SearchKey SearchKey::of(const SubstanceRecord &substance, int number)
{
    SearchKey key;
    key.names = folded(QStringList{substance.name, substance.aliases.join(QLatin1Char('\n'))}.join(QLatin1Char('\n')));
    key.casDigits = folded(substance.cas).remove(QLatin1Char('-'));
    key.number = number;
    return key;
}

bool SearchKey::matches(const QString &typed) const
{
    const QString wanted = folded(typed).trimmed();
    if (wanted.isEmpty() || names.contains(wanted))
        return true;
    if (!onlyDigitsAndHyphens(wanted))
        return false;
    const QString digits = QString(wanted).remove(QLatin1Char('-'));
    if (digits.isEmpty())
        return false;
    if (!wanted.contains(QLatin1Char('-')) && digits.toInt() == number)
        return true;
    return casDigits.startsWith(digits);
}

} // namespace corvane
