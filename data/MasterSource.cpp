#include "MasterSource.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>

namespace corvane {
namespace {

const QString kDanger = QStringLiteral("危険");
const QString kWarning = QStringLiteral("警告");
const QString kLineBreak = QStringLiteral("\r\n");
constexpr int kMaxPictograms = 5;
constexpr int kSubstanceColumns = 7;

// ---------------------------------------------------------------------------
// What each hazard statement demands of a label.

// The signal word a statement calls for. `Either` marks statements shared by
// a 危険 and a 警告 category (e.g. H228 for flammable solids 1 and 2), so the
// code alone cannot tell which word is right.
enum class Signal { None, Warning, Danger, Either };

// Why a statement asks for the exclamation mark; the precedence rules drop it
// for some reasons and keep it for others.
enum class Ghs07Reason { None, AcuteToxicity, Irritation, SkinSensitisation, Other };

struct HazardRule {
    int code;
    Signal signal;
    int pictogram;  // 1..9 for GHS01..GHS09; 0 when no pictogram goes with it
    Ghs07Reason ghs07 = Ghs07Reason::None;
};

constexpr auto D = Signal::Danger;
constexpr auto W = Signal::Warning;
constexpr auto E = Signal::Either;
constexpr auto N = Signal::None;

constexpr std::array kHazardRules{
    // Physical hazards
    HazardRule{200, D, 1}, HazardRule{201, D, 1}, HazardRule{202, D, 1}, HazardRule{203, D, 1},
    HazardRule{204, W, 1}, HazardRule{205, D, 0}, HazardRule{220, D, 2}, HazardRule{221, W, 0},
    HazardRule{222, D, 2}, HazardRule{223, W, 2}, HazardRule{224, D, 2}, HazardRule{225, D, 2},
    HazardRule{226, W, 2}, HazardRule{227, W, 0}, HazardRule{228, E, 2}, HazardRule{229, W, 0},
    HazardRule{230, N, 0}, HazardRule{231, N, 0}, HazardRule{232, D, 2}, HazardRule{240, D, 1},
    HazardRule{241, D, 1}, HazardRule{242, E, 2}, HazardRule{250, D, 2}, HazardRule{251, D, 2},
    HazardRule{252, W, 2}, HazardRule{260, D, 2}, HazardRule{261, E, 2}, HazardRule{270, D, 3},
    HazardRule{271, D, 3}, HazardRule{272, E, 3}, HazardRule{280, W, 4}, HazardRule{281, W, 4},
    HazardRule{290, W, 5},
    // Health hazards
    HazardRule{300, D, 6}, HazardRule{301, D, 6}, HazardRule{302, W, 7, Ghs07Reason::AcuteToxicity},
    HazardRule{303, W, 0}, HazardRule{304, D, 8}, HazardRule{305, W, 0}, HazardRule{310, D, 6},
    HazardRule{311, D, 6}, HazardRule{312, W, 7, Ghs07Reason::AcuteToxicity}, HazardRule{313, W, 0},
    HazardRule{314, D, 5}, HazardRule{315, W, 7, Ghs07Reason::Irritation}, HazardRule{316, W, 0},
    HazardRule{317, W, 7, Ghs07Reason::SkinSensitisation}, HazardRule{318, D, 5},
    HazardRule{319, W, 7, Ghs07Reason::Irritation}, HazardRule{320, W, 0}, HazardRule{330, D, 6},
    HazardRule{331, D, 6}, HazardRule{332, W, 7, Ghs07Reason::AcuteToxicity}, HazardRule{333, W, 0},
    HazardRule{334, D, 8}, HazardRule{335, W, 7, Ghs07Reason::Other},
    HazardRule{336, W, 7, Ghs07Reason::Other}, HazardRule{340, D, 8}, HazardRule{341, W, 8},
    HazardRule{350, D, 8}, HazardRule{351, W, 8}, HazardRule{360, D, 8}, HazardRule{361, W, 8},
    HazardRule{362, N, 0}, HazardRule{370, D, 8}, HazardRule{371, W, 8}, HazardRule{372, D, 8},
    HazardRule{373, W, 8},
    // Environmental hazards
    HazardRule{400, W, 9}, HazardRule{401, N, 0}, HazardRule{402, N, 0}, HazardRule{410, W, 9},
    HazardRule{411, N, 9}, HazardRule{412, N, 0}, HazardRule{413, N, 0},
    HazardRule{420, W, 7, Ghs07Reason::Other},
};

const HazardRule *hazardRule(int code)
{
    const auto it = std::find_if(kHazardRules.begin(), kHazardRules.end(),
                                 [code](const HazardRule &rule) { return rule.code == code; });
    return it == kHazardRules.end() ? nullptr : &*it;
}

QString pictogramName(int number)
{
    return QStringLiteral("GHS%1").arg(number, 2, 10, QLatin1Char('0'));
}

// ---------------------------------------------------------------------------
// Reading lines and fields.

struct SourceLine {
    int number;    // 1-based line number in the file
    QString text;
};

// Data lines of a file: BOM dropped, any of CR LF, LF or CR ends a line,
// blank lines and '#' comments skipped.
std::vector<SourceLine> dataLines(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(kLineBreak, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    std::vector<SourceLine> lines;
    const QStringList raw = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QString trimmed = raw.at(i).trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        lines.push_back({int(i + 1), raw.at(i)});
    }
    return lines;
}

class ErrorSink {
public:
    ErrorSink(std::vector<MasterError> &errors, QString file) : m_errors(errors), m_file(std::move(file)) {}
    void add(int line, const QString &message) { m_errors.push_back({m_file, line, message}); }

private:
    std::vector<MasterError> &m_errors;
    QString m_file;
};

// A statement code such as "H225" or "P305+P351+P338" for the given letter.
bool isStatementCode(const QString &code, QChar letter)
{
    static const QRegularExpression h(QStringLiteral("^H[0-9]{3}(\\+H[0-9]{3})*$"));
    static const QRegularExpression p(QStringLiteral("^P[0-9]{3}(\\+P[0-9]{3})*$"));
    return (letter == QLatin1Char('H') ? h : p).match(code).hasMatch();
}

// The three-digit numbers of a (possibly combined) statement code.
std::vector<int> codeNumbers(const QString &code)
{
    std::vector<int> numbers;
    for (const QString &part : code.split(QLatin1Char('+')))
        numbers.push_back(part.mid(1).toInt());
    return numbers;
}

using StatementTable = QHash<QString, QString>;

StatementTable readStatements(const QString &text, ErrorSink sink, QChar letter)
{
    StatementTable table;
    const std::vector<SourceLine> lines = dataLines(text);
    if (lines.empty())
        sink.add(0, QStringLiteral("データ行がありません。"));

    for (const SourceLine &line : lines) {
        const QStringList fields = line.text.split(QLatin1Char('\t'));
        if (fields.size() != 2) {
            sink.add(line.number, QStringLiteral("「コード<TAB>文」の 2 列ではありません（%1 列）。").arg(fields.size()));
            continue;
        }
        const QString code = fields.at(0).trimmed();
        const QString statement = fields.at(1).trimmed();
        if (!isStatementCode(code, letter)) {
            sink.add(line.number, QStringLiteral("コード「%1」は %2 コードの形ではありません。").arg(code, letter));
            continue;
        }
        if (statement.isEmpty()) {
            sink.add(line.number, QStringLiteral("%1 の文が空です。").arg(code));
            continue;
        }
        if (table.contains(code)) {
            sink.add(line.number, QStringLiteral("%1 が重複しています。").arg(code));
            continue;
        }
        table.insert(code, statement);
    }
    return table;
}

// Comma-separated items, each trimmed; an empty field is an empty list.
std::optional<QStringList> splitList(const QString &field)
{
    if (field.trimmed().isEmpty())
        return QStringList();
    QStringList items;
    for (const QString &item : field.split(QLatin1Char(',')))
        items.append(item.trimmed());
    if (items.contains(QString()))
        return std::nullopt;
    return items;
}

bool isValidCas(const QString &cas)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{2,7})-([0-9]{2})-([0-9])$"));
    const QRegularExpressionMatch match = pattern.match(cas);
    if (!match.hasMatch())
        return false;
    // The check digit is the weighted sum of the other digits, weights counted from the right.
    const QString digits = match.captured(1) + match.captured(2);
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i)
        sum += int(digits.size() - i) * digits.at(i).digitValue();
    return sum % 10 == match.captured(3).toInt();
}

