#pragma once
#include "DbError.h"

#include <QString>

class QSqlError;

namespace corvane {

// The engine's error as a DbError: its own text, after a Japanese explanation of the common
// causes (the file busy in another copy of the program, read-only, the disk full, damaged).
DbError sqlFailure(const QSqlError &error);

// The same explanation and text as a message line.
QString sqlFailureText(const QSqlError &error);

} // namespace corvane
