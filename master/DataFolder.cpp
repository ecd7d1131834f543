#include "DataFolder.h"
#include "Database.h"
#include "DbError.h"
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

} // namespace

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
