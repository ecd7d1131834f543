#include "SchemaUpgrade.h"
#include "Database.h"
#include "SqlFailure.h"
#include "SqlRun.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace corvane {
namespace {

struct Column {
    QString name, type, defaultValue;
    bool notNull = false;
};

QString quoted(const QString &name) { return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"'); }

QStringList names(QSqlQuery query)
{
    QStringList result;
    while (query.next())
        result << query.value(0).toString();
    return result;
}

std::vector<Column> columnsOf(QSqlQuery query)
{
    std::vector<Column> columns;
    while (query.next())
        columns.push_back({query.value(1).toString(), query.value(2).toString(), query.value(4).toString(),
                           query.value(3).toInt() != 0});
    return columns;
}

QSqlQuery must(QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    if (!query.exec(statement))
        throw sqlFailure(query.lastError());
    return query;
}

// The program's schema, built in a database in memory so that the engine itself says what
// each table, column and index is.
class ReferenceSchema {
public:
    explicit ReferenceSchema(const QString &schema)
    {
        static QAtomicInt counter;
        m_connection = QStringLiteral("corvane-schema-%1").arg(counter.fetchAndAddRelaxed(1));
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        m_db.setDatabaseName(QStringLiteral(":memory:"));
        if (!m_db.open())
            throw sqlFailure(m_db.lastError());
        for (const QString &statement : schemaStatements(schema))
            must(m_db, statement);
    }
    ~ReferenceSchema()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
    }
    ReferenceSchema(const ReferenceSchema &) = delete;
    ReferenceSchema &operator=(const ReferenceSchema &) = delete;

    QSqlDatabase &sql() { return m_db; }

    QString createStatement(const QString &table)
    {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"));
        query.addBindValue(table);
        if (!query.exec() || !query.next())
            throw sqlFailure(query.lastError());
        return query.value(0).toString();
    }

private:
    QString m_connection;
    QSqlDatabase m_db;
};

const QString kObjects = QStringLiteral(
    "SELECT name FROM sqlite_master WHERE type = '%1' AND sql IS NOT NULL AND name NOT LIKE 'sqlite_%' ORDER BY rowid");

} // namespace

QStringList schemaStatements(const QString &schema)
{
    QString withoutComments;
    for (const QString &line : schema.split(QLatin1Char('\n')))
        if (!line.trimmed().startsWith(QLatin1String("--")))
            withoutComments += line + QLatin1Char('\n');
    QStringList result;
    for (const QString &statement : withoutComments.split(QLatin1Char(';')))
        if (!statement.trimmed().isEmpty())
            result << statement.trimmed();
    return result;
}

QStringList addMissingSchema(Database &db, const QString &schema)
{
    ReferenceSchema reference(schema);
    const QStringList tables = names(runSql(db, kObjects.arg(QStringLiteral("table"))));
    QStringList added;
    for (const QString &table : names(must(reference.sql(), kObjects.arg(QStringLiteral("table"))))) {
        if (!tables.contains(table, Qt::CaseInsensitive)) {
            runSql(db, reference.createStatement(table));
            continue;
        }
        QStringList present;
        for (const Column &column : columnsOf(runSql(db, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)))))
            present << column.name;
        for (const Column &column : columnsOf(must(reference.sql(), QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table))))) {
            if (present.contains(column.name, Qt::CaseInsensitive))
                continue;
            QString statement = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(quoted(table), quoted(column.name), column.type);
            if (column.notNull)
                statement += QStringLiteral(" NOT NULL");
            if (!column.defaultValue.isEmpty())
                statement += QStringLiteral(" DEFAULT ") + column.defaultValue;
            runSql(db, statement);
            added << table + QLatin1Char('.') + column.name;
        }
    }
    const QStringList indexes = names(runSql(db, kObjects.arg(QStringLiteral("index"))));
    QSqlQuery wanted = must(reference.sql(), QStringLiteral(
        "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL ORDER BY rowid"));
    while (wanted.next())
        if (!indexes.contains(wanted.value(0).toString(), Qt::CaseInsensitive))
            runSql(db, wanted.value(1).toString());
    return added;
}

} // namespace corvane
