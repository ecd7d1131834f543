#include "Transaction.h"
#include "Database.h"
#include "SqlFailure.h"

#include <QSqlError>
#include <QSqlQuery>

namespace corvane {
namespace {

void execute(Database &db, const QString &statement)
{
    QSqlQuery query(db.sql());
    if (!query.exec(statement))
        throw sqlFailure(query.lastError());
}

} // namespace

// IMMEDIATE takes the write lock at once, so a second copy of the program waits (busy
// timeout) instead of failing half-way through.
Transaction::Transaction(Database &db) : m_db(db)
{
    execute(m_db, QStringLiteral("BEGIN IMMEDIATE"));
    m_open = true;
}

Transaction::~Transaction()
{
    if (m_open) {
        QSqlQuery query(m_db.sql());
        query.exec(QStringLiteral("ROLLBACK"));
    }
}

void Transaction::commit()
{
    execute(m_db, QStringLiteral("COMMIT"));
    m_open = false;
}

} // namespace corvane
