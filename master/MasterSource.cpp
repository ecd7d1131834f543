#include "MasterSource.h"
#include "HazardRules.h"
#include "RowChecker.h"
#include "SourceText.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>

// The master's parts: the rules of the statements (HazardRules), the lines and fields of the
// sources (SourceText) and the checks of a row (RowChecker).
using namespace corvane::mastersource;

namespace corvane {
namespace {

constexpr int kSubstanceColumns = 14;
constexpr int kLegalColumns = 6; // 出典版 … 法令備考, after 備考

// "【安全対策】\r\n…" blocks for the P codes, in the order of the groups.
QString composePrecautions(const QStringList &codes, const QStringList &texts)
{
    static const std::array<QString, 4> headings{QStringLiteral("【安全対策】"), QStringLiteral("【応急措置】"),
                                                 QStringLiteral("【保管】"), QStringLiteral("【廃棄】")};
    std::array<QStringList, 4> groups;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        // A combined code goes where its first code goes: P2xx, P3xx, P4xx, P5xx.
        const int group = codeNumbers(codes.at(i)).front() / 100 - 2;
        groups.at(group).append(texts.at(i));
    }
    QStringList blocks;
    for (size_t i = 0; i < groups.size(); ++i) {
        if (!groups[i].isEmpty())
            blocks.append(headings[i] + kLineBreak + groups[i].join(kLineBreak));
    }
    return blocks.join(kLineBreak);
}

std::vector<ComposedSubstance> readSubstances(const QString &text, ErrorSink sink, const StatementTable &hazards,
                                              const StatementTable &precautions)
{
    std::vector<ComposedSubstance> substances;
    const std::vector<SourceLine> lines = dataLines(text);
    if (lines.empty())
        sink.add(0, QStringLiteral("データ行がありません。"));

    int lastId = 0;
    QSet<int> seenIds;
    QHash<QString, int> idByCas;
    QHash<QString, QStringList> sourceIdsByCas;
    QHash<QString, int> idByName;
    // NITE classifies some substances in two forms under one CAS RN (フッ化水素 and its
    // solution), told apart by their IDs: such rows may share the CAS RN.
    const auto twoForms = [&](const QString &cas, const QString &sourceId) {
        return !sourceId.isEmpty() && !sourceIdsByCas.value(cas).contains(sourceId)
               && !sourceIdsByCas.value(cas).contains(QString());
    };
    QHash<int, int> lineById;
    for (const SourceLine &line : lines) {
        RowChecker row(hazards, precautions, sink, line.number);
        const QStringList fields = line.text.split(QLatin1Char('\t'));

        // The ID is checked even on a broken row so that one bad line does not
        // make every later ID look out of sequence.
        bool idOk = false;
        const int id = fields.at(0).trimmed().toInt(&idOk);
        if (!idOk || id <= 0) {
            row.error(QStringLiteral("ID「%1」は正の整数ではありません。").arg(fields.at(0).trimmed()));
        } else {
            if (seenIds.contains(id))
                row.error(QStringLiteral("ID %1 が重複しています。").arg(id));
            else if (id != lastId + 1)
                row.error(QStringLiteral("ID が連続していません（%1 の次が %2）。").arg(lastId).arg(id));
            seenIds.insert(id);
            lastId = std::max(lastId, id);
        }
        // The last column (備考) may be left off; a row with the list's columns has all of them.
        if (fields.size() != kSubstanceColumns && fields.size() != kSubstanceColumns - 1
            && fields.size() != kSubstanceColumns + kLegalColumns) {
            row.error(
                QStringLiteral("列の数が %1 ではありません（%2 列）。").arg(kSubstanceColumns).arg(fields.size()));
            continue;
        }

        ComposedSubstance substance;
        substance.id = id;
        substance.name = fields.at(1).trimmed();
        substance.cas = fields.at(2).trimmed();
        substance.signalWord = fields.at(3).trimmed();

        if (substance.name.isEmpty())
            row.error(QStringLiteral("物質名が空です。"));
        else if (idByName.contains(substance.name))
            row.error(QStringLiteral("物質名「%1」は ID %2 と重複しています。")
                          .arg(substance.name)
                          .arg(idByName.value(substance.name)));
        if (!substance.cas.isEmpty() && !isValidCas(substance.cas))
            row.error(QStringLiteral("CAS 番号「%1」が正しくありません。").arg(substance.cas));
        else if (idByCas.contains(substance.cas) && !twoForms(substance.cas, fields.value(11).trimmed()))
            row.error(QStringLiteral("CAS 番号 %1 は ID %2 と重複しています。")
                          .arg(substance.cas)
                          .arg(idByCas.value(substance.cas)));
        if (!substance.signalWord.isEmpty() && substance.signalWord != kDanger && substance.signalWord != kWarning)
            row.error(
                QStringLiteral("注意喚起語「%1」は「危険」「警告」のどちらでもありません。").arg(substance.signalWord));

        const QList<int> pictograms = row.pictograms(fields.at(4));
        const QStringList hazardCodes = row.statementCodes(fields.at(5), QLatin1Char('H'));
        const QStringList precautionCodes = row.statementCodes(fields.at(6), QLatin1Char('P'));
        row.source(fields.at(10), fields.at(11), fields.at(12), substance);
        substance.categories =
            row.categories(fields.at(7), hazardCodes, substance.sourceKind != SourceKind::Unverified);
        row.readFillIns(fields.at(8));
        substance.aliases = row.aliases(fields.at(9), substance.name);
        substance.sourceNote = fields.value(13).trimmed();
        substance.sourceVersion = fields.value(14).trimmed();
        substance.legalName = fields.value(15).trimmed();
        substance.legalSince = fields.value(16).trimmed();
        substance.labelCutoff = fields.value(17).trimmed();
        substance.sdsCutoff = fields.value(18).trimmed();
        substance.legalNote = fields.value(19).trimmed();
        row.legal(substance);
        row.checkClassification(substance.signalWord, pictograms, hazardCodes, substance.categories);

        QStringList hazardLines;
        for (const QString &code : hazardCodes)
            hazardLines.append(row.filled(code, hazards.value(code)));
        QStringList precautionLines;
        for (const QString &code : precautionCodes)
            precautionLines.append(row.filled(code, precautions.value(code)));
        row.checkFillInsUsed();
        row.checkFinished(QStringLiteral("物質名"), substance.name);
        for (qsizetype i = 0; i < hazardCodes.size(); ++i)
            row.checkFinished(hazardCodes.at(i) + QStringLiteral(" の文"), hazardLines.at(i));
        for (qsizetype i = 0; i < precautionCodes.size(); ++i)
            row.checkFinished(precautionCodes.at(i) + QStringLiteral(" の文"), precautionLines.at(i));
        row.checkRepeatedSentences(hazardCodes + precautionCodes, hazardLines + precautionLines);

        if (!substance.name.isEmpty())
            idByName.insert(substance.name, id);
        if (!substance.cas.isEmpty()) {
            idByCas.insert(substance.cas, id);
            sourceIdsByCas[substance.cas] << fields.value(11).trimmed();
        }
        if (row.failed)
            continue;

        substance.hazards = hazardLines.join(kLineBreak);
        // A label of the name alone would look like an unfinished one: say why it is empty.
        if (hazardCodes.isEmpty() && pictograms.isEmpty() && substance.signalWord.isEmpty())
            substance.hazards = noLabelElementsText();
        substance.precautions = composePrecautions(precautionCodes, precautionLines);
        for (int number : pictograms)
            substance.pictures.append(pictogramName(number) + QStringLiteral(".svg"));
        substance.hazardCodes = hazardCodes;
        substance.precautionCodes = precautionCodes;
        for (const auto &fill : row.fillIns)
            substance.fillIns.append((fill.name.isEmpty() ? fill.code : fill.code + QLatin1Char(':') + fill.name)
                                     + QLatin1Char('=') + fill.value);
        lineById.insert(id, line.number);
        substances.push_back(std::move(substance));
    }

    // An alias may not be another substance's name: the user would pick the wrong one.
    std::vector<ComposedSubstance> kept;
    for (ComposedSubstance &substance : substances) {
        bool clash = false;
        for (const QString &alias : substance.aliases) {
            if (idByName.contains(alias)) {
                sink.add(lineById.value(substance.id),
                         QStringLiteral("別名「%1」は ID %2 の物質名です。").arg(alias).arg(idByName.value(alias)));
                clash = true;
            }
        }
        if (!clash)
            kept.push_back(std::move(substance));
    }
    return kept;
}

QString readUtf8File(const QString &path, std::vector<MasterError> &errors)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errors.push_back({path, 0, QStringLiteral("ファイルを開けません（%1）。").arg(file.errorString())});
        return {};
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(file.readAll());
    if (decoder.hasError())
        errors.push_back({path, 0, QStringLiteral("UTF-8 として読めない文字があります。")});
    return text;
}

} // namespace

