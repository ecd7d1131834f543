#include "SqlRun.h"
#include "Database.h"
#include "SqlFailure.h"

#include <QSqlError>

namespace corvane {

QSqlQuery runSql(Database &db, const QString &statement, const QVariantList &values, std::chrono::milliseconds serverLimit)
{
    db.reconnectIfLost();
    const auto watch = db.watchStatement(serverLimit);
    QSqlQuery query(db.sql());
    // Forward only saves the file's driver a copy of each row; the server's driver would
    // instead fetch the rows one at a time, a round trip each.
    query.setForwardOnly(!db.server());
    // The server can prepare only queries and changes of rows: a statement without values
    // (creating a table, taking a lock) runs as it is.
    if (values.isEmpty()) {
        if (!query.exec(statement))
            throw sqlFailure(db, query.lastError());
        return query;
    }
    if (!query.prepare(statement))
        throw sqlFailure(db, query.lastError());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw sqlFailure(db, query.lastError());
    return query;
}

} // namespace corvane
