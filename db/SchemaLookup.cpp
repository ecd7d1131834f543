#include "SchemaLookup.h"
#include "Database.h"
#include "SqlDialect.h"
#include "SqlRun.h"

#include <QSqlError>

namespace corvane {

QStringList tableNames(Database &db)
{
    QSqlQuery query = runSql(db, dialect::selectTableNames(db));
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

bool tableExists(Database &db, const QString &table) { return tableNames(db).contains(table, Qt::CaseInsensitive); }

QHash<QString, QStringList> columnsByTable(Database &db)
{
    QSqlQuery query = runSql(db, dialect::selectColumns(db));
    QHash<QString, QStringList> columns;
    while (query.next())
        columns[query.value(0).toString().toLower()] << query.value(1).toString();
    return columns;
}

QStringList columnNames(Database &db, const QString &table) { return columnsByTable(db).value(table.toLower()); }

bool hasColumn(Database &db, const QString &table, const QString &column)
{
    const QString key = (table + QLatin1Char('.') + column).toLower();
    if (db.knowsColumn(key))
        return true;
    QSqlQuery query = runSql(db, dialect::countColumn(db), {table, column});
    if (!query.next())
        throw dialect::statementFailure(db, query.lastError());
    const bool present = query.value(0).toInt() > 0;
    if (present)
        db.rememberColumn(key);
    return present;
}

} // namespace corvane