// ---------------------------------------------------------------------------
// One row of substances.tsv.

struct RowChecker {
    const StatementTable &hazardTable;
    const StatementTable &precautionTable;
    ErrorSink sink;
    int line = 0;
    bool failed = false;

    void error(const QString &message)
    {
        sink.add(line, message);
        failed = true;
    }

    // Statement codes of one column: known, of the right form, none twice.
    QStringList statementCodes(const QString &field, QChar letter)
    {
        const std::optional<QStringList> codes = splitList(field);
        if (!codes) {
            error(QStringLiteral("%1 の列に空の項目があります。").arg(letter));
            return {};
        }
        const StatementTable &table = letter == QLatin1Char('H') ? hazardTable : precautionTable;
        QSet<int> seen;
        QStringList accepted;
        for (const QString &code : *codes) {
            if (!isStatementCode(code, letter)) {
                error(QStringLiteral("「%1」は %2 コードではありません。").arg(code, letter));
                continue;
            }
            if (!table.contains(code)) {
                error(QStringLiteral("%1 は%2の一覧にありません。")
                          .arg(code, letter == QLatin1Char('H') ? QStringLiteral("危険有害性情報")
                                                                 : QStringLiteral("注意書き")));
                continue;
            }
            const std::vector<int> numbers = codeNumbers(code);
            if (letter == QLatin1Char('P') && (numbers.front() < 200 || numbers.front() >= 600)) {
                error(QStringLiteral("%1 は物質のラベルには使いません（P2xx〜P5xx のみ）。").arg(code));
                continue;
            }
            if (accepted.contains(code)) {
                error(QStringLiteral("%1 が重複しています。").arg(code));
                continue;
            }
            // A hazard may be stated once, alone or inside a combined statement. Precautions
            // may repeat a part: P310 stands beside P301+P310 for the other routes of exposure.
            bool repeated = false;
            for (int number : numbers) {
                if (letter == QLatin1Char('H') && seen.contains(number)) {
                    error(QStringLiteral("H%1 が重複しています。").arg(number));
                    repeated = true;
                }
                seen.insert(number);
            }
            if (!repeated)
                accepted.append(code);
        }
        return accepted;
    }

