#include "SchemaUpgrade.h"
#include "DbError.h"
#include "SchemaLookup.h"
#include "SqlFailure.h"
#include "SqlRun.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QRegularExpression>

namespace corvane {
namespace {

struct Column {
    QString name, type, defaultValue;
    bool notNull = false;
};

QString quoted(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

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
        throw DbError(sqlFailure(query.lastError()));
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
            throw DbError(sqlFailure(m_db.lastError()));
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
            throw DbError(sqlFailure(query.lastError()));
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

QStringList missingColumns(Database &db, const QString &schema)
{
    ReferenceSchema reference(schema);
    const QHash<QString, QStringList> present = columnsByTable(db);
    QStringList missing;
    for (const QString &table : names(must(reference.sql(), kObjects.arg(QStringLiteral("table"))))) {
        const auto columns = present.constFind(table.toLower());
        if (columns == present.cend()) {
            missing << table;
            continue;
        }
        for (const Column &column :
             columnsOf(must(reference.sql(), QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)))))
            if (!columns->contains(column.name, Qt::CaseInsensitive))
                missing << table + QLatin1Char('.') + column.name;
    }
    return missing;
}

QStringList addMissingFileSchema(Database &db, const QString &schema)
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
        for (const Column &column :
             columnsOf(must(reference.sql(), QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table))))) {
            if (present.contains(column.name, Qt::CaseInsensitive))
                continue;
            QString statement =
                QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(quoted(table), quoted(column.name), column.type);
            if (column.notNull)
                statement += QStringLiteral(" NOT NULL");
            if (!column.defaultValue.isEmpty())
                statement += QStringLiteral(" DEFAULT ") + column.defaultValue;
            runSql(db, statement);
            added << table + QLatin1Char('.') + column.name;
        }
    }
    const QStringList indexes = names(runSql(db, kObjects.arg(QStringLiteral("index"))));
    QSqlQuery wanted = must(
        reference.sql(),
        QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL ORDER BY rowid"));
    while (wanted.next())
        if (!indexes.contains(wanted.value(0).toString(), Qt::CaseInsensitive))
            runSql(db, wanted.value(1).toString());
    return added;
}

namespace {

// The column definitions of a CREATE TABLE statement: the text between its outer brackets,
// split at the commas outside brackets.
QStringList columnDefinitions(const QString &statement)
{
    const qsizetype open = statement.indexOf(QLatin1Char('('));
    const qsizetype close = statement.lastIndexOf(QLatin1Char(')'));
    QStringList result;
    QString current;
    int depth = 0;
    for (const QChar ch : statement.mid(open + 1, close - open - 1)) {
        if (ch == QLatin1Char('('))
            ++depth;
        else if (ch == QLatin1Char(')'))
            --depth;
        if (ch == QLatin1Char(',') && depth == 0) {
            result << current.simplified();
            current.clear();
        } else {
            current += ch;
        }
    }
    if (!current.simplified().isEmpty())
        result << current.simplified();
    return result;
}

} // namespace

QStringList addMissingServerSchema(Database &db, const QString &serverSchema)
{
    static const QRegularExpression createTable(QStringLiteral("^CREATE TABLE (\\S+) \\("));
    static const QRegularExpression createIndex(QStringLiteral("^CREATE (UNIQUE )?INDEX (\\S+) ON"));
    const QStringList tables = tableNames(db);
    const QHash<QString, QStringList> columns = columnsByTable(db);
    QStringList added;
    for (const QString &statement : schemaStatements(serverSchema)) {
        if (statement.startsWith(QLatin1String("CREATE FUNCTION"))) {
            runSql(db, QStringLiteral("CREATE OR REPLACE FUNCTION") + statement.mid(15));
        } else if (const auto index = createIndex.match(statement); index.hasMatch()) {
            runSql(db, QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2")
                           .arg(index.captured(1), statement.mid(index.capturedStart(2))));
        } else if (const auto table = createTable.match(statement); table.hasMatch()) {
            const QString name = table.captured(1);
            if (!tables.contains(name, Qt::CaseInsensitive)) {
                runSql(db, statement);
                continue;
            }
            const QStringList present = columns.value(name.toLower());
            for (const QString &definition : columnDefinitions(statement)) {
                const QString column = definition.section(QLatin1Char(' '), 0, 0);
                if (present.contains(QString(column).remove(QLatin1Char('"')), Qt::CaseInsensitive))
                    continue;
                runSql(db, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(name, definition));
                added << name + QLatin1Char('.') + column;
            }
        }
    }
    return added;
}

} // namespace corvane
