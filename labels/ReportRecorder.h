#pragma once

#include "ReportDocument.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace corvane {

// One engine operation as the printing run made it.
struct ReportCall {
    QString operation;      // the engine's function: "startDocument", "setFieldText", …
    QVariantList arguments; // as passed; a report file by its name ("MALAB26.PRP")
    QVariant result;        // true or false for an Outcome, the rectangle for fieldRect
};

// Sees every engine call in order, and each document that is output.
class ReportRecorder {
public:
    virtual ~ReportRecorder() = default;
    virtual void recordCall(const ReportCall &call) = 0;
    virtual void recordDocument(const ReportDocument &document) = 0;
};

// Keeps everything it sees, for tests and diagnostics.
class ReportCallLog : public ReportRecorder {
public:
    void recordCall(const ReportCall &call) override { calls.append(call); }
    void recordDocument(const ReportDocument &document) override { documents.append(document); }

    QStringList operations() const
    {
        QStringList names;
        for (const ReportCall &call : calls)
            names.append(call.operation);
        return names;
    }

    QList<ReportCall> calls;
    QList<ReportDocument> documents;
};

} // namespace corvane