    QList<int> pictograms(const QString &field)
    {
        static const QRegularExpression pattern(QStringLiteral("^GHS0([1-9])$"));
        const std::optional<QStringList> names = splitList(field);
        if (!names) {
            error(QStringLiteral("絵表示の列に空の項目があります。"));
            return {};
        }
        QList<int> numbers;
        for (const QString &name : *names) {
            const QRegularExpressionMatch match = pattern.match(name);
            if (!match.hasMatch()) {
                error(QStringLiteral("絵表示「%1」は GHS01〜GHS09 のどれでもありません。").arg(name));
                continue;
            }
            const int number = match.captured(1).toInt();
            if (numbers.contains(number))
                error(QStringLiteral("絵表示 %1 が重複しています。").arg(name));
            else if (!numbers.isEmpty() && number < numbers.back())
                error(QStringLiteral("絵表示は GHS 番号の順に並べてください（%1）。").arg(name));
            numbers.append(number);
        }
        if (numbers.size() > kMaxPictograms)
            error(QStringLiteral("絵表示が %1 個あります（最大 %2 個）。").arg(numbers.size()).arg(kMaxPictograms));
        return numbers;
    }

    void checkSignalWord(const QString &signalWord, const std::vector<const HazardRule *> &rules)
    {
        QStringList dangerCodes;
        bool mayBeDanger = false;
        bool needsWord = false;
        for (const HazardRule *rule : rules) {
            if (rule->signal == Signal::Danger)
                dangerCodes.append(QStringLiteral("H%1").arg(rule->code));
            mayBeDanger = mayBeDanger || rule->signal == Signal::Danger || rule->signal == Signal::Either;
            needsWord = needsWord || rule->signal != Signal::None;
        }
        if (!dangerCodes.isEmpty() && signalWord != kDanger)
            error(QStringLiteral("%1 があるので注意喚起語は「危険」です。").arg(dangerCodes.join(QLatin1Char(','))));
        else if (signalWord == kDanger && !mayBeDanger)
            error(QStringLiteral("注意喚起語が「危険」ですが、「危険」に当たる危険有害性情報がありません。"));
        else if (needsWord && signalWord.isEmpty())
            error(QStringLiteral("注意喚起語がありません。"));
        else if (!needsWord && !signalWord.isEmpty())
            error(QStringLiteral("注意喚起語の要る危険有害性情報がないのに「%1」があります。").arg(signalWord));
    }

