#include "LegalList.h"
#include "ClassificationCell.h"
#include "Xlsx.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>

namespace corvane::ghs {
namespace {

// Columns of every table in the workbooks.
constexpr int kNumber = 2, kName = 3, kEnglish = 4, kCas = 5, kLabel = 6, kSds = 7, kNote = 8;

QDate reiwa(const QString &year, const QString &month, const QString &day)
{
    return QDate(2018 + year.toInt(), month.toInt(), day.toInt());
}

// The sheet's own date from its title: 「…（令和7年4月1日施行分）」 or 「…（令和8年4月1日追加分）」.
std::optional<QDate> sheetDate(const XlsxSheet &sheet)
{
    static const QRegularExpression title(
        QStringLiteral("義務対象物質一覧\\(令和([0-9]+)年([0-9]+)月([0-9]+)日(?:施行分|追加分)\\)"));
    for (int row = 1; row <= std::min(sheet.rowCount(), 5); ++row) {
        const QRegularExpressionMatch match = title.match(normalisedCell(sheet.cell(row, 1)));
        if (match.hasMatch())
            return reiwa(match.captured(1), match.captured(2), match.captured(3));
    }
    return std::nullopt;
}

struct Footnote {
    QDate date;
    bool orEarlier = false;
};

// 「＊３　令和7年3月31日以前から…」「＊５　令和８年4月1日から…」 at the foot of the sheet.
QHash<QString, Footnote> footnotes(const XlsxSheet &sheet)
{
    static const QRegularExpression note(
        QStringLiteral("^\\*([0-9]+)令和([0-9]+)年([0-9]+)月([0-9]+)日(以前から|から)"));
    QHash<QString, Footnote> marks;
    for (int row = 1; row <= sheet.rowCount(); ++row) {
        const QRegularExpressionMatch match = note.match(normalisedCell(sheet.cell(row, 1)));
        if (match.hasMatch())
            marks.insert(match.captured(1), {reiwa(match.captured(2), match.captured(3), match.captured(4)),
                                             match.captured(5) == QStringLiteral("以前から")});
    }
    return marks;
}

QString sectionOf(const QString &normalised)
{
    if (normalised.contains(QStringLiteral("施行令別表第3第1号")))
        return QStringLiteral("令別表第３第１号");
    if (normalised.contains(QStringLiteral("施行令別表第9")))
        return QStringLiteral("令別表第９");
    if (normalised.contains(QStringLiteral("規則別表第2")))
        return QStringLiteral("安衛則別表第２");
    return {};
}

// A cut-off is a number, or 「－」 where the list gives none (explosives such as ニトログリセリン).
bool isCutoff(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^([0-9]+(\\.[0-9]+)?|－)$"));
    return number.match(text).hasMatch();
}

// The cut-off as the master writes it: numbers half-width, 「－」 as the list writes it.
QString cutoffText(const QString &cell)
{
    const QString trimmed = cell.trimmed();
    return trimmed == QStringLiteral("－") || trimmed == QStringLiteral("-") ? QStringLiteral("－")
                                                                             : normalisedCell(trimmed);
}

} // namespace

QString LegalEntry::sinceText() const
{
    return since.toString(Qt::ISODate) + (sinceOrEarlier ? QStringLiteral("以前") : QString());
}

Result<LegalList> readLegalLists(const QStringList &paths)
{
    LegalList list;
    QStringList problems;
    static const QRegularExpression casPattern(QStringLiteral("^[0-9]{2,7}-[0-9]{2}-[0-9]$"));
    static const QRegularExpression marker(QStringLiteral("^\\*([0-9]+)"));
    static const QRegularExpression earlierLabel(
        QStringLiteral("(?:令和([0-9]+)年度まで|改正前)のラベル表示に係る裾切値:([0-9.]+)%"));
    static const QRegularExpression earlierSds(
        QStringLiteral("(?:令和([0-9]+)年度まで|改正前)のSDS交付等に係る裾切値:([0-9.]+)%"));
    for (const QString &path : paths) {
        const auto workbook = readXlsx(path);
        if (!workbook)
            return workbook.failure();
        const QString file = QDir::toNativeSeparators(path);
        for (const XlsxSheet &sheet : workbook->sheets) {
            const auto date = sheetDate(sheet);
            if (!date)
                return Failure{
                    QStringLiteral(
                        "%1 のシート「%2」は厚生労働省のラベル表示・ＳＤＳ交付等の義務対象物質一覧ではありません（表題に施行日がありません）。")
                        .arg(file, sheet.name)};
            list.listDate = std::max(list.listDate, *date);
            if (workbook->modified.isValid())
                list.saved = std::max(list.saved, workbook->modified.toUTC().date());
            const QHash<QString, Footnote> marks = footnotes(sheet);
            QString section;
            bool inTable = false;
            LegalEntry group;
            bool inGroup = false;
            for (int row = 1; row <= sheet.rowCount(); ++row) {
                const QString first = normalisedCell(sheet.cell(row, 1));
                const QString name = sheet.cell(row, kName).simplified();
                const auto where = QStringLiteral("%1 シート「%2」%3行目").arg(file, sheet.name).arg(row);
                if (first.startsWith(QStringLiteral("備考"))) {
                    inTable = false;
                    continue;
                }
                if (!sectionOf(first).isEmpty() && name.isEmpty()) {
                    section = sectionOf(first);
                    continue;
                }
                if (normalisedCell(name) == QStringLiteral("名称")) {
                    inTable = true;
                    inGroup = false;
                    continue;
                }
                if (!inTable || name.isEmpty())
                    continue;
                const QString number = normalisedCell(sheet.cell(row, kNumber));
                const QString noteText = sheet.cell(row, kNote).trimmed();
                const QString casCell = normalisedCell(sheet.cell(row, kCas));
                const bool partRow = number.isEmpty() && first.isEmpty();
                if (partRow && !inGroup) {
                    problems
                        << QStringLiteral("%1: 番号のない行「%2」が、どの物質の内訳でもありません。").arg(where, name);
                    continue;
                }
                LegalEntry entry = partRow ? group : LegalEntry{};
                entry.sheet = sheet.name;
                entry.sheetDate = *date;
                entry.row = row;
                entry.section = section;
                entry.name = name;
                entry.englishName = sheet.cell(row, kEnglish).simplified();
                entry.cas.clear();
                entry.labelCutoff = cutoffText(sheet.cell(row, kLabel));
                entry.sdsCutoff = cutoffText(sheet.cell(row, kSds));
                if (!partRow) {
                    entry.number = number;
                    entry.group.clear();
                    entry.since = *date;
                    entry.sinceOrEarlier = false;
                    entry.note = noteText;
                    // The mark opens the cell's first line; what follows it is the list's own note.
                    const QRegularExpressionMatch mark =
                        marker.match(normalisedCell(noteText.section(QLatin1Char('\n'), 0, 0)));
                    if (mark.hasMatch()) {
                        if (!marks.contains(mark.captured(1))) {
                            problems << QStringLiteral("%1: 備考の「＊%2」の注がシートにありません。")
                                            .arg(where, mark.captured(1));
                            continue;
                        }
                        entry.since = marks.value(mark.captured(1)).date;
                        entry.sinceOrEarlier = marks.value(mark.captured(1)).orEarlier;
                    }
                } else {
                    entry.group = group.name;
                    if (!noteText.isEmpty())
                        entry.note = noteText;
                }
                if (casCell.startsWith(QStringLiteral("下記"))
                    || entry.labelCutoff.startsWith(QStringLiteral("下記"))) {
                    group = entry; // the rows below hold the parts, with their own CAS RNs and cut-offs
                    inGroup = true;
                    continue;
                }
                if (!partRow)
                    inGroup = false;
                entry.casAndOthers = casCell.endsWith(QStringLiteral("他"));
                QString casList = casCell;
                if (entry.casAndOthers)
                    casList.chop(1);
                for (const QString &item :
                     casList.split(QRegularExpression(QStringLiteral("[,/、]")), Qt::SkipEmptyParts)) {
                    if (item == QLatin1String("*2") || item == QStringLiteral("-"))
                        continue; // no CAS RN can be named for (this part of) the entry
                    if (!casPattern.match(item).hasMatch()) {
                        problems
                            << QStringLiteral("%1: CAS 番号「%2」が読めません。").arg(where, sheet.cell(row, kCas));
                        continue;
                    }
                    entry.cas << item;
                }
                if (!isCutoff(entry.labelCutoff) || !isCutoff(entry.sdsCutoff)) {
                    problems << QStringLiteral("%1: 裾切値「%2」「%3」が数ではありません。")
                                    .arg(where, sheet.cell(row, kLabel), sheet.cell(row, kSds));
                    continue;
                }
                const QString normalNote = normalisedCell(entry.note);
                for (const auto &[pattern, target] : {std::pair{&earlierLabel, &entry.earlierLabelCutoff},
                                                      std::pair{&earlierSds, &entry.earlierSdsCutoff}}) {
                    const QRegularExpressionMatch earlier = pattern->match(normalNote);
                    if (!earlier.hasMatch())
                        continue;
                    *target = earlier.captured(2);
                    // 「令和８年度まで」: until the end of that fiscal year; 「改正前」: before this list.
                    entry.cutoffChangedOn =
                        earlier.captured(1).isEmpty() ? *date : QDate(2018 + earlier.captured(1).toInt() + 1, 4, 1);
                }
                list.entries.push_back(entry);
            }
        }
    }
    if (!problems.isEmpty())
        return Failure{QStringLiteral("厚生労働省の一覧に読めない箇所があるため、何も読み込みませんでした。\n")
                       + problems.join(QLatin1Char('\n'))};
    if (list.entries.empty())
        return Failure{QStringLiteral("厚生労働省の一覧に物質の行がありません。")};
    return list;
}

const LegalEntry *legalEntryFor(const LegalList &list, const QString &cas)
{
    // A row naming only this CAS RN wins over a group's row; then the newest sheet's row.
    const auto rank = [](const LegalEntry &e) {
        return std::make_pair(e.cas.size() == 1 && !e.casAndOthers, e.sheetDate);
    };
    const LegalEntry *best = nullptr;
    for (const LegalEntry &entry : list.entries)
        if (entry.cas.contains(cas) && (!best || rank(*best) < rank(entry)))
            best = &entry;
    return best;
}

} // namespace corvane::ghs
