#pragma once
#include "DbError.h"

#include <QString>

class QSqlError;

namespace corvane {

class Database;
struct ServerAddress;

// The engine's error as a DbError: a Japanese explanation of the known causes (the file busy
// in another copy of the program, read-only, the disk full, damaged, ...), then the engine's
// own text on a line of its own marked 詳細.
DbError sqlFailure(const QSqlError &error);

// The same explanation and text as a message line.
QString sqlFailureText(const QSqlError &error);

// A failure of a statement on that database. On a server: a broken connection names the
// server (and the database reconnects before its next transaction); a name taken by another
// PC, a row another PC holds too long, missing rights and a full disk are explained.
DbError sqlFailure(Database &db, const QSqlError &error);

// Why the server could not be reached, naming it.
QString serverUnreachable(const ServerAddress &address, const QSqlError &error);

} // namespace corvane
