#pragma once

#include "ReportDefinition.h"

#include <QList>
#include <QString>

namespace corvane {

struct ReportParseError {
    int line = 0;
    int column = 0; // 0 when the fault is the whole line
    QString message;
};

struct ReportParseResult {
    ReportDefinition report; // complete only when there are no errors
    QList<ReportParseError> errors;
    bool ok() const { return errors.isEmpty(); }
};

// Font families asked for when a report names none. The fonts on our
// machines are appended to every request, so Japanese never renders as boxes.
QStringList defaultReportFontFamilies();

// Reads a report definition (.PRP text). Pure: no file or font access, and
// any text, however broken, yields either a report or a list of errors.
ReportParseResult parseReport(const QString &text, const QString &fileName);

// "SULABEL.PRP 12行 5桁目: …" for messages shown to the user.
QString describeParseError(const QString &fileName, const ReportParseError &error);

} // namespace corvane
