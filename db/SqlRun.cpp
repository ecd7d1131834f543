#include "SqlRun.h"
#include "Database.h"
#include "SqlDialect.h"

#include <QSqlError>

namespace corvane {

QSqlQuery runSql(Database &db, const QString &statement, const QVariantList &values,
                 std::chrono::milliseconds serverLimit)
{
    db.reconnectIfLost();
    const auto watch = db.watchStatement(serverLimit);
    QSqlQuery query(db.sql());
    query.setForwardOnly(dialect::forwardOnly(db));
    // The server can prepare only queries and changes of rows: a statement without values
    // (creating a table, taking a lock) runs as it is.
    if (values.isEmpty()) {
        if (!query.exec(statement))
            throw dialect::statementFailure(db, query.lastError());
        return query;
    }
    if (!query.prepare(statement))
        throw dialect::statementFailure(db, query.lastError());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw dialect::statementFailure(db, query.lastError());
    return query;
}

} // namespace corvane
