#pragma once
#include <QSqlQuery>
#include <QVariantList>

namespace corvane {

class Database;

// Runs one statement with its values bound as parameters; a failure of the engine is thrown
// as DbError with a Japanese explanation.
QSqlQuery runSql(Database &db, const QString &statement, const QVariantList &values = {});

} // namespace corvane
