#pragma once

namespace corvane {

class Database;
struct ProgramMaster;

struct MasterChanges {
    int added = 0;     // substances the database did not hold
    int changed = 0;   // substances whose data differ from the stored row
    int userOwned = 0; // the user's own rows, left as they were
    int newerList = 0; // rows made from a newer government list than the program's, kept
};

// Writes the program's master into the database's 表示物質: each substance into the row that
// holds its master number (replaced in place, the number kept), a substance the database
// lacks after the highest number (or into the row a newer government list already brought it
// to, found by NITE's ID); the user's own rows are left alone, and so is a row made from a
// newer government list than the program's master (the user applied it). Then rewrites the list
// of all target substances and records the master's version. Runs inside the caller's
// transaction; throws DbError.
MasterChanges writeProgramMaster(Database &db, const ProgramMaster &master);

} // namespace corvane
