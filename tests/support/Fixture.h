#pragma once
#include <QTemporaryDir>
#include <QString>

#include <memory>

namespace corvane {

class Database;

// A fresh program folder for one test: a Data folder built from the repository's sources
// (the real schema, substance master, pictograms and report files), with the application's
// folder pointed at it.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();

    bool isValid() const { return m_valid; }
    QString error() const { return m_error; }
    QString path() const { return m_dir.path(); }
    QString dataFolder() const;
    QString databasePath() const;
    QString iniPath() const;

    // Opens the folder's Data.mde as the program does.
    std::unique_ptr<Database> open() const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    QString m_error;
};

// Runs a statement on the database, failing the test on an error.
void execOrFail(Database &db, const QString &statement);

// The first column of the first row of a query, for checks on the stored data.
QVariant scalar(Database &db, const QString &statement);

} // namespace corvane
