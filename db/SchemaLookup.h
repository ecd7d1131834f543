#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

namespace corvane {

class Database;

// What tables and columns the database has, asked of its engine. The server keeps unquoted
// names in lower case, so names compare without regard to case. Throws DbError.

// The names of the database's tables (on the server: of its current schema), as stored.
QStringList tableNames(Database &db);

bool tableExists(Database &db, const QString &table);

// Every table's column names in their order, keyed by the table's name in lower case.
QHash<QString, QStringList> columnsByTable(Database &db);

// The table's column names, in their order.
QStringList columnNames(Database &db, const QString &table);

// Whether the table has the column; a column once seen is not looked up again.
bool hasColumn(Database &db, const QString &table, const QString &column);

} // namespace corvane
