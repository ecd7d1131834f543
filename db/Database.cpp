#include "Database.h"

#include "BackupFolder.h"
#include "SqlFailure.h"
#include "DbError.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QAtomicInt>
#include <QSqlDriver>

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

// The old engine's files carry its name at bytes 4 to 18.
bool isOldEngineFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(19).mid(4, 15);
    return head == "Standard Jet DB" || head == "Standard ACE DB";
}

// The first of the tables every label database has that is missing, or nothing. The server
// keeps unquoted names in lower case, so names compare without regard to case.
std::optional<QString> missingTable(const QStringList &tables)
{
    for (const QString &needed : {QStringLiteral("製品情報"), QStringLiteral("ProductItemEntry"),
                                  QStringLiteral("表示物質"), QStringLiteral("会社情報")})
        if (!tables.contains(needed, Qt::CaseInsensitive))
            return needed;
    return std::nullopt;
}

QString failure(const QString &path, const QString &reason)
{
    return QStringLiteral("データベースを開けません。\n%1\n%2").arg(QDir::toNativeSeparators(path), reason);
}

// SQLITE_CORRUPT or SQLITE_NOTADB: the file's pages are not what SQLite wrote.
bool isDamage(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    return code == 11 || code == 26;
}

QString damaged(const QString &path)
{
    const QString backup = newestBackup(path);
    return failure(path, QStringLiteral("Data.mde が壊れています。ファイルはそのままにしてあります。\n")
                             + (backup.isEmpty() ? QStringLiteral("バックアップはありません。")
                                                 : QStringLiteral("最新のバックアップ: %1\n"
                                                                  "プログラムを終了してから、このファイルを Data.mde の代わりに置くと、"
                                                                  "その日の状態に戻せます。")
                                                       .arg(QDir::toNativeSeparators(backup))));
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
    if (!handle.isValid() || (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return {};
    PGconn *connection = *static_cast<PGconn *const *>(handle.constData());
    const auto grace = m_answerTimeout - m_serverTimeout;
    return m_watch->watch(PQsocket(connection), std::max(serverLimit, m_serverTimeout) + grace);
}

QString Database::where() const
{
    return m_server ? QStringLiteral("サーバー %1").arg(m_server->describe()) : QDir::toNativeSeparators(m_path);
}

bool Database::hasColumn(const QString &table, const QString &column)
{
    const QString key = table + QLatin1Char('.') + column.toLower();
    if (m_knownColumns.contains(key))
        return true;
    QSqlQuery query(m_db);
    const auto watch = watchStatement();
    // pg_attribute, not information_schema: the view takes tens of milliseconds to ask.
    query.prepare(m_server ? QStringLiteral("SELECT count(*) FROM pg_attribute WHERE attrelid = to_regclass(?) "
                                            "AND attname = lower(?) AND NOT attisdropped")
                           : QStringLiteral("SELECT count(*) FROM pragma_table_info(?) WHERE lower(name) = lower(?)"));
    query.addBindValue(table);
    query.addBindValue(column);
    if (!query.exec() || !query.next())
        throw sqlFailure(*this, query.lastError());
    const bool present = query.value(0).toInt() > 0;
    if (present)
        m_knownColumns.insert(key);
    return present;
}

void Database::reconnectIfLost()
{
    if (!m_connectionLost || m_inTransaction)
        return;
    m_db.close();
    if (!m_db.open())
        throw DbError(serverUnreachable(*m_server, m_db.lastError()).toStdString());
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

std::unique_ptr<Database> Database::open(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        *error = failure(path, QStringLiteral("この名前はファイルではなくフォルダです。"));
        return nullptr;
    }
    if (!info.exists() || !info.isFile()) {
        *error = failure(path, QStringLiteral("ファイルが見つかりません。"));
        return nullptr;
    }
    if (isOldEngineFile(path)) {
        *error = failure(path, QStringLiteral("古い形式（Access）のデータベースです。"
                                              "このプログラムで使うには変換が必要です。"));
        return nullptr;
    }

    const QString connection = nextConnectionName();
    std::unique_ptr<Database> database;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        // mode=rw: opening must never create the file.
        db.setDatabaseName(QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded)
                           + QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        database.reset(new Database(db, connection, info.absoluteFilePath(), std::nullopt));
    }
    QSqlDatabase &db = database->sql();
    if (!db.open()) {
        *error = failure(path, sqlFailureText(db.lastError()));
        return nullptr;
    }
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        *error = isDamage(query.lastError()) ? damaged(path) : failure(path, sqlFailureText(query.lastError()));
        return nullptr;
    }
    QStringList tables;
    while (query.next())
        tables << query.value(0).toString();
    if (const auto missing = missingTable(tables)) {
        *error = failure(path, QStringLiteral("表「%1」がありません。").arg(*missing));
        return nullptr;
    }
    // A damaged page would otherwise show up later as a failed save or a short list.
    if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
        *error = isDamage(query.lastError()) ? damaged(path) : failure(path, sqlFailureText(query.lastError()));
        return nullptr;
    }
    if (!query.next() || query.value(0).toString() != QLatin1String("ok")) {
        *error = damaged(path);
        return nullptr;
    }
    return database;
}

std::unique_ptr<Database> Database::openServer(const ServerAddress &address, QString *error, bool requireTables)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        *error = QStringLiteral("PostgreSQL のドライバがありません（Debian のパッケージ libqt6sql6-psql を入れてください）。");
        return nullptr;
    }
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
        db.setConnectOptions(QStringLiteral("connect_timeout=5;keepalives=1;keepalives_idle=10;"
                                            "keepalives_interval=5;keepalives_count=3;"
                                            "options='-c lock_timeout=10000 -c statement_timeout=%1 -c client_min_messages=warning';"
                                            "application_name=corvane%2")
                                 .arg(limits.server.count())
                                 .arg(address.sslMode.isEmpty() ? QString() : QStringLiteral(";sslmode=") + address.sslMode));
        database.reset(new Database(db, connection, QString(), address));
        database->m_serverTimeout = limits.server;
        database->m_answerTimeout = limits.answer;
    }
    QSqlDatabase &db = database->sql();
    if (!db.open()) {
        *error = serverUnreachable(address, db.lastError());
        return nullptr;
    }
    if (!requireTables)
        return database;
    QSqlQuery query(db);
    const auto watch = database->watchStatement();
    if (!query.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = current_schema()"))) {
        *error = serverUnreachable(address, query.lastError());
        return nullptr;
    }
    QStringList tables;
    while (query.next())
        tables << query.value(0).toString();
    if (const auto missing = missingTable(tables)) {
        *error = QStringLiteral("データベースを開けません。\nサーバー %1\n表「%2」がありません。"
                                "corvane-db init で準備してください。")
                     .arg(address.describe(), *missing);
        return nullptr;
    }
    return database;
}

} // namespace corvane
