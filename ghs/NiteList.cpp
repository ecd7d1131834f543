#include "NiteList.h"
#include "Xlsx.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

namespace corvane::ghs {
namespace {

constexpr int kCasColumn = 1;
constexpr int kNameColumn = 3;
constexpr int kIdColumn = 4;
constexpr int kFirstClassColumn = 5;

// The classes in the order of the list's columns: every class but lactation, which the list
// writes in the reproductive toxicity column.
std::vector<HazardClass> columnClasses()
{
    std::vector<HazardClass> classes;
    for (HazardClass c : allHazardClasses())
        if (c != HazardClass::Lactation)
            classes.push_back(c);
    return classes;
}

QString normalisedHeading(const QString &text) { return normalisedCell(text); }

} // namespace

QString casOfNiteId(const QString &id)
{
    static const QRegularExpression pattern(QStringLiteral("^m-nite-([0-9]{2,7}-[0-9]{2}-[0-9])a?$"));
    const QRegularExpressionMatch match = pattern.match(id);
    return match.hasMatch() ? match.captured(1) : QString();
}

std::vector<ClassEntry> NiteSubstance::entries() const
{
    std::vector<ClassEntry> all;
    for (const ClassCell &cell : cells)
        all.insert(all.end(), cell.reading.entries.begin(), cell.reading.entries.end());
    return all;
}

Result<NiteList> readNiteList(const QString &path)
{
    const auto workbook = readXlsx(path);
    if (!workbook)
        return workbook.failure();
    const QString file = QDir::toNativeSeparators(path);
    const XlsxSheet &sheet = workbook->sheets.front();
    const std::vector<HazardClass> classes = columnClasses();

    // The heading row says whether this is NITE's list at all.
    QStringList expected{QStringLiteral("CAS RN"), QString(), QStringLiteral("物質名称"),
                         QStringLiteral("GHS分類結果_ID")};
    for (HazardClass c : classes)
        expected << hazardClassName(c);
    for (int column = 1; column <= int(expected.size()); ++column) {
        if (expected.at(column - 1).isEmpty())
            continue;
        if (normalisedHeading(sheet.cell(1, column)) != normalisedHeading(expected.at(column - 1)))
            return Failure{
                QStringLiteral(
                    "%1 は NITE 統合版 GHS 分類結果の一覧ではありません（%2 列目の見出しが「%3」で、「%4」ではありません）。")
                    .arg(file)
                    .arg(columnName(column), sheet.cell(1, column), expected.at(column - 1))};
    }
    if (!workbook->modified.isValid())
        return Failure{QStringLiteral("%1 には保存日が記録されていないため、一覧の版が分かりません。").arg(file)};

    static const QRegularExpression idPattern(
        QStringLiteral("^m-nite-(?:[0-9]{2,7}-[0-9]{2}-[0-9]a?|nocas-[0-9]{4})$"));
    static const QRegularExpression casPattern(QStringLiteral("^[0-9]{2,7}-[0-9]{2}-[0-9]$"));
    NiteList list;
    list.saved = workbook->modified.toUTC().date();
    QSet<QString> ids;
    QStringList problems;
    for (int row = 2; row <= sheet.rowCount(); ++row) {
        const QString id = normalisedCell(sheet.cell(row, kIdColumn));
        const QString name = sheet.cell(row, kNameColumn).trimmed();
        if (id.isEmpty() && name.isEmpty())
            continue; // a blank row after the table
        const auto where = [&](int column) {
            return QStringLiteral("%1 %2行目 %3列").arg(file).arg(row).arg(columnName(column));
        };
        if (!idPattern.match(id).hasMatch()) {
            problems
                << QStringLiteral("%1: ID「%2」は m-nite-<CAS 番号> の形ではありません。").arg(where(kIdColumn), id);
            continue;
        }
        if (ids.contains(id)) {
            problems << QStringLiteral("%1: ID「%2」が二度あります。").arg(where(kIdColumn), id);
            continue;
        }
        ids.insert(id);
        NiteSubstance substance;
        substance.row = row;
        substance.id = id;
        substance.cas = casOfNiteId(id);
        substance.name = name;
        if (name.isEmpty())
            problems << QStringLiteral("%1: 物質名称が空です。").arg(where(kNameColumn));
        const QString casCell = normalisedCell(sheet.cell(row, kCasColumn));
        if (!substance.cas.isEmpty()) {
            const QStringList listed = casCell.split(QLatin1Char(','), Qt::SkipEmptyParts);
            if (!listed.contains(substance.cas))
                problems << QStringLiteral("%1: CAS 番号「%2」に ID の CAS 番号 %3 がありません。")
                                .arg(where(kCasColumn), sheet.cell(row, kCasColumn), substance.cas);
            for (const QString &cas : listed) {
                if (!casPattern.match(cas).hasMatch())
                    problems << QStringLiteral("%1: CAS 番号「%2」が読めません。").arg(where(kCasColumn), cas);
                else if (cas != substance.cas)
                    substance.otherCas << cas;
            }
        }
        for (size_t i = 0; i < classes.size(); ++i) {
            const int column = kFirstClassColumn + int(i);
            const QString text = sheet.cell(row, column);
            QString problem;
            const auto reading = readClassificationCell(classes[i], text, &problem);
            if (!reading) {
                problems << QStringLiteral("%1（%2）: 「%3」を読めません: %4。")
                                .arg(where(column), hazardClassName(classes[i]), text, problem);
                continue;
            }
            substance.cells.push_back({classes[i], text, *reading});
        }
        const int urlColumn = kFirstClassColumn + int(classes.size());
        substance.niteUrl = sheet.cell(row, urlColumn).trimmed();
        substance.labelUrl = sheet.cell(row, urlColumn + 1).trimmed();
        substance.sdsUrl = sheet.cell(row, urlColumn + 2).trimmed();
        list.substances.push_back(std::move(substance));
    }
    if (!problems.isEmpty())
        return Failure{QStringLiteral("NITE の一覧に読めない箇所があるため、何も読み込みませんでした。\n")
                       + problems.join(QLatin1Char('\n'))};
    if (list.substances.empty())
        return Failure{QStringLiteral("%1 に物質の行がありません。").arg(file)};
    return list;
}

} // namespace corvane::ghs
