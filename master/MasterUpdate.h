#pragma once
#include "RunResult.h"

#include <QDateTime>

namespace corvane {

class Database;
struct ProgramMaster;

// The master version the database holds: empty for a file made by the first release (no
// version table). Throws DbError.
QString storedMasterVersion(Database &db);

// Brings the database's substance master up to the program's when it is older: backs the
// file up beside it (Data/backup/) and checks the copy, then in one transaction adds the
// tables and columns the file lacks, replaces the master's rows (numbers kept, the user's own
// rows left alone), rewrites the list of all target substances and records the version.
// Products, their entries and the company row are not touched. On any failure nothing is
// changed and the result says why. A newer database master is kept, with a notice. On a
// server the update is not copied to a file (the server has its own backups) and takes a
// lock, so PCs starting at the same time update it once.
RunResult updateMaster(Database &db, const ProgramMaster &master, const QDateTime &now);

// updateMaster with the master compiled into the program, for every program that opens the
// database.
RunResult updateMasterAtStartUp(Database &db);

// The result as one message for the user, empty when there is nothing to say.
QString masterUpdateMessage(const RunResult &result);

} // namespace corvane
