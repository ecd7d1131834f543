#pragma once
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
// database on a server that several PCs share. Opening never creates or changes anything: a
// missing file, a folder of that name, a file that is not a database, a database of the old
// Windows engine, one without the program's tables or one that fails SQLite's quick check
// (naming the newest daily backup), or a server that cannot be reached within a few seconds,
// is refused with a Japanese message that names the file or the server.
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

    // Returns the open database, or nullptr with the reason in *error.
    static std::unique_ptr<Database> open(const QString &path, QString *error);

    // The database on a server. `requireTables` false: an empty database (for setting one up).
    static std::unique_ptr<Database> openServer(const ServerAddress &address, QString *error,
                                                bool requireTables = true);

    QSqlDatabase &sql() { return m_db; }
    Dialect dialect() const { return m_server ? Dialect::Postgres : Dialect::Sqlite; }
    // The file's path; empty for a server database.
    QString path() const { return m_path; }
    // The server's address, for a server database.
    const std::optional<ServerAddress> &server() const { return m_server; }
    // The file or the server, as messages name it.
    QString where() const;
    void close();

    // Whether the table has the column. Columns are only ever added, so a column once seen is
    // remembered and not looked up again.
    bool hasColumn(const QString &table, const QString &column);

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