    // The pictograms the hazard statements call for, after the precedence
    // rules: no exclamation mark for acute toxicity beside the skull, none for
    // irritation beside the corrosion sign, and none for irritation or skin
    // sensitisation beside the health hazard for respiratory sensitisation.
    void checkPictograms(const QList<int> &listed, const std::vector<const HazardRule *> &rules)
    {
        QHash<int, QStringList> required;  // pictogram -> codes that call for it
        bool respiratorySensitiser = false;
        bool massExplosionInFire = false;
        for (const HazardRule *rule : rules) {
            if (rule->pictogram != 0 && rule->pictogram != 7)
                required[rule->pictogram].append(QStringLiteral("H%1").arg(rule->code));
            respiratorySensitiser = respiratorySensitiser || rule->code == 334;
            massExplosionInFire = massExplosionInFire || rule->code == 205;
        }
        const bool skull = required.contains(6);
        const bool corrosion = required.contains(5);
        bool exclamationDropped = false;
        for (const HazardRule *rule : rules) {
            bool keep = true;
            switch (rule->ghs07) {
            case Ghs07Reason::None: continue;
            case Ghs07Reason::AcuteToxicity: keep = !skull; break;
            case Ghs07Reason::Irritation: keep = !corrosion && !respiratorySensitiser; break;
            case Ghs07Reason::SkinSensitisation: keep = !respiratorySensitiser; break;
            case Ghs07Reason::Other: break;
            }
            if (keep)
                required[7].append(QStringLiteral("H%1").arg(rule->code));
            else
                exclamationDropped = true;
        }

        for (auto it = required.cbegin(); it != required.cend(); ++it) {
            if (!listed.contains(it.key()))
                error(QStringLiteral("%1 があるので絵表示 %2 が必要です。")
                          .arg(it.value().join(QLatin1Char(',')), pictogramName(it.key())));
        }
        for (int number : listed) {
            if (required.contains(number) || (number == 1 && massExplosionInFire))
                continue;
            if (number == 7 && exclamationDropped)
                error(QStringLiteral("GHS07 は、優先する絵表示（GHS05, GHS06 又は呼吸器感作性の GHS08）があるので付けません。"));
            else
                error(QStringLiteral("絵表示 %1 に当たる危険有害性情報がありません。").arg(pictogramName(number)));
        }
    }

    void checkClassification(const QString &signalWord, const QList<int> &pictograms,
                             const QStringList &hazardCodes)
    {
        std::vector<const HazardRule *> rules;
        for (const QString &code : hazardCodes) {
            for (int number : codeNumbers(code)) {
                if (const HazardRule *rule = hazardRule(number))
                    rules.push_back(rule);
            }
        }
        checkSignalWord(signalWord, rules);
        checkPictograms(pictograms, rules);
    }
};

