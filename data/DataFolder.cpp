#include "DataFolder.h"
#include "Database.h"
#include "ErrorBoundary.h"
#include "MasterWrite.h"
#include "ProgramMaster.h"
#include "SchemaUpgrade.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace corvane {
namespace {

bool fail(QString *error, const QString &message)
{
    *error = message;
    return false;
}

QVariant textOrNull(const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); }

// Creates the tables in a new file and fills them with the master, as an update would fill
// an empty database: one code path writes the master's rows for the build and for updates.
bool fillDatabase(const QString &file, const ProgramMaster &master, QString *error)
{
    const QString connection = QStringLiteral("corvane-build-") + file;
    bool created = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        if (!db.open())
            created = fail(error, db.lastError().text());
        QSqlQuery query(db);
        for (const QString &statement : schemaStatements(master.schema))
            if (created && !query.exec(statement))
                created = fail(error, query.lastError().text());
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!created)
        return false;

    auto db = Database::open(file, error);
    if (!db)
        return false;
    try {
        Transaction transaction(*db);
        writeProgramMaster(*db, master);
        transaction.commit();
    } catch (const DbError &failure) {
        return fail(error, QString::fromStdString(failure.what()));
    }
    return true;
}

bool buildDatabase(const QString &target, const DataSources &sources, QString *error)
{
    const auto master = loadMaster(sources.masterFolder, sources.schemaFile, error);
    if (!master)
        return false;
    const QString temporary = target + QStringLiteral(".new");
    QFile::remove(temporary);
    if (!fillDatabase(temporary, *master, error) || !QFile::rename(temporary, target)) {
        if (QFile::exists(temporary) && error->isEmpty())
            *error = QStringLiteral("ファイルを書き込めません: %1").arg(target);
        QFile::remove(temporary);
        return false;
    }
    return true;
}

bool copyMissingFiles(const QString &sourceFolder, const QString &dataFolder, QString *error)
{
    const QDir source(sourceFolder);
    for (const QFileInfo &file : source.entryInfoList(QDir::Files)) {
        const QString target = QDir(dataFolder).filePath(file.fileName());
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::copy(file.absoluteFilePath(), target))
            return fail(error, QStringLiteral("ファイルを書き込めません: %1").arg(target));
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return true;
}

// The columns of 表示物質 the master fills, after ID, and their values for a substance.
const QStringList kSubstanceColumns{
    QStringLiteral("物質名"), QStringLiteral("\"注意喚起語：\""), QStringLiteral("\"危険有害性情報：\""), QStringLiteral("注意書き"),
    QStringLiteral("絵表示1"), QStringLiteral("絵表示2"), QStringLiteral("絵表示3"), QStringLiteral("絵表示4"), QStringLiteral("絵表示5"),
    QStringLiteral("CAS"), QStringLiteral("別名"), QStringLiteral("Hコード"), QStringLiteral("Pコード"), QStringLiteral("区分"),
    QStringLiteral("差込"), QStringLiteral("出典"), QStringLiteral("出典ID"), QStringLiteral("出典年"), QStringLiteral("出典備考"),
    QStringLiteral("出典版"), QStringLiteral("法令名称"), QStringLiteral("義務開始"), QStringLiteral("ラベル裾切値"),
    QStringLiteral("SDS裾切値"), QStringLiteral("法令備考")};

QVariantList substanceValues(const ComposedSubstance &s)
{
    const QString comma = QStringLiteral(",");
    const QString bar = QStringLiteral("|");
    QVariantList values{s.name, textOrNull(s.signalWord), textOrNull(s.hazards), textOrNull(s.precautions)};
    for (int m = 0; m < 5; ++m)
        values << (m < s.pictures.size() ? QVariant(s.pictures[m]) : QVariant());
    values << textOrNull(s.cas) << textOrNull(s.aliases.join(bar)) << textOrNull(s.hazardCodes.join(comma))
           << textOrNull(s.precautionCodes.join(comma)) << textOrNull(s.categories.join(comma))
           << textOrNull(s.fillIns.join(bar)) << sourceKindName(s.sourceKind) << textOrNull(s.sourceId)
           << (s.sourceYear > 0 ? QVariant(s.sourceYear) : QVariant()) << textOrNull(s.sourceNote)
           << textOrNull(s.sourceVersion) << textOrNull(s.legalName) << textOrNull(s.legalSince)
           << textOrNull(s.labelCutoff) << textOrNull(s.sdsCutoff) << textOrNull(s.legalNote);
    return values;
}

const QString kSubstanceInsert = QStringLiteral("INSERT INTO 表示物質 (ID, %1) VALUES (?%2)")
                                     .arg(kSubstanceColumns.join(QStringLiteral(", ")),
                                          QStringLiteral(", ?").repeated(kSubstanceColumns.size()));
const QString kSubstanceUpdate = QStringLiteral("UPDATE 表示物質 SET %1 = ? WHERE ID = ?")
                                     .arg(kSubstanceColumns.join(QStringLiteral(" = ?, ")));

bool run(QSqlQuery &query, const QString &statement, const QVariantList &values)
{
    if (query.lastQuery() != statement && !query.prepare(statement))
        return false;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    return query.exec();
}

} // namespace

bool insertSubstanceRow(QSqlQuery &query, const ComposedSubstance &s)
{
    return run(query, kSubstanceInsert, QVariantList{s.id} + substanceValues(s));
}

bool updateSubstanceRow(QSqlQuery &query, const ComposedSubstance &s)
{
    return run(query, kSubstanceUpdate, substanceValues(s) << s.id);
}

DataSources dataSourcesIn(const QString &sourceRoot)
{
    const QDir root(sourceRoot);
    return {root.filePath(QStringLiteral("data/schema.sql")),
            root.filePath(QStringLiteral("data/master")),
            {root.filePath(QStringLiteral("data/pictograms")),
             root.filePath(QStringLiteral("labels/reports"))}};
}

bool createDataFolder(const QString &dataFolder, const DataSources &sources, QString *error)
{
    if (!QDir().mkpath(dataFolder))
        return fail(error, QStringLiteral("フォルダを作成できません: %1").arg(dataFolder));
    const QString database = QDir(dataFolder).filePath(QStringLiteral("Data.mde"));
    if (!QFileInfo::exists(database) && !buildDatabase(database, sources, error))
        return false;
    for (const QString &folder : sources.copyFolders)
        if (!copyMissingFiles(folder, dataFolder, error))
            return false;
    return true;
}

} // namespace corvane
