#include "GovernmentMaster.h"
#include "SubstanceClassification.h"
#include "ImportText.h"

#include "ClassificationCell.h"
#include "LabelElements.h"
#include "LegalList.h"
#include "NiteList.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace corvane {
namespace {

using ghs::NiteSubstance;

// CAS RNs compare by their numbers, so 50-00-0 comes before 100-41-4.
bool casBefore(const QString &a, const QString &b)
{
    const auto key = [](const QString &cas) {
        const QStringList parts = cas.split(QLatin1Char('-'));
        return std::make_tuple(parts.value(0).toLongLong(), parts.value(1).toInt(), parts.value(2).toInt());
    };
    return key(a) < key(b);
}

constexpr qsizetype kMaxPictograms = 5; // the label sheets and 表示物質 hold five

QString folded(const QString &name) { return ghs::normalisedCell(name); }

// NITE's name as a label prints it: runs of spaces made one, and NITE's note 「(再分類)」
// (the substance was classified again) left off; it is not part of the name.
QString niteName(const QString &name)
{
    static const QRegularExpression reclassified(QStringLiteral("\\s*[(（]再分類[)）]$"));
    return name.simplified().remove(reclassified);
}

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "))
        .replace(QLatin1Char('\n'), QStringLiteral(" / "))
        .replace(QLatin1Char('\t'), QLatin1Char(' '));
}

// How the rows of MHLW's lists meet NITE's: with a CAS RN NITE classifies, with CAS RNs it
// lacks, and without a CAS RN (groups such as 「…及びその化合物」).
QString legalListSummary(const ghs::LegalList &legal, const ghs::NiteList &nite)
{
    QSet<QString> classified;
    for (const NiteSubstance &n : nite.substances)
        classified.insert(n.cas);
    int matched = 0, unmatched = 0, withoutCas = 0;
    QStringList missing;
    for (const ghs::LegalEntry &entry : legal.entries) {
        if (entry.sheetDate != legal.listDate)
            continue; // the newest list holds every substance of the earlier ones
        if (entry.cas.isEmpty()) {
            ++withoutCas;
        } else if (std::any_of(entry.cas.begin(), entry.cas.end(),
                               [&](const QString &cas) { return classified.contains(cas); })) {
            ++matched;
        } else {
            ++unmatched;
            missing << entry.name;
        }
    }
    return QStringLiteral(
               "法令の一覧（%1 施行分）の行: NITE が分類している CAS 番号のもの %2件、NITE にない CAS 番号のもの %3件%4、CAS 番号のないもの %5件")
        .arg(legal.listDate.toString(Qt::ISODate))
        .arg(matched)
        .arg(unmatched)
        .arg(missing.isEmpty() ? QString() : QStringLiteral("（%1）").arg(missing.join(QStringLiteral("、"))))
        .arg(withoutCas);
}

} // namespace

QStringList governmentCredits(const QString &niteListDate)
{
    // The editions whose published name is known: the file itself carries only the date it
    // was saved (list_nite_all.xlsx, published 2026-03-04 as 2026年3月版).
    static const QHash<QString, QString> editions{{QStringLiteral("2026-02-27"), QStringLiteral("2026年3月版")}};
    const QDate date = QDate::fromString(niteListDate, Qt::ISODate);
    const QString edition =
        editions.contains(niteListDate) ? editions.value(niteListDate)
        : date.isValid() ? QStringLiteral("%1年%2月%3日保存の一覧").arg(date.year()).arg(date.month()).arg(date.day())
                         : QStringLiteral("版不明");
    return {
        QStringLiteral("出典：独立行政法人製品評価技術基盤機構（NITE）『NITE統合版 GHS分類結果』（%1）を加工して作成")
            .arg(edition),
        QStringLiteral(
            "出典：厚生労働省『労働安全衛生法に基づくラベル表示・ＳＤＳ交付等の義務対象物質一覧』を加工して作成")};
}

QString governmentClassificationNotice()
{
    return QStringLiteral(
        "これらは政府による純物質の GHS 分類であり、利用者の製品（混合物・水溶液）の分類ではありません。"
        "製品のラベルは、これをもとに供給者が責任をもって作成してください。");
}

