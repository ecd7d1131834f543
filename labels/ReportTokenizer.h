#pragma once

#include <QList>
#include <QString>

namespace corvane {

// One word of a report line: a bare word (`bold`) or an attribute (`size=9`,
// `text="供給者"`). Columns are 1-based, counted in characters.
struct ReportToken {
    QString key;
    QString value;
    bool hasValue = false;
    int column = 0;
    int valueColumn = 0;
};

struct TokenizedLine {
    QList<ReportToken> tokens;
    QString error; // empty when the line was read completely
    int errorColumn = 0;
};

// Splits one line into tokens. An unquoted word starting with '#' starts a
// comment that runs to the end of the line.
TokenizedLine tokenizeReportLine(const QString &line);

} // namespace corvane
