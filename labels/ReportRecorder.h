#pragma once

#include "ReportDocument.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace corvane {

// One engine operation as the printing run made it.
struct ReportCall {
    QString operation;      // "PR_Start", "PR_RepSetText", …
    QVariantList arguments; // as passed; PR_RepGetPos has just the field name
    QVariant result;        // return value, or PR_RepGetPos's four outputs as a list
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
