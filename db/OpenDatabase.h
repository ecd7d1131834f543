#pragma once
#include "Outcome.h"

#include <QString>

#include <memory>

namespace corvane {

class Database;
struct ServerAddress;

// Opening never creates or changes anything: a missing file, a folder of that name, a file
// that is not a database, a database of the old Windows engine, one without the program's
// tables or one that fails SQLite's quick check (naming the newest daily backup), or a server
// that cannot be reached within a few seconds, is refused with a Japanese message that names
// the file or the server.

// The database file Data.mde at that path.
Result<std::unique_ptr<Database>> openDatabaseFile(const QString &path);

// The database on a server. `requireTables` false: an empty database (for setting one up).
Result<std::unique_ptr<Database>> openServerDatabase(const ServerAddress &address, bool requireTables = true);

} // namespace corvane
