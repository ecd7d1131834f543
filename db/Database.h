#pragma once
#include "Outcome.h"
#include "ServerAddress.h"
#include "StatementWatch.h"

#include <QSet>
#include <QSqlDatabase>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace corvane {

// The one open label database of a run: the embedded file Data.mde, or a PostgreSQL
// database on a server that several PCs share. OpenDatabase.h opens one with the checks a
// program needs; the connections here are the bare ones.
class Database {
public:
    enum class Dialect { Sqlite, Postgres };

    // How long a statement on a server may take: the server cancels it after `server`; when
    // no answer at all has come after `answer` (the server stopped), this side gives up.
    struct StatementTimeouts {
        std::chrono::milliseconds server{30000};
        std::chrono::milliseconds answer{35000};
    };
    // For the server connections opened after the call (tests shorten them).
    static void setStatementTimeouts(const StatementTimeouts &timeouts);
    static StatementTimeouts statementTimeouts();

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // A connection to the database file at that absolute path, which must exist (it is never
    // created); the failure says why in the engine's words.
    static Result<std::unique_ptr<Database>> connectFile(const QString &absolutePath);

    // A connection to the database on a server, or why the server cannot be reached.
    static Result<std::unique_ptr<Database>> connectServer(const ServerAddress &address);

    QSqlDatabase &sql() { return m_db; }
    Dialect dialect() const { return m_server ? Dialect::Postgres : Dialect::Sqlite; }
    // The file's path; empty for a server database.
    QString path() const { return m_path; }
    // The server's address, for a server database.
    const std::optional<ServerAddress> &server() const { return m_server; }
    // The file or the server, as messages name it.
    QString where() const;
    void close();

    // Columns are only ever added, so a column once seen ("table.column", lower case) is
    // remembered and not looked up again.
    bool knowsColumn(const QString &key) const { return m_knownColumns.contains(key); }
    void rememberColumn(const QString &key) { m_knownColumns.insert(key); }

    // A statement failed because the connection to the server broke. The next transaction
    // connects again first, so the program can go on once the server is back.
    void markConnectionLost() { m_connectionLost = true; }
    // Connects again after a lost connection, never inside a transaction (its statements
    // must not go on in a new session); throws DbError naming the server when it fails.
    void reconnectIfLost();
    void setInTransaction(bool open) { m_inTransaction = open; }

    // Bounds the statements run while the guard lives (on a server; nothing on the file).
    // `serverLimit`: a statement the server itself allows longer than usual (SET LOCAL
    // statement_timeout) is given that much more time here too.
    [[nodiscard]] StatementWatch::Guard watchStatement(std::chrono::milliseconds serverLimit = {});
    // Whether the last statement got no answer in time and was cut off (then the connection
    // is lost), and forgets it.
    bool takeNoAnswer() { return m_watch && m_watch->takeCutOff(); }
    std::chrono::milliseconds serverTimeout() const { return m_serverTimeout; }
    std::chrono::milliseconds answerTimeout() const { return m_answerTimeout; }

private:
    Database(QSqlDatabase db, QString connection, QString path, std::optional<ServerAddress> server);

    QSqlDatabase m_db;
    QString m_connection;
    QString m_path;
    std::optional<ServerAddress> m_server;
    QSet<QString> m_knownColumns;
    bool m_connectionLost = false;
    bool m_inTransaction = false;
    std::chrono::milliseconds m_serverTimeout{};
    std::chrono::milliseconds m_answerTimeout{};
    std::unique_ptr<StatementWatch> m_watch; // on a server
};

} // namespace corvane
