#pragma once
#include <QString>
#include <QStringList>

namespace corvane {

class Database;

// The SQL statements of a schema file, split at semicolons, comment lines left out.
QStringList schemaStatements(const QString &schema);

// The tables ("table") and columns ("table.column") of the program's schema (schema.sql; a
// server's schema has the same tables and columns) that the database, file or server, lacks.
// Only reads; throws DbError on a failure of the engine.
QStringList missingColumns(Database &db, const QString &schema);

// Brings an existing database file up to the program's schema: creates the tables and
// indexes it lacks and adds the columns its tables lack (with their types and defaults).
// Nothing is ever dropped or renamed. Returns the columns added, as "table.column". Runs
// inside the caller's transaction; throws DbError on a failure of the engine.
QStringList addMissingFileSchema(Database &db, const QString &schema);

// The same for a database on a server, from the server's schema file: its tables, columns,
// functions and indexes.
QStringList addMissingServerSchema(Database &db, const QString &serverSchema);

} // namespace corvane
