#pragma once
#include "Outcome.h"

#include <QString>
#include <QStringList>

namespace corvane {

// Where the program's shipped files come from in the source tree.
struct DataSources {
    QString schemaFile;      // schema.sql
    QString masterFolder;    // the substance master's text sources
    QStringList copyFolders; // pictograms and report files, copied as they are
};

DataSources dataSourcesIn(const QString &sourceRoot);

// Fills the Data folder with what the program needs: Data.mde (the tables, the substance
// master with its version and the list of all target substances) and the picture and report
// files. Files that exist are never overwritten; Data.mde is written under a temporary name
// and renamed only when complete. The failure says what could not be read or written.
Outcome createDataFolder(const QString &dataFolder, const DataSources &sources);

} // namespace corvane
