#include "ReportTokenizer.h"

namespace corvane {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\r'; }

// Reads a quoted value starting at the opening quote; returns the index just
// past the closing quote, or -1 when the quote is not closed.
qsizetype readQuoted(const QString &line, qsizetype at, QString *value)
{
    for (qsizetype i = at + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"')
            return i + 1;
        if (c == u'\\' && i + 1 < line.size()) {
            const QChar escaped = line[++i];
            if (escaped == u'n')
                value->append(u'\n');
            else if (escaped == u't')
                value->append(u'\t');
            else
                value->append(escaped);
            continue;
        }
        value->append(c);
    }
    return -1;
}

} // namespace

TokenizedLine tokenizeReportLine(const QString &line)
{
    TokenizedLine result;
    qsizetype i = 0;
    const qsizetype size = line.size();
    while (i < size) {
        while (i < size && isBlank(line[i]))
            ++i;
        if (i >= size || line[i] == u'#')
            break;

        ReportToken token;
        token.column = int(i) + 1;
        while (i < size && !isBlank(line[i]) && line[i] != u'=' && line[i] != u'"')
            token.key.append(line[i++]);
        if (i < size && line[i] == u'"') {
            result.error = QStringLiteral("引用符の位置が正しくありません");
            result.errorColumn = int(i) + 1;
            return result;
        }
        if (i < size && line[i] == u'=') {
            token.hasValue = true;
            ++i;
            token.valueColumn = int(i) + 1;
            if (i < size && line[i] == u'"') {
                const qsizetype end = readQuoted(line, i, &token.value);
                if (end < 0) {
                    result.error = QStringLiteral("引用符が閉じていません");
                    result.errorColumn = int(i) + 1;
                    return result;
                }
                i = end;
                if (i < size && !isBlank(line[i])) {
                    result.error = QStringLiteral("引用符の後に空白が必要です");
                    result.errorColumn = int(i) + 1;
                    return result;
                }
            } else {
                while (i < size && !isBlank(line[i])) {
                    if (line[i] == u'"') {
                        result.error = QStringLiteral("引用符の位置が正しくありません");
                        result.errorColumn = int(i) + 1;
                        return result;
                    }
                    token.value.append(line[i++]);
                }
            }
        }
        if (token.key.isEmpty()) {
            result.error = QStringLiteral("'=' の前に属性名がありません");
            result.errorColumn = token.column;
            return result;
        }
        result.tokens.append(token);
    }
    return result;
}

} // namespace corvane
