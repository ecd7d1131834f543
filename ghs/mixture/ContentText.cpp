#include "ContentText.h"
#include "IngredientCheck.h"

#include <QRegularExpression>

namespace corvane::ghs {
namespace {

std::optional<double> numberIn(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^\\d+(\\.\\d+)?$|^\\.\\d+$"));
    if (!plain.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble();
}

} // namespace

std::optional<Content> parseContentText(const QString &typed, QString *problem)
{
    // NFKC makes full-width digits, "．", "－", "％" and "～" half-width; the wave dash 〜 and
    // the minus and dashes people type between two numbers become the hyphen.
    QString text = typed.normalized(QString::NormalizationForm_KC);
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    for (QChar dash : {QChar(0x301C), QChar(u'~'), QChar(0x2212), QChar(0x2010), QChar(0x2013), QChar(0x2014)})
        text.replace(dash, QLatin1Char('-'));
    if (text.endsWith(QLatin1Char('%')))
        text.chop(1);
    if (text.isEmpty())
        return std::nullopt;
    const QStringList parts = text.split(QLatin1Char('-'));
    if (parts.size() == 1) {
        if (const auto value = numberIn(parts[0]))
            return Content::value(*value);
    } else if (parts.size() == 2) {
        const auto lower = numberIn(parts[0]), upper = numberIn(parts[1]);
        if (lower && upper)
            return Content::range(*lower, *upper);
    }
    *problem =
        QStringLiteral("「%1」は含有率として読めません。12.5 や 10-20 のように入力してください。").arg(typed.trimmed());
    return std::nullopt;
}

QString contentText(const Content &content)
{
    if (content.lower)
        return QStringLiteral("%1-%2").arg(percentText(*content.lower), percentText(content.upper));
    return percentText(content.upper);
}

} // namespace corvane::ghs