// "【安全対策】\r\n…" blocks for the P codes, in the order of the groups.
QString composePrecautions(const QStringList &codes, const StatementTable &table)
{
    static const std::array<QString, 4> headings{
        QStringLiteral("【安全対策】"), QStringLiteral("【応急措置】"),
        QStringLiteral("【保管】"), QStringLiteral("【廃棄】")};
    std::array<QStringList, 4> groups;
    for (const QString &code : codes) {
        // A combined code goes where its first code goes: P2xx, P3xx, P4xx, P5xx.
        const int group = codeNumbers(code).front() / 100 - 2;
        groups.at(group).append(table.value(code));
    }
    QStringList blocks;
    for (size_t i = 0; i < groups.size(); ++i) {
        if (!groups[i].isEmpty())
            blocks.append(headings[i] + kLineBreak + groups[i].join(kLineBreak));
    }
    return blocks.join(kLineBreak);
}

std::vector<ComposedSubstance> readSubstances(const QString &text, ErrorSink sink,
                                              const StatementTable &hazards,
                                              const StatementTable &precautions)
{
    std::vector<ComposedSubstance> substances;
    const std::vector<SourceLine> lines = dataLines(text);
    if (lines.empty())
        sink.add(0, QStringLiteral("データ行がありません。"));

    int lastId = 0;
    QSet<int> seenIds;
    QHash<QString, int> idByCas;
    QHash<QString, int> idByName;
    for (const SourceLine &line : lines) {
        RowChecker row{hazards, precautions, sink, line.number};
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
        if (fields.size() != kSubstanceColumns) {
            row.error(QStringLiteral("列の数が %1 ではありません（%2 列）。").arg(kSubstanceColumns).arg(fields.size()));
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
            row.error(QStringLiteral("物質名「%1」は ID %2 と重複しています。").arg(substance.name).arg(idByName.value(substance.name)));
        if (!substance.cas.isEmpty() && !isValidCas(substance.cas))
            row.error(QStringLiteral("CAS 番号「%1」が正しくありません。").arg(substance.cas));
        else if (idByCas.contains(substance.cas))
            row.error(QStringLiteral("CAS 番号 %1 は ID %2 と重複しています。").arg(substance.cas).arg(idByCas.value(substance.cas)));
        if (!substance.signalWord.isEmpty() && substance.signalWord != kDanger && substance.signalWord != kWarning)
            row.error(QStringLiteral("注意喚起語「%1」は「危険」「警告」のどちらでもありません。").arg(substance.signalWord));

        const QList<int> pictograms = row.pictograms(fields.at(4));
        const QStringList hazardCodes = row.statementCodes(fields.at(5), QLatin1Char('H'));
        const QStringList precautionCodes = row.statementCodes(fields.at(6), QLatin1Char('P'));
        row.checkClassification(substance.signalWord, pictograms, hazardCodes);

        if (!substance.name.isEmpty())
            idByName.insert(substance.name, id);
        if (!substance.cas.isEmpty())
            idByCas.insert(substance.cas, id);
        if (row.failed)
            continue;

        QStringList hazardLines;
        for (const QString &code : hazardCodes)
            hazardLines.append(hazards.value(code));
        substance.hazards = hazardLines.join(kLineBreak);
        substance.precautions = composePrecautions(precautionCodes, precautions);
        for (int number : pictograms)
            substance.pictures.append(pictogramName(number) + QStringLiteral(".svg"));
        substances.push_back(std::move(substance));
    }
    return substances;
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

MasterSourceResult readMasterSource(const QString &hazardText, const QString &hazardFile,
                                    const QString &precautionText, const QString &precautionFile,
                                    const QString &substanceText, const QString &substanceFile)
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

    MasterSourceResult result = readMasterSource(hazardText, hazardFile, precautionText, precautionFile,
                                                 substanceText, substanceFile);
    result.errors.insert(result.errors.begin(), fileErrors.begin(), fileErrors.end());
    return result;
}

} // namespace corvane
