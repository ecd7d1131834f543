#include "Fixture.h"
#include "Application.h"
#include "DataFolder.h"
#include "Database.h"
#include "OpenDatabase.h"
#include "ProgramMaster.h"
#include "RunDatabase.h"
#include "ServerSetup.h"
#include "SqlRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace corvane {

std::optional<ServerAddress> testServer()
{
    const QString socketFolder = qEnvironmentVariable("CORVANE_TEST_POSTGRES");
    if (socketFolder.isEmpty())
        return std::nullopt;
    return ServerAddress{QStringLiteral("corvane"), socketFolder, 5432, QStringLiteral("postgres"), {}};
}

namespace {

// Runs one statement on the server's maintenance database (CREATE and DROP DATABASE cannot
// run on the database they are about).
bool onMaintenance(const QString &statement, QString *error)
{
    const auto db = openServerDatabase(*testServer(), false);
    if (!db) {
        *error = db.errorText();
        return false;
    }
    try {
        runSql(**db, statement);
    } catch (const std::exception &failure) {
        *error = QString::fromStdString(failure.what());
        return false;
    }
    return true;
}

// A database set up as corvane-db init does with the repository's master, once per test
// program; every folder's database is a copy of it, which is much faster than loading the
// master again.
QString templateDatabase(QString *error)
{
    static QString name;
    if (!name.isEmpty())
        return name;
    const QString candidate = QStringLiteral("corvane_template_%1").arg(QCoreApplication::applicationPid());
    const DataSources sources = dataSourcesIn(QStringLiteral(CORVANE_SOURCE_DIR));
    const auto master = loadMaster(sources.masterFolder, sources.schemaFile);
    if (!master) {
        *error = master.errorText();
        return {};
    }
    if (!onMaintenance(QStringLiteral("CREATE DATABASE %1").arg(candidate), error))
        return {};
    const RunResult init = initServerDatabase(testServer()->withDatabase(candidate), *master);
    if (!init.outcome) {
        *error = init.outcome.errorText();
        return {};
    }
    name = candidate;
    return name;
}

// Building a Data folder from the sources reads and checks the whole master and writes it (a
// second or more with some 3,400 substances): each test program builds it once and every
// folder gets a copy.
bool copyOfBuiltDataFolder(const QString &target, QString *error)
{
    static QTemporaryDir built;
    static const Outcome created = built.isValid()
                                       ? createDataFolder(QDir(built.path()).filePath(QStringLiteral("Data")),
                                                          dataSourcesIn(QStringLiteral(CORVANE_SOURCE_DIR)))
                                       : Outcome::failed(QStringLiteral("cannot build the Data folder"));
    if (!created) {
        *error = created.errorText();
        return false;
    }
    const QDir source(QDir(built.path()).filePath(QStringLiteral("Data")));
    if (!QDir().mkpath(target)) {
        *error = QStringLiteral("cannot create %1").arg(target);
        return false;
    }
    for (const QFileInfo &file : source.entryInfoList(QDir::Files))
        if (!QFile::copy(file.absoluteFilePath(), QDir(target).filePath(file.fileName()))) {
            *error = QStringLiteral("cannot copy %1").arg(file.fileName());
            return false;
        }
    return true;
}

} // namespace

std::optional<ServerAddress> emptyServerDatabase(QString *error)
{
    static int count = 0;
    const QString name = QStringLiteral("corvane_empty_%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
    if (!onMaintenance(QStringLiteral("CREATE DATABASE %1").arg(name), error))
        return std::nullopt;
    return testServer()->withDatabase(name);
}

ProgramFolder::ProgramFolder()
{
    m_valid = m_dir.isValid() && copyOfBuiltDataFolder(dataFolder(), &m_error);
    Application::setFolder(m_dir.path());
    if (!m_valid || !testServer())
        return;
    static int folders = 0;
    const QString name = QStringLiteral("corvane_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++folders);
    const QString from = templateDatabase(&m_error);
    m_valid =
        !from.isEmpty() && onMaintenance(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(name, from), &m_error);
    if (!m_valid)
        return;
    m_server = testServer()->withDatabase(name);
    setDatabaseOption(m_server->uri());
}

ProgramFolder::~ProgramFolder()
{
    // A newer folder may have taken over already.
    if (Application::folder() == m_dir.path())
        Application::setFolder(QString());
    if (m_server) {
        setDatabaseOption(QString());
        QString error;
        onMaintenance(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_server->database), &error);
    }
}

QString ProgramFolder::dataFolder() const { return QDir(m_dir.path()).filePath(QStringLiteral("Data")); }
QString ProgramFolder::databasePath() const { return QDir(dataFolder()).filePath(QStringLiteral("Data.mde")); }
QString ProgramFolder::iniPath() const { return QDir(m_dir.path()).filePath(QStringLiteral("corvane.ini")); }

std::unique_ptr<Database> ProgramFolder::open() const
{
    QString error;
    auto db = opened(m_server ? openServerDatabase(*m_server) : openDatabaseFile(databasePath()), &error);
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

namespace corvane {

std::unique_ptr<Database> openAnother(const Database &db, QString *error)
{
    return opened(db.server() ? openServerDatabase(*db.server()) : openDatabaseFile(db.path()), error);
}

std::unique_ptr<Database> opened(Result<std::unique_ptr<Database>> result, QString *error)
{
    if (!result) {
        *error = result.errorText();
        return nullptr;
    }
    return std::move(*result);
}

QStringList rowsOf(Database &db, const QString &statement)
{
    QSqlQuery query(db.sql());
    if (!query.exec(statement))
        return {QStringLiteral("<error: %1>").arg(query.lastError().text())};
    QStringList rows;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i)
            values << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

void failEveryChange(Database &db, const QString &table, const QString &event)
{
    if (!db.server()) {
        execOrFail(
            db, QStringLiteral("CREATE TRIGGER fail BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, 'injected failure'); END")
                    .arg(event, table));
        return;
    }
    execOrFail(db, QStringLiteral("CREATE FUNCTION fail() RETURNS trigger LANGUAGE plpgsql AS "
                                  "'BEGIN RAISE EXCEPTION ''injected failure''; END'"));
    execOrFail(
        db,
        QStringLiteral("CREATE TRIGGER fail BEFORE %1 ON %2 FOR EACH ROW EXECUTE FUNCTION fail()").arg(event, table));
}

void stopFailing(Database &db, const QString &table)
{
    execOrFail(db, db.server() ? QStringLiteral("DROP TRIGGER fail ON %1").arg(table)
                               : QStringLiteral("DROP TRIGGER fail"));
}

void setReadOnly(Database &db, bool readOnly)
{
    const QString on = readOnly ? QStringLiteral("ON") : QStringLiteral("OFF");
    execOrFail(db, db.server() ? QStringLiteral("SET default_transaction_read_only = %1").arg(on)
                               : QStringLiteral("PRAGMA query_only = %1").arg(on));
}

bool onlyOnTheDetailLine(const QString &message, const QString &words)
{
    const QStringList lines = message.split(QLatin1Char('\n'));
    bool seen = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool detail = lines[i].startsWith(QStringLiteral("詳細: "));
        if (lines[i].contains(words, Qt::CaseInsensitive) && (!detail || i == 0))
            return false;
        seen = seen || (detail && lines[i].contains(words, Qt::CaseInsensitive));
    }
    return seen;
}

} // namespace corvane
