#pragma once

#include "ReportDefinition.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <memory>

namespace corvane {

struct ReportLoadResult {
    std::shared_ptr<const ReportDefinition> report; // null on failure
    QString error;                                  // Japanese, names the file
};

// Parsed report definitions by path. A report loaded for every page is read
// from disk once, and again only when its modification time or size changes.
class ReportCache {
public:
    ReportLoadResult load(const QString &path);

private:
    struct Entry {
        QDateTime modified;
        qint64 size = -1;
        std::shared_ptr<const ReportDefinition> report;
    };
    QHash<QString, Entry> m_entries;
};

} // namespace corvane
