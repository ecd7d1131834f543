#pragma once
#include "DbError.h"

#include <QString>

#include <cstddef>

class QSqlError;

namespace corvane {

class Database;

// Where the embedded file and the server speak different SQL: every such difference lives
// here and, for the steps that run statements of their own (built on runSql and Transaction,
// which build on this file), in DialectSteps.h. Nothing else asks which engine it talks to.
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

// Whether a query reads its rows forward only: that saves the file's driver a copy of each
// row; the server's driver would instead fetch the rows one at a time, a round trip each.
bool forwardOnly(const Database &db);

// A failed statement as the DbError to throw. On a server: a broken connection or a server
// that stopped answering names the server (and the database reconnects before its next
// transaction).
DbError statementFailure(Database &db, const QSqlError &error);

// The statement that lists the names of the database's tables (on the server: of its
// current schema), as stored, in the order of their names.
QString selectTableNames(const Database &db);

// The statement that lists the columns of every table, as (table, column) rows in the
// tables' order (on the server: ASCII letters in lower case).
QString selectColumns(const Database &db);

// The statement that counts the columns of the bound table with the bound name (0 or 1).
QString countColumn(const Database &db);

} // namespace dialect
} // namespace corvane
