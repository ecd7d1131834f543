#include "Database.h"

#include "DbError.h"
#include "SqlFailure.h"

#include <QAtomicInt>
#include <QDir>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <libpq-fe.h>

namespace corvane {
namespace {

Database::StatementTimeouts &timeouts()
{
    static Database::StatementTimeouts value;
    return value;
}

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("corvane-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

Database::Database(QSqlDatabase db, QString connection, QString path, std::optional<ServerAddress> server)
    : m_db(std::move(db)), m_connection(std::move(connection)), m_path(std::move(path)), m_server(std::move(server))
{
    if (m_server)
        m_watch = std::make_unique<StatementWatch>();
}

void Database::setStatementTimeouts(const StatementTimeouts &value) { timeouts() = value; }

Database::StatementTimeouts Database::statementTimeouts() { return timeouts(); }

StatementWatch::Guard Database::watchStatement(std::chrono::milliseconds serverLimit)
{
    if (!m_watch)
        return {};
    const QVariant handle = m_db.driver()->handle();
    // The driver's type for the connection, as its metatype names it (struct pg_conn).
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return {};
    PGconn *connection = *static_cast<PGconn *const *>(handle.constData());
    const auto grace = m_answerTimeout - m_serverTimeout;
    return m_watch->watch(PQsocket(connection), std::max(serverLimit, m_serverTimeout) + grace);
}

QString Database::where() const
{
    return m_server ? QStringLiteral("サーバー %1").arg(m_server->describe()) : QDir::toNativeSeparators(m_path);
}

void Database::reconnectIfLost()
{
    if (!m_connectionLost || m_inTransaction)
        return;
    m_db.close();
    if (!m_db.open())
        throw DbError(serverUnreachable(*m_server, m_db.lastError()));
    m_connectionLost = false;
}

Database::~Database() { close(); }

void Database::close()
{
    if (m_connection.isEmpty())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
}

Result<std::unique_ptr<Database>> Database::connectFile(const QString &absolutePath)
{
    const QString connection = nextConnectionName();
    std::unique_ptr<Database> database;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        // mode=rw: opening must never create the file.
        db.setDatabaseName(QUrl::fromLocalFile(absolutePath).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        database.reset(new Database(db, connection, absolutePath, std::nullopt));
    }
    if (!database->sql().open())
        return sqlFailure(database->sql().lastError());
    return database;
}

Result<std::unique_ptr<Database>> Database::connectServer(const ServerAddress &address)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return Failure{QStringLiteral(
            "PostgreSQL のドライバがありません（Debian のパッケージ libqt6sql6-psql を入れてください）。")};
    const QString connection = nextConnectionName();
    std::unique_ptr<Database> database;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setHostName(address.host);
        db.setPort(address.port);
        db.setDatabaseName(address.database);
        db.setUserName(address.user);
        // Never hang without a word: give up connecting after a few seconds, notice a server
        // that went away within about half a minute, wait for a row another PC holds for at
        // most ten seconds, and let no statement run longer than the set time (a server that
        // does not answer at all is given up by the statement watch).
        const StatementTimeouts limits = timeouts();
        db.setConnectOptions(
            QStringLiteral("connect_timeout=5;keepalives=1;keepalives_idle=10;"
                           "keepalives_interval=5;keepalives_count=3;"
                           "options='-c lock_timeout=10000 -c statement_timeout=%1 -c client_min_messages=warning';"
                           "application_name=corvane%2")
                .arg(limits.server.count())
                .arg(address.sslMode.isEmpty() ? QString() : QStringLiteral(";sslmode=") + address.sslMode));
        database.reset(new Database(db, connection, QString(), address));
        database->m_serverTimeout = limits.server;
        database->m_answerTimeout = limits.answer;
    }
    if (!database->sql().open())
        return serverUnreachable(address, database->sql().lastError());
    return database;
}

} // namespace corvane
