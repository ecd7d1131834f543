#pragma once
#include "Outcome.h"

#include <QString>

#include <chrono>

class QSqlError;

namespace corvane {

struct ServerAddress;

// The file's engine error: a Japanese explanation of the known causes (the file busy in
// another copy of the program, read-only, the disk full, damaged, ...) and the engine's own
// text as the detail.
Failure sqlFailure(const QSqlError &error);

// SQLITE_CORRUPT or SQLITE_NOTADB: the file's pages are not what SQLite wrote.
bool isDamage(const QSqlError &error);

// Why the server could not be reached, naming it.
Failure serverUnreachable(const ServerAddress &address, const QSqlError &error);

// Whether a statement on the server failed because the connection broke.
bool isConnectionFailure(const QSqlError &error);

// A statement on the server `server` (as messages name it) failed: a broken connection, a
// name taken by another PC, a row another PC holds too long, missing rights and a full disk
// are explained; a statement cancelled after `serverLimit` says so.
Failure serverFailure(const QString &server, const QSqlError &error, std::chrono::milliseconds serverLimit);

// No answer came from the server within `waited`, so the statement was cut off.
Failure serverNoAnswer(const QString &server, const QSqlError &error, std::chrono::milliseconds waited);

} // namespace corvane
