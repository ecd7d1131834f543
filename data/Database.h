#pragma once
#include <QSqlDatabase>
#include <QString>

#include <memory>

namespace corvane {

// The one open label database of a run. Opening never creates or changes the file: a
// missing file, a folder of that name, a file that is not a database, a database of the old
// Windows engine, one without the program's tables or one that fails SQLite's quick check
// (naming the newest daily backup) is refused with a Japanese message that names the file.
class Database {
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Returns the open database, or nullptr with the reason in *error.
    static std::unique_ptr<Database> open(const QString &path, QString *error);

    QSqlDatabase &sql() { return m_db; }
    QString path() const { return m_path; }
    void close();

private:
    Database(QSqlDatabase db, QString connection, QString path);

    QSqlDatabase m_db;
    QString m_connection;
    QString m_path;
};

} // namespace corvane
