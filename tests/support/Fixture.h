#pragma once
#include <QTemporaryDir>
#include <QString>
#include "Outcome.h"
#include "ServerAddress.h"

#include <memory>
#include <optional>

namespace corvane {

class Database;
struct ServerAddress;

// The private PostgreSQL server of this test run (CORVANE_TEST_POSTGRES names its socket
// folder), or nothing: tests then run on the file alone.
std::optional<ServerAddress> testServer();

// A new empty database on the test server, for setting one up as a user would.
std::optional<ServerAddress> emptyServerDatabase(QString *error);

// A fresh program folder for one test: a Data folder built from the repository's sources
// (the real schema, substance master, pictograms and report files), with the application's
// folder pointed at it. When the run has a test server, the folder's database is a fresh
// database on it, set up as corvane-db init does, and the programs under test use it.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();

    bool isValid() const { return m_valid; }
    // The folder's server database, when the run has a test server.
    const std::optional<ServerAddress> &server() const { return m_server; }
    QString error() const { return m_error; }
    QString path() const { return m_dir.path(); }
    QString dataFolder() const;
    QString databasePath() const;
    QString iniPath() const;

    // Opens the folder's database as the program does.
    std::unique_ptr<Database> open() const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    QString m_error;
    std::optional<ServerAddress> m_server;
};

// Skips the rest of a test that is about the embedded file itself, when the run is on a server.
#define SKIP_ON_SERVER()                                                                                               \
    do {                                                                                                               \
        if (corvane::testServer())                                                                                     \
            QSKIP("about the file Data.mde itself");                                                                   \
    } while (false)

// The database an opening function opened, or nullptr with its failure's text in *error.
std::unique_ptr<Database> opened(Result<std::unique_ptr<Database>> result, QString *error);

// A second connection to the same database, as a second program would have.
std::unique_ptr<Database> openAnother(const Database &db, QString *error);

// Runs a statement on the database, failing the test on an error.
void execOrFail(Database &db, const QString &statement);

// The first column of the first row of a query, for checks on the stored data.
QVariant scalar(Database &db, const QString &statement);

// Every row of a query as its values joined by "|", Null shown as <null>: the same text from
// the file and from the server, whose SQL functions for this differ.
QStringList rowsOf(Database &db, const QString &statement);

// Makes every later change of the table's rows (`event`: INSERT, UPDATE or DELETE) fail with
// an engine error, to show that a failure half-way leaves the data as it was.
void failEveryChange(Database &db, const QString &table, const QString &event);

// Undoes failEveryChange.
void stopFailing(Database &db, const QString &table);

// Whether `words` of a library's own (English) text appear in the message only on its line
// marked 詳細, after the Japanese lines.
bool onlyOnTheDetailLine(const QString &message, const QString &words);

// Makes every later write of this connection fail (or work again), to provoke an engine error.
void setReadOnly(Database &db, bool readOnly);

} // namespace corvane
