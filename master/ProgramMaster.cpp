#include "ProgramMaster.h"
#include "MasterVersion.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>

namespace corvane {
namespace {

std::optional<QString> readUtf8(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}

Failure cannotRead(const QString &fileName)
{
    return {QStringLiteral("ファイルを読み込めません: %1").arg(QDir::toNativeSeparators(fileName)), {}};
}

// The first line of VERSION that is not a comment.
QString versionIn(const QString &text)
{
    for (const QString &line : text.split(QLatin1Char('\n')))
        if (const QString trimmed = line.trimmed(); !trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#')))
            return trimmed;
    return {};
}

} // namespace

QHash<int, int> sourceLinesOf(const QString &substanceText)
{
    QHash<int, int> lineOf;
    const QStringList lines = substanceText.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        bool numeric = false;
        const int number = line.section(QLatin1Char('\t'), 0, 0).toInt(&numeric);
        if (numeric && !line.startsWith(QLatin1Char('#')))
            lineOf.insert(number, i + 1);
    }
    return lineOf;
}

QString describeMasterErrors(const std::vector<MasterError> &errors)
{
    QStringList lines;
    for (const MasterError &e : errors)
        lines << (e.line > 0
                      ? QStringLiteral("%1 %2行目: %3").arg(QDir::toNativeSeparators(e.file)).arg(e.line).arg(e.message)
                      : QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(e.file), e.message));
    return lines.join(QLatin1Char('\n'));
}

Result<ProgramMaster> loadMaster(const QString &masterFolder, const QString &schemaFile)
{
    const QDir folder(masterFolder);
    ProgramMaster master;
    const QStringList names{QStringLiteral("VERSION"), QStringLiteral("hazard_statements.tsv"),
                            QStringLiteral("precautionary_statements.tsv")};
    QStringList texts;
    for (const QString &name : names) {
        const auto text = readUtf8(folder.filePath(name));
        if (!text)
            return cannotRead(folder.filePath(name));
        texts << *text;
    }
    const auto schema = readUtf8(schemaFile);
    if (!schema)
        return cannotRead(schemaFile);
    master.version = versionIn(texts[0]);
    if (!isMasterVersion(master.version))
        return Failure{QStringLiteral("%1: 物質マスタの版「%2」は「2026-12-07」の形で書いてください。")
                           .arg(QDir::toNativeSeparators(folder.filePath(names[0])), master.version)};
    MasterSourceResult read = readMasterFolder(masterFolder);
    if (!read.errors.empty())
        return Failure{QStringLiteral("物質マスタの誤り:\n") + describeMasterErrors(read.errors)};
    master.schema = *schema;
    // Beside the file's schema; only a server database needs it.
    master.serverSchema =
        readUtf8(QFileInfo(schemaFile).dir().filePath(QStringLiteral("schema-postgresql.sql"))).value_or(QString());
    master.hazardText = texts[1];
    master.precautionText = texts[2];
    master.substances = std::move(read.substances);
    // The classifications beside the rows; a master folder of an earlier format has none.
    if (const auto text = readUtf8(folder.filePath(QStringLiteral("classifications.tsv")))) {
        auto rows = readClassificationsText(
            *text, QDir::toNativeSeparators(folder.filePath(QStringLiteral("classifications.tsv"))));
        if (!rows)
            return rows.failure();
        master.classifications = std::move(*rows);
    }
    return master;
}

Result<ProgramMaster> programMaster() { return loadMaster(QStringLiteral(":/master"), QStringLiteral(":/schema.sql")); }

} // namespace corvane