QString noLabelElementsText()
{
    return QStringLiteral("GHS 分類によるラベル要素（絵表示・注意喚起語・危険有害性情報）はありません。");
}

QString sourceKindName(SourceKind kind)
{
    switch (kind) {
    case SourceKind::Nite: return QStringLiteral("NITE");
    case SourceKind::Mhlw: return QStringLiteral("MHLW");
    case SourceKind::Eu: return QStringLiteral("EU");
    case SourceKind::Unverified: break;
    }
    return QStringLiteral("未確認");
}

QStringList substanceSourceColumns()
{
    return {QStringLiteral("ID"),         QStringLiteral("物質名"),   QStringLiteral("CAS"),
            QStringLiteral("注意喚起語"), QStringLiteral("絵表示"),   QStringLiteral("H"),
            QStringLiteral("P"),          QStringLiteral("区分"),     QStringLiteral("差込"),
            QStringLiteral("別名"),       QStringLiteral("出典"),     QStringLiteral("出典ID"),
            QStringLiteral("出典年"),     QStringLiteral("備考"),     QStringLiteral("出典版"),
            QStringLiteral("法令名称"),   QStringLiteral("義務開始"), QStringLiteral("ラベル裾切値"),
            QStringLiteral("SDS裾切値"),  QStringLiteral("法令備考")};
}

