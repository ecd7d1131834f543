#pragma once
#include "RunResult.h"

namespace corvane {

class Database;
struct ProgramMaster;
struct ServerAddress;

// Sets up an empty PostgreSQL database for Corvane: the tables, and the program's substance
// master with its list of all target substances, in one transaction. A database that holds
// any table already is refused and left as it is.
RunResult initServerDatabase(const ServerAddress &address, const ProgramMaster &master);

// Copies a Data.mde (products, their entries, the substance master with the user's own
// substances, the company record and the master's version) into an empty server database in
// one transaction, checks that every table holds as many rows as the file, and then brings
// the server's master up to the program's. Names that only the case of Latin letters tells
// apart are refused before anything is written (the server keeps such names unique).
RunResult copyToServer(Database &file, const ServerAddress &address, const ProgramMaster &master);

} // namespace corvane
