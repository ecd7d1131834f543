#include "SourceText.h"

namespace corvane::mastersource {

std::vector<SourceLine> dataLines(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(kLineBreak, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    std::vector<SourceLine> lines;
    const QStringList raw = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QString trimmed = raw.at(i).trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        lines.push_back({int(i + 1), raw.at(i)});
    }
    return lines;
}

bool isStatementCode(const QString &code, QChar letter)
{
    static const QRegularExpression h(QStringLiteral("^H[0-9]{3}(\\+H[0-9]{3})*$"));
    static const QRegularExpression p(QStringLiteral("^P[0-9]{3}(\\+P[0-9]{3})*$"));
    return (letter == QLatin1Char('H') ? h : p).match(code).hasMatch();
}

std::vector<int> codeNumbers(const QString &code)
{
    std::vector<int> numbers;
    for (const QString &part : code.split(QLatin1Char('+')))
        numbers.push_back(part.mid(1).toInt());
    return numbers;
}

const QRegularExpression &placeholderPattern()
{
    static const QRegularExpression pattern(QStringLiteral("\\{([^{}?|=:\\t]+)(\\?)?\\}"));
    return pattern;
}

QString unfilledBlank(const QString &text)
{
    static const QRegularExpression blank(QStringLiteral(
        "…|‥|\\.\\.\\.|・・・|[○〇◯]{2,}|[△□×＿_]{2,}|[（(][\\s　]*[）)]|[【\\[［][\\s　]*[】\\]］]|[{}]"));
    const QRegularExpressionMatch match = blank.match(text);
    return match.hasMatch() ? match.captured() : QString();
}

QStringList sentences(const QString &text)
{
    QStringList result;
    for (const QString &line : text.split(kLineBreak)) {
        for (QString sentence : line.split(QStringLiteral("。"))) {
            sentence = sentence.trimmed();
            if (!sentence.isEmpty())
                result.append(sentence);
        }
    }
    return result;
}

bool placeholdersWellFormed(QString text)
{
    text.remove(placeholderPattern());
    return !text.contains(QLatin1Char('{')) && !text.contains(QLatin1Char('}'));
}

StatementTable readStatements(const QString &text, ErrorSink sink, QChar letter)
{
    StatementTable table;
    const std::vector<SourceLine> lines = dataLines(text);
    if (lines.empty())
        sink.add(0, QStringLiteral("データ行がありません。"));

    for (const SourceLine &line : lines) {
        const QStringList fields = line.text.split(QLatin1Char('\t'));
        if (fields.size() != 2) {
            sink.add(line.number,
                     QStringLiteral("「コード<TAB>文」の 2 列ではありません（%1 列）。").arg(fields.size()));
            continue;
        }
        const QString code = fields.at(0).trimmed();
        const QString statement = fields.at(1).trimmed();
        if (!isStatementCode(code, letter)) {
            sink.add(line.number, QStringLiteral("コード「%1」は %2 コードの形ではありません。").arg(code, letter));
            continue;
        }
        if (statement.isEmpty()) {
            sink.add(line.number, QStringLiteral("%1 の文が空です。").arg(code));
            continue;
        }
        if (table.contains(code)) {
            sink.add(line.number, QStringLiteral("%1 が重複しています。").arg(code));
            continue;
        }
        if (!placeholdersWellFormed(statement)
            || !unfilledBlank(QString(statement).remove(placeholderPattern())).isEmpty()) {
            sink.add(line.number,
                     QStringLiteral("%1 の空欄は {名前}（埋めなくてよいものは {名前?}）で書いてください。").arg(code));
            continue;
        }
        table.insert(code, statement);
    }
    return table;
}

std::optional<QStringList> splitList(const QString &field)
{
    if (field.trimmed().isEmpty())
        return QStringList();
    QStringList items;
    for (const QString &item : field.split(QLatin1Char(',')))
        items.append(item.trimmed());
    if (items.contains(QString()))
        return std::nullopt;
    return items;
}

bool isValidCas(const QString &cas)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{2,7})-([0-9]{2})-([0-9])$"));
    const QRegularExpressionMatch match = pattern.match(cas);
    if (!match.hasMatch())
        return false;
    // The check digit is the weighted sum of the other digits, weights counted from the right.
    const QString digits = match.captured(1) + match.captured(2);
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i)
        sum += int(digits.size() - i) * digits.at(i).digitValue();
    return sum % 10 == match.captured(3).toInt();
}

} // namespace corvane::mastersource
