#include "SqlRun.h"
#include "Database.h"
#include "SqlFailure.h"

#include <QSqlError>

namespace corvane {

QSqlQuery runSql(Database &db, const QString &statement, const QVariantList &values)
{
    QSqlQuery query(db.sql());
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        throw sqlFailure(query.lastError());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw sqlFailure(query.lastError());
    return query;
}

} // namespace corvane
