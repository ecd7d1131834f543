#pragma once

namespace corvane {

class Database;

// One database transaction: committed by commit(), rolled back when it goes out of scope
// without it (an error thrown in the middle leaves the data as it was).
class Transaction {
public:
    // Write: takes the file's write lock at once. Read: one consistent view of the data for
    // several statements; other programs' saves wait for it (file) or stay unseen (server).
    enum class Kind { Write, Read };

    explicit Transaction(Database &db, Kind kind = Kind::Write);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Database &m_db;
    bool m_open = false;
};

} // namespace corvane
