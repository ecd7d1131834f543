#include "Fixture.h"
#include "Application.h"
#include "DataFolder.h"
#include "Database.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace corvane {

ProgramFolder::ProgramFolder()
{
    m_valid = m_dir.isValid()
              && createDataFolder(dataFolder(), dataSourcesIn(QStringLiteral(CORVANE_SOURCE_DIR)), &m_error);
    Application::setFolder(m_dir.path());
    Application::setExeName(QStringLiteral("corvane"));
}

ProgramFolder::~ProgramFolder()
{
    // A newer folder may have taken over already.
    if (Application::folder() == m_dir.path())
        Application::setFolder(QString());
}

QString ProgramFolder::dataFolder() const { return QDir(m_dir.path()).filePath(QStringLiteral("Data")); }
QString ProgramFolder::databasePath() const { return QDir(dataFolder()).filePath(QStringLiteral("Data.mde")); }
QString ProgramFolder::iniPath() const { return QDir(m_dir.path()).filePath(QStringLiteral("corvane.ini")); }

std::unique_ptr<Database> ProgramFolder::open() const
{
    QString error;
    auto db = Database::open(databasePath(), &error);
    if (!db)
        qWarning("%s", qPrintable(error));
    return db;
}

void execOrFail(Database &db, const QString &statement)
{
    QSqlQuery query(db.sql());
    if (!query.exec(statement))
        QFAIL(qPrintable(query.lastError().text() + QStringLiteral(": ") + statement));
}

QVariant scalar(Database &db, const QString &statement)
{
    QSqlQuery query(db.sql());
    if (!query.exec(statement) || !query.next())
        return QStringLiteral("<no row: %1>").arg(query.lastError().text());
    return query.value(0);
}

} // namespace corvane