QString substancesFileText(const std::vector<ComposedSubstance> &substances)
{
    QStringList lines{
        QStringLiteral(
            "# 物質マスタ。1 行 1 物質、タブ区切り 20 列（政府の一覧から作った行）。14 列の行（備考まで）も読める:"),
        QStringLiteral(
            "# ID<TAB>物質名<TAB>CAS<TAB>注意喚起語<TAB>絵表示<TAB>H<TAB>P<TAB>区分<TAB>差込<TAB>別名<TAB>出典<TAB>出典ID<TAB>出典年<TAB>備考"
            "<TAB>出典版<TAB>法令名称<TAB>義務開始<TAB>ラベル裾切値<TAB>SDS裾切値<TAB>法令備考"),
        QStringLiteral(
            "#   区分: 注意喚起語が H コードだけでは決まらないものの区分。例 H228=1, H272=3, H242=C（コンマ区切り）"),
        QStringLiteral("#   差込: 文の空欄 {…} に入れる、この物質の文言。例 H372=中枢神経系、腎臓（| 区切り）"),
        QStringLiteral("#   別名: 物質名のほかの名前（| 区切り）。検索に使い、ラベルには印刷しない"),
        QStringLiteral(
            "#   出典: NITE（NITE 統合版 GHS 分類結果。出典ID は m-nite-<CAS>、出典版はその一覧の保存日）、"),
        QStringLiteral(
            "#         MHLW（厚生労働省モデル SDS）、EU（EU 調和分類）、未確認（公表された分類と照合していない行）"),
        QStringLiteral(
            "#   法令名称・義務開始・ラベル裾切値・SDS裾切値・法令備考: 厚生労働省「ラベル表示・ＳＤＳ交付等の義務対象物質一覧」から"),
        QStringLiteral(
            "# この表は corvane-master build-from-government で政府の一覧から作る（手で直さない。直し方は README）。"),
        QStringLiteral("# 分類は政府による純物質の GHS 分類。利用者の製品（混合物・水溶液）の分類ではない。"),
        QStringLiteral(
            "# 出典：独立行政法人製品評価技術基盤機構（NITE）『NITE統合版 GHS分類結果』（2026年3月版）を加工して作成"),
        QStringLiteral(
            "# 出典：厚生労働省『労働安全衛生法に基づくラベル表示・ＳＤＳ交付等の義務対象物質一覧』を加工して作成"),
    };
    for (const ComposedSubstance &s : substances)
        lines << substanceSourceLine(s);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

Result<GovernmentMaster> buildGovernmentMaster(const ghs::NiteList &nite, const ghs::LegalList &legal,
                                               const std::vector<ComposedSubstance> &current, const QString &hazardText,
                                               const QString &precautionText)
{
    const QSet<QString> blanks = codesWithBlanks(precautionText);
    const ghs::LabelTable &table = ghs::LabelTable::builtIn();
    const QString version = nite.saved.toString(Qt::ISODate);

    // The label sheets hold five pictograms, and a label that left one out would be wrong: a
    // substance whose classification calls for more keeps the master's earlier row (未確認),
    // or stays out when the master had none.
    QSet<const NiteSubstance *> leftOut;
    QStringList tooManyPictograms;
    for (const NiteSubstance &n : nite.substances) {
        QString ignored;
        const auto label = ghs::composeLabel(n.entries(), table, &ignored);
        if (label && label->pictograms.size() > kMaxPictograms) {
            leftOut.insert(&n);
            tooManyPictograms
                << QStringLiteral("%1 %2（%3）").arg(n.id, n.name, label->pictograms.join(QLatin1Char(',')));
        }
    }

    // NITE's rows by CAS RN (two forms may share one).
    QHash<QString, std::vector<const NiteSubstance *>> niteByCas;
    for (const NiteSubstance &n : nite.substances)
        if (!n.cas.isEmpty() && !leftOut.contains(&n))
            niteByCas[n.cas].push_back(&n);

    // Today's rows keep their numbers; the NITE row each one becomes.
    QHash<const NiteSubstance *, int> numberOf;
    std::vector<const ComposedSubstance *> keptAsTheyAre;
    QHash<QString, const NiteSubstance *> niteById;
    for (const NiteSubstance &n : nite.substances)
        if (!leftOut.contains(&n))
            niteById.insert(n.id, &n);
    for (const ComposedSubstance &row : current) {
        const auto candidates = niteByCas.value(row.cas);
        // A row made from NITE's list before is the same ID; another, the same CAS RN.
        const NiteSubstance *chosen = row.sourceKind == SourceKind::Nite ? niteById.value(row.sourceId) : nullptr;
        if (chosen) {
            if (!numberOf.contains(chosen)) {
                numberOf.insert(chosen, row.id);
                continue;
            }
            chosen = nullptr;
        }
        for (const NiteSubstance *n : candidates)
            if (folded(niteName(n->name)) == folded(row.name) || row.aliases.contains(niteName(n->name)))
                chosen = n;
        if (!chosen)
            for (const NiteSubstance *n : candidates)
                if (!n->id.endsWith(QLatin1Char('a')))
                    chosen = n;
        if (chosen && !numberOf.contains(chosen))
            numberOf.insert(chosen, row.id);
        else
            keptAsTheyAre.push_back(&row);
    }
    int last = 0;
    for (const ComposedSubstance &row : current)
        last = std::max(last, row.id);
    std::vector<const NiteSubstance *> added;
    for (const NiteSubstance &n : nite.substances)
        if (!numberOf.contains(&n) && !leftOut.contains(&n))
            added.push_back(&n);
    std::stable_sort(added.begin(), added.end(), [](const NiteSubstance *a, const NiteSubstance *b) {
        if (a->cas.isEmpty() != b->cas.isEmpty())
            return b->cas.isEmpty(); // substances without a CAS RN last, in the order of their IDs
        if (a->cas.isEmpty())
            return a->id < b->id;
        return a->cas == b->cas ? a->id < b->id : casBefore(a->cas, b->cas);
    });
    for (const NiteSubstance *n : added)
        numberOf.insert(n, ++last);

    // Names: the legal list's where it names this CAS RN alone; NITE's otherwise; a name two
    // rows would share takes NITE's name, then the ID.
    struct Draft {
        const NiteSubstance *nite = nullptr;
        const ghs::LegalEntry *legal = nullptr;
        ComposedSubstance row;
    };
    std::vector<Draft> drafts;
    for (const auto &row : current)
        if (std::find(keptAsTheyAre.begin(), keptAsTheyAre.end(), &row) != keptAsTheyAre.end())
            drafts.push_back({nullptr, nullptr, row});
    for (const NiteSubstance &n : nite.substances) {
        if (leftOut.contains(&n))
            continue;
        Draft draft{&n, n.cas.isEmpty() ? nullptr : ghs::legalEntryFor(legal, n.cas), {}};
        draft.row.id = numberOf.value(&n);
        draft.row.cas = n.cas;
        const bool legalNameFits = draft.legal && draft.legal->cas.size() == 1 && !draft.legal->casAndOthers;
        draft.row.name = legalNameFits ? draft.legal->name : niteName(n.name);
        drafts.push_back(std::move(draft));
    }
    QHash<QString, int> nameCount;
    for (const Draft &d : drafts)
        ++nameCount[d.row.name];
    for (Draft &d : drafts) {
        if (nameCount.value(d.row.name) > 1 && d.nite && d.row.name != niteName(d.nite->name)) {
            --nameCount[d.row.name];
            d.row.name = niteName(d.nite->name);
            ++nameCount[d.row.name];
        }
    }
    for (Draft &d : drafts)
        if (nameCount.value(d.row.name) > 1 && d.nite)
            d.row.name += QStringLiteral("（%1）").arg(d.nite->cas.isEmpty() ? d.nite->id : d.nite->cas);
    QSet<QString> names;
    for (const Draft &d : drafts)
        names.insert(d.row.name);

    QStringList classificationLines{
        QStringLiteral("# 物質マスタの各物質の分類（政府の一覧のセルを読んだもの）。substances.tsv と一緒に作る。"),
        QStringLiteral("# 番号<TAB>分類<TAB>区分<TAB>臓器・影響（、区切り）<TAB>一覧のセルの文言")};
    QStringList problems;
    int withoutElements = 0, unreadRows = 0, legalMatched = 0;
    for (Draft &d : drafts) {
        if (!d.nite)
            continue;
        const NiteSubstance &n = *d.nite;
        ComposedSubstance &row = d.row;
        QString problem;
        const auto label = ghs::composeLabel(n.entries(), table, &problem);
        if (!label) {
            problems << QStringLiteral("%1 %2: %3").arg(n.id, n.name, problem);
            continue;
        }

        setLabelElements(row, *label, blanks);
        // Aliases: NITE's name and the English name, and a current row's aliases (never a
        // solution's name: 塩酸 and ホルマリン have classifications of their own).
        QStringList aliases;
        const auto addAlias = [&](const QString &alias) {
            const QString a = alias.simplified();
            // An alias is for typing a few characters of it; one longer than an imported file
            // may give (NITE's long systematic names) would make an exported master unreadable.
            if (!a.isEmpty() && a.size() <= kLongestAlias && a != row.name && !aliases.contains(a)
                && !names.contains(a))
                aliases << a;
        };
        addAlias(niteName(n.name));
        // The English name where the legal list names this CAS RN alone (a group's English
        // name, 「Xylene」 for o-キシレン, would mislead).
        if (d.legal && d.legal->cas.size() == 1 && !d.legal->casAndOthers)
            addAlias(d.legal->englishName);
        for (const ComposedSubstance &old : current)
            if (old.id == row.id)
                for (const QString &alias : old.aliases)
                    if (alias != QStringLiteral("ホルマリン") && alias != QStringLiteral("塩酸"))
                        addAlias(niteName(alias));
        row.aliases = aliases;
        row.sourceKind = SourceKind::Nite;
        row.sourceId = n.id;
        row.sourceVersion = version;
        QStringList note;
        if (!n.otherCas.isEmpty())
            note << QStringLiteral("一覧の CAS 欄: %1")
                        .arg((QStringList{n.cas} + n.otherCas).join(QStringLiteral(", ")));
        if (label->hazardCodes.isEmpty()) {
            note << QStringLiteral("分類からはラベル要素がない");
            ++withoutElements;
        }
        if (!label->unread.isEmpty()) {
            note << QStringLiteral("割当てを読めていない区分（注意書きを載せていない）: %1")
                        .arg(label->unread.join(QStringLiteral("、")));
            ++unreadRows;
        }
        row.sourceNote = note.join(QStringLiteral("。"));
        if (d.legal) {
            ++legalMatched;
            row.legalName = d.legal->name;
            row.legalSince = d.legal->sinceText();
            row.labelCutoff = d.legal->labelCutoff;
            row.sdsCutoff = d.legal->sdsCutoff;
            QStringList legalNote;
            legalNote << QStringLiteral("%1 %2").arg(d.legal->section, d.legal->number);
            if (!d.legal->group.isEmpty())
                legalNote << QStringLiteral("「%1」の内訳").arg(d.legal->group);
            if (d.legal->cas.size() > 1 || d.legal->casAndOthers)
                legalNote << QStringLiteral("法令の名称は複数の物質をまとめたもの");
            if (!d.legal->earlierLabelCutoff.isEmpty())
                legalNote << QStringLiteral("%1 より前のラベル裾切値 %2")
                                 .arg(d.legal->cutoffChangedOn.toString(Qt::ISODate), d.legal->earlierLabelCutoff);
            if (!d.legal->earlierSdsCutoff.isEmpty())
                legalNote << QStringLiteral("%1 より前の SDS 裾切値 %2")
                                 .arg(d.legal->cutoffChangedOn.toString(Qt::ISODate), d.legal->earlierSdsCutoff);
            row.legalNote = legalNote.join(QStringLiteral("。"));
        }
        for (const ghs::ClassCell &cell : n.cells) {
            // The mixture rules count an ingredient the list could not classify as unknown in
            // a health or environmental class; physical hazards they never compute from
            // ingredients (the classes after the physical ones start with acute toxicity).
            if (cell.reading.verdict == ghs::CellVerdict::CannotClassify && cell.column >= ghs::HazardClass::AcuteOral)
                classificationLines << QStringList{QString::number(row.id), ghs::hazardClassKey(cell.column),
                                                   kUnclassifiableCategory, QString(), oneLine(cell.text)}
                                           .join(QLatin1Char('\t'));
            for (const ghs::ClassEntry &entry : cell.reading.entries)
                classificationLines << QStringList{QString::number(row.id), ghs::hazardClassKey(entry.hazardClass),
                                                   entry.category, entry.organs.join(QStringLiteral("、")),
                                                   oneLine(cell.text)}
                                           .join(QLatin1Char('\t'));
        }
    }
    if (!problems.isEmpty())
        return Failure{QStringLiteral("ラベル要素を組み立てられない物質があります。\n")
                       + problems.join(QLatin1Char('\n'))};

    GovernmentMaster master;
    for (Draft &d : drafts)
        master.substances.push_back(std::move(d.row));
    std::sort(master.substances.begin(), master.substances.end(),
              [](const ComposedSubstance &a, const ComposedSubstance &b) { return a.id < b.id; });

    // The rows go through the master's own reader: every rule the build enforces holds.
    const QString text = substancesFileText(master.substances);
    MasterSourceResult read =
        readMasterSource(hazardText, QStringLiteral("hazard_statements.tsv"), precautionText,
                         QStringLiteral("precautionary_statements.tsv"), text, QStringLiteral("substances.tsv"));
    if (!read.errors.empty()) {
        QStringList lines;
        for (const MasterError &e : read.errors)
            lines << QStringLiteral("%1行目: %2").arg(e.line).arg(e.message);
        return Failure{QStringLiteral("作った物質マスタが規則に合いません。\n") + lines.join(QLatin1Char('\n'))};
    }
    master.substances = std::move(read.substances);
    // The classification lines in number order.
    QStringList body = classificationLines.mid(2);
    std::stable_sort(body.begin(), body.end(), [](const QString &a, const QString &b) {
        return a.section(QLatin1Char('\t'), 0, 0).toInt() < b.section(QLatin1Char('\t'), 0, 0).toInt();
    });
    master.classificationsText = (classificationLines.mid(0, 2) + body).join(QLatin1Char('\n')) + QLatin1Char('\n');
    master.summary << QStringLiteral(
                          "物質: %1件（NITE の分類による行 %2件、NITE の一覧にないか前の行のままの物質 %3件）")
                          .arg(master.substances.size())
                          .arg(master.substances.size() - keptAsTheyAre.size())
                          .arg(keptAsTheyAre.size())
                   << QStringLiteral("法令の一覧に載っている物質: %1件").arg(legalMatched)
                   << legalListSummary(legal, nite)
                   << QStringLiteral("分類からラベル要素がない物質: %1件").arg(withoutElements)
                   << QStringLiteral("割当てを読めていない区分を含む物質: %1件").arg(unreadRows)
                   << QStringLiteral("絵表示が 6 個以上要るため前の行のままの物質: %1件 %2")
                          .arg(tooManyPictograms.size())
                          .arg(tooManyPictograms.join(QStringLiteral("、")));
    return master;
}

QSet<QString> codesWithBlanks(const QString &statementText)
{
    static const QRegularExpression required(QStringLiteral("\\{[^{}?]+\\}"));
    QSet<QString> codes;
    for (const QString &line : statementText.split(QLatin1Char('\n'))) {
        const QStringList fields = line.trimmed().split(QLatin1Char('\t'));
        if (fields.size() == 2 && !line.startsWith(QLatin1Char('#')) && required.match(fields[1]).hasMatch())
            codes.insert(fields[0]);
    }
    return codes;
}

void setLabelElements(ComposedSubstance &row, const ghs::ComposedLabel &label, const QSet<QString> &blanks)
{
    row.signalWord = label.signalWord;
    for (const QString &pictogram : label.pictograms)
        row.pictures << pictogram + QStringLiteral(".svg");
    row.hazardCodes = label.hazardCodes;
    for (const QString &code : label.precautionCodes)
        if (!blanks.contains(code))
            row.precautionCodes << code;
    row.categories = label.categories;
    row.fillIns = label.fillIns;
}

} // namespace corvane
