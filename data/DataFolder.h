#pragma once
#include <QString>
#include <QStringList>

class QSqlQuery;

namespace corvane {

struct ComposedSubstance;

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
// and renamed only when complete. Returns false with a Japanese message in *error.
bool createDataFolder(const QString &dataFolder, const DataSources &sources, QString *error);

// Writes one substance as a new row of 表示物質, every column the master fills: the printed
// fields and the source fields (別名, Hコード, Pコード, 区分, 差込,
// 出典, 出典ID, 出典年, 出典備考). `query` must be on the target database; the statement is
// prepared on the first call and reused after. A row with the same ID must not exist.
// Returns false with the SQL error in query.lastError().
bool insertSubstanceRow(QSqlQuery &query, const ComposedSubstance &substance);

// Rewrites the same columns of the existing row with the substance's ID, in place: the row
// stays where it is (on a server its rowid too), only its data change.
bool updateSubstanceRow(QSqlQuery &query, const ComposedSubstance &substance);

} // namespace corvane
