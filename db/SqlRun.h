#pragma once
#include <QSqlQuery>
#include <QVariantList>

#include <chrono>

namespace corvane {

class Database;

// Runs one statement with its values bound as parameters; a failure of the engine is thrown
// as DbError with a Japanese explanation. On a server the statement is bounded in time
// (Database::watchStatement); `serverLimit` for one the server was told to allow longer.
QSqlQuery runSql(Database &db, const QString &statement, const QVariantList &values = {},
                 std::chrono::milliseconds serverLimit = {});

} // namespace corvane
