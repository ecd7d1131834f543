#include "DataFolder.h"
#include "Database.h"
#include "DbError.h"
#include "MasterWrite.h"
#include "OpenDatabase.h"
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

// Creates the tables in a new file and fills them with the master, as an update would fill
// an empty database: one code path writes the master's rows for the build and for updates.
Outcome fillDatabase(const QString &file, const ProgramMaster &master)
{
    const QString connection = QStringLiteral("corvane-build-") + file;
    Outcome created;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        if (!db.open())
            created = Outcome::failed(db.lastError().text());
        QSqlQuery query(db);
        for (const QString &statement : schemaStatements(master.schema))
            if (created && !query.exec(statement))
                created = Outcome::failed(query.lastError().text());
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!created)
        return created;

    const auto db = openDatabaseFile(file);
    if (!db)
        return db.failure();
    try {
        Transaction transaction(**db);
        writeProgramMaster(**db, master);
        transaction.commit();
    } catch (const DbError &failure) {
        return failure.failure();
    }
    return {};
}

Outcome buildDatabase(const QString &target, const DataSources &sources)
{
    const auto master = loadMaster(sources.masterFolder, sources.schemaFile);
    if (!master)
        return master.failure();
    const QString temporary = target + QStringLiteral(".new");
    QFile::remove(temporary);
    Outcome filled = fillDatabase(temporary, *master);
    if (filled && !QFile::rename(temporary, target))
        filled = Outcome::failed(QStringLiteral("ファイルを書き込めません: %1").arg(target));
    if (!filled)
        QFile::remove(temporary);
    return filled;
}

Outcome copyMissingFiles(const QString &sourceFolder, const QString &dataFolder)
{
    const QDir source(sourceFolder);
    for (const QFileInfo &file : source.entryInfoList(QDir::Files)) {
        const QString target = QDir(dataFolder).filePath(file.fileName());
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::copy(file.absoluteFilePath(), target))
            return Outcome::failed(QStringLiteral("ファイルを書き込めません: %1").arg(target));
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return {};
}

} // namespace

DataSources dataSourcesIn(const QString &sourceRoot)
{
    const QDir root(sourceRoot);
    return {root.filePath(QStringLiteral("data/schema.sql")),
            root.filePath(QStringLiteral("data/master")),
            {root.filePath(QStringLiteral("data/pictograms")), root.filePath(QStringLiteral("labels/reports"))}};
}

Outcome createDataFolder(const QString &dataFolder, const DataSources &sources)
{
    if (!QDir().mkpath(dataFolder))
        return Outcome::failed(QStringLiteral("フォルダを作成できません: %1").arg(dataFolder));
    const QString database = QDir(dataFolder).filePath(QStringLiteral("Data.mde"));
    if (!QFileInfo::exists(database))
        if (Outcome built = buildDatabase(database, sources); !built)
            return built;
    for (const QString &folder : sources.copyFolders)
        if (Outcome copied = copyMissingFiles(folder, dataFolder); !copied)
            return copied;
    return {};
}

} // namespace corvane
