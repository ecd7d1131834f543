#pragma once

#include "Outcome.h"
#include "ReportDefinition.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <memory>

namespace corvane {

using LoadedReport = std::shared_ptr<const ReportDefinition>;

// Parsed report definitions by path. A report loaded for every page is read
// from disk once, and again only when its modification time or size changes.
class ReportCache {
public:
    // The report, or why it cannot be had (Japanese, naming the file).
    Result<LoadedReport> load(const QString &path);

private:
    struct Entry {
        QDateTime modified;
        qint64 size = -1;
        LoadedReport report;
    };
    QHash<QString, Entry> m_entries;
};

} // namespace corvane
