#pragma once
#include <QString>
#include <QStringList>

#include <cstddef>

namespace corvane {

class Database;

// Where the embedded file and the server speak different SQL: every such difference lives here.
namespace dialect {

// Starts a write transaction. The file takes its write lock at once, so a second copy of the
// program waits (busy timeout) instead of failing half-way; the server locks rows and tables
// as the statements need them.
QString beginTransaction(const Database &db);

// Starts a transaction that only reads, seeing one state of the data throughout.
QString beginReading(const Database &db);

// Appended to a SELECT inside a write transaction: on the server the row stays locked until
// the transaction ends, so two PCs cannot both read the same revision and both write.
QString forUpdate(const Database &db);

// The condition "製品名 equals the bound name", ignoring the case of Latin letters only.
QString sameProductName(const Database &db);

// How many rows one INSERT of product entries carries: on the file one prepared statement
// reused row by row is fastest; on a server every statement is a round trip, so many rows.
size_t rowsPerInsert(const Database &db);

// Inside a write transaction: no other PC writes the table until it ends (on the file the
// transaction holds the whole file already).
void lockTable(Database &db, const QString &table);

// Inside a write transaction: one PC at a time updates the substance master.
void lockMasterUpdate(Database &db);

// The names of the database's tables (on the server: of its current schema), as stored.
QStringList tableNames(Database &db);

bool tableExists(Database &db, const QString &table);

// The table's column names, in their order (on the server: ASCII letters in lower case).
QStringList columnNames(Database &db, const QString &table);

} // namespace dialect
} // namespace corvane
