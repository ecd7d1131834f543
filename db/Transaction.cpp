#include "Transaction.h"
#include "Database.h"
#include "SqlDialect.h"

#include <QSqlError>
#include <QSqlQuery>

namespace corvane {
namespace {

void execute(Database &db, const QString &statement)
{
    const auto watch = db.watchStatement();
    QSqlQuery query(db.sql());
    if (!query.exec(statement))
        throw dialect::statementFailure(db, query.lastError());
}

} // namespace

Transaction::Transaction(Database &db, Kind kind) : m_db(db)
{
    m_db.reconnectIfLost();
    execute(m_db, kind == Kind::Write ? dialect::beginTransaction(m_db) : dialect::beginReading(m_db));
    m_open = true;
    m_db.setInTransaction(true);
}

Transaction::~Transaction()
{
    if (m_open) {
        const auto watch = m_db.watchStatement();
        QSqlQuery query(m_db.sql());
        query.exec(QStringLiteral("ROLLBACK"));
        m_db.setInTransaction(false);
    }
}

void Transaction::commit()
{
    execute(m_db, QStringLiteral("COMMIT")); // on failure the destructor rolls back
    m_open = false;
    m_db.setInTransaction(false);
}

} // namespace corvane