QString substanceSourceLine(const ComposedSubstance &s)
{
    QStringList pictograms;
    for (const QString &picture : s.pictures)
        pictograms.append(QString(picture).remove(QStringLiteral(".svg")));
    const QString comma = QStringLiteral(",");
    return QStringList{QString::number(s.id),
                       s.name,
                       s.cas,
                       s.signalWord,
                       pictograms.join(comma),
                       s.hazardCodes.join(comma),
                       s.precautionCodes.join(comma),
                       s.categories.join(comma),
                       s.fillIns.join(kListSeparator),
                       s.aliases.join(kListSeparator),
                       sourceKindName(s.sourceKind),
                       s.sourceId,
                       s.sourceYear > 0 ? QString::number(s.sourceYear) : QString(),
                       s.sourceNote}
               .join(QLatin1Char('\t'))
           + (s.hasLegalColumns() ? QLatin1Char('\t')
                                        + QStringList{s.sourceVersion, s.legalName, s.legalSince, s.labelCutoff,
                                                      s.sdsCutoff, s.legalNote}
                                              .join(QLatin1Char('\t'))
                                  : QString());
}

MasterSourceResult readMasterSource(const QString &hazardText, const QString &hazardFile, const QString &precautionText,
                                    const QString &precautionFile, const QString &substanceText,
                                    const QString &substanceFile)
{
    MasterSourceResult result;
    const StatementTable hazards = readStatements(hazardText, ErrorSink(result.errors, hazardFile), QLatin1Char('H'));
    const StatementTable precautions =
        readStatements(precautionText, ErrorSink(result.errors, precautionFile), QLatin1Char('P'));
    result.substances = readSubstances(substanceText, ErrorSink(result.errors, substanceFile), hazards, precautions);
    return result;
}

MasterSourceResult readMasterFolder(const QString &folder)
{
    const QDir dir(folder);
    const QString hazardFile = dir.filePath(QStringLiteral("hazard_statements.tsv"));
    const QString precautionFile = dir.filePath(QStringLiteral("precautionary_statements.tsv"));
    const QString substanceFile = dir.filePath(QStringLiteral("substances.tsv"));

    std::vector<MasterError> fileErrors;
    const QString hazardText = readUtf8File(hazardFile, fileErrors);
    const QString precautionText = readUtf8File(precautionFile, fileErrors);
    const QString substanceText = readUtf8File(substanceFile, fileErrors);

    MasterSourceResult result =
        readMasterSource(hazardText, hazardFile, precautionText, precautionFile, substanceText, substanceFile);
    result.errors.insert(result.errors.begin(), fileErrors.begin(), fileErrors.end());
    return result;
}

} // namespace corvane
