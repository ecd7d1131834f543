#pragma once
#include "RunResult.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace corvane {

class Database;
struct ProgramMaster;

// A newer edition of the government's lists applied to the master a database holds (the
// yearly update): NITE's list, and optionally MHLW's lists of substances to be labelled (when
// none is given, the legal columns stay as they are).
//
// Without `apply` nothing is written: the notices list what would change, substances added,
// and per substance the classes whose category or organs change (old → new), and the
// substances the list no longer has (they are kept). With `apply` the change goes in as the
// program's master updates do: the database is backed up and checked, then written in one
// transaction; the user's own rows are left alone and counted; products are not touched;
// every substance keeps its number (matched by NITE's ID, then CAS RN), new ones follow the
// highest number.
//
// Refused, with nothing changed: a file that is not such a list, and a NITE list older than
// the one the database's master was made from.
RunResult updateFromGovernment(Database &db, const ProgramMaster &master, const QString &niteFile,
                               const QStringList &legalFiles, bool apply, const QDateTime &now);

} // namespace corvane
