#pragma once

namespace corvane {

class Database;

// One database transaction: committed by commit(), rolled back when it goes out of scope
// without it (an error thrown in the middle leaves the data as it was).
class Transaction {
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Database &m_db;
    bool m_open = false;
};

} // namespace corvane
