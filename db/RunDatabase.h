#pragma once
#include "Outcome.h"

#include <QString>

#include <memory>

namespace corvane {

class Database;
struct DataLocation;

// The description of the --database option, the same in every program's --help.
QString databaseOptionHelp();

// The --database URI given on this run's command line; empty: none.
void setDatabaseOption(const QString &uri);

// The server URI this run uses: --database, else the settings file's [database] Uri; empty
// for the user's Data.mde.
QString databaseUri(const DataLocation &location);

// Opens the database of this run: the PostgreSQL database that databaseUri() names, or the
// user's Data.mde (an installed program first copies the template there); the failure names
// the file or the server.
Result<std::unique_ptr<Database>> openRunDatabase(const DataLocation &location);

} // namespace corvane
