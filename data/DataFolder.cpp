#include "DataFolder.h"
#include "MasterSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace corvane {
namespace {

bool fail(QString *error, const QString &message)
{
    *error = message;
    return false;
}

QString readText(const QString &fileName, bool *ok)
{
    QFile file(fileName);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? QString::fromUtf8(file.readAll()) : QString();
}

// SQL statements of the schema file, split at semicolons outside comments.
QStringList statements(const QString &schema)
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

QVariant textOrNull(const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); }

bool exec(QSqlQuery &query, QString *error)
{
    if (query.exec())
        return true;
    return fail(error, query.lastError().text());
}

bool fillDatabase(QSqlDatabase &db, const QStringList &schema,
                  const std::vector<ComposedSubstance> &substances, QString *error)
{
    QSqlQuery query(db);
    for (const QString &statement : schema)
        if (!query.exec(statement))
            return fail(error, query.lastError().text());

    QSqlQuery insert(db);
    for (const ComposedSubstance &s : substances)
        if (!insertSubstanceRow(insert, s))
            return fail(error, insert.lastError().text());

    // The list of all target substances: every substance, twelve to a row, under product -1.
    QSqlQuery entry(db);
    entry.prepare(QStringLiteral(
        "INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1, ItemID2, ItemID3, ItemID4, "
        "ItemID5, ItemID6, ItemID7, ItemID8, ItemID9, ItemID10, ItemID11, ItemID12) "
        "VALUES (-1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (size_t first = 0; first < substances.size(); first += 12) {
        entry.bindValue(0, static_cast<int>(first / 12) + 1);
        for (size_t slot = 0; slot < 12; ++slot) {
            const size_t k = first + slot;
            entry.bindValue(static_cast<int>(1 + slot),
                            k < substances.size() ? QVariant(substances[k].id) : QVariant());
        }
        if (!exec(entry, error))
            return false;
    }
    return true;
}

bool buildDatabase(const QString &target, const DataSources &sources, QString *error)
{
    bool ok = false;
    const QString schema = readText(sources.schemaFile, &ok);
    if (!ok)
        return fail(error, QStringLiteral("ファイルを読み込めません: %1").arg(sources.schemaFile));
    const MasterSourceResult master = readMasterFolder(sources.masterFolder);
    if (!master.errors.empty()) {
        // Every error, so that one build shows all that needs fixing.
        QStringList lines;
        for (const MasterError &e : master.errors)
            lines.append(QStringLiteral("物質マスタの誤り: %1 %2行目: %3").arg(e.file).arg(e.line).arg(e.message));
        return fail(error, lines.join(QLatin1Char('\n')));
    }

    const QString temporary = target + QStringLiteral(".new");
    QFile::remove(temporary);
    const QString connection = QStringLiteral("corvane-build-") + target;
    bool built = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(temporary);
        if (!db.open()) {
            *error = db.lastError().text();
        } else {
            db.transaction();
            built = fillDatabase(db, statements(schema), master.substances, error) && db.commit();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!built || !QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        if (built)
            *error = QStringLiteral("ファイルを書き込めません: %1").arg(target);
        return false;
    }
    return true;
}

bool copyMissingFiles(const QString &sourceFolder, const QString &dataFolder, QString *error)
{
    const QDir source(sourceFolder);
    for (const QFileInfo &file : source.entryInfoList(QDir::Files)) {
        const QString target = QDir(dataFolder).filePath(file.fileName());
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::copy(file.absoluteFilePath(), target))
            return fail(error, QStringLiteral("ファイルを書き込めません: %1").arg(target));
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return true;
}

const QString kSubstanceInsert = QStringLiteral(
    "INSERT INTO 表示物質 (ID, 物質名, \"注意喚起語：\", \"危険有害性情報：\", 注意書き, "
    "絵表示1, 絵表示2, 絵表示3, 絵表示4, 絵表示5, CAS, "
    "別名, Hコード, Pコード, 区分, 差込, 出典, 出典ID, 出典年, 出典備考) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");

} // namespace

bool insertSubstanceRow(QSqlQuery &query, const ComposedSubstance &s)
{
    if (query.lastQuery() != kSubstanceInsert && !query.prepare(kSubstanceInsert))
        return false;
    const QString comma = QStringLiteral(",");
    const QString bar = QStringLiteral("|");
    query.bindValue(0, s.id);
    query.bindValue(1, s.name);
    query.bindValue(2, textOrNull(s.signalWord));
    query.bindValue(3, textOrNull(s.hazards));
    query.bindValue(4, textOrNull(s.precautions));
    for (int m = 0; m < 5; ++m)
        query.bindValue(5 + m, m < s.pictures.size() ? QVariant(s.pictures[m]) : QVariant());
    query.bindValue(10, textOrNull(s.cas));
    query.bindValue(11, textOrNull(s.aliases.join(bar)));
    query.bindValue(12, textOrNull(s.hazardCodes.join(comma)));
    query.bindValue(13, textOrNull(s.precautionCodes.join(comma)));
    query.bindValue(14, textOrNull(s.categories.join(comma)));
    query.bindValue(15, textOrNull(s.fillIns.join(bar)));
    query.bindValue(16, sourceKindName(s.sourceKind));
    query.bindValue(17, textOrNull(s.sourceId));
    query.bindValue(18, s.sourceYear > 0 ? QVariant(s.sourceYear) : QVariant());
    query.bindValue(19, textOrNull(s.sourceNote));
    return query.exec();
}

DataSources dataSourcesIn(const QString &sourceRoot)
{
    const QDir root(sourceRoot);
    return {root.filePath(QStringLiteral("data/schema.sql")),
            root.filePath(QStringLiteral("data/master")),
            {root.filePath(QStringLiteral("data/pictograms")),
             root.filePath(QStringLiteral("labels/reports"))}};
}

bool createDataFolder(const QString &dataFolder, const DataSources &sources, QString *error)
{
    if (!QDir().mkpath(dataFolder))
        return fail(error, QStringLiteral("フォルダを作成できません: %1").arg(dataFolder));
    const QString database = QDir(dataFolder).filePath(QStringLiteral("Data.mde"));
    if (!QFileInfo::exists(database) && !buildDatabase(database, sources, error))
        return false;
    for (const QString &folder : sources.copyFolders)
        if (!copyMissingFiles(folder, dataFolder, error))
            return false;
    return true;
}

} // namespace corvane
