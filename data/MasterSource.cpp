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
constexpr int kSubstanceColumns = 14;
constexpr int kLegalColumns = 6; // 出典版 … 法令備考, after 備考
const QChar kListSeparator = QLatin1Char('|');  // between fill-ins and between aliases

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
    int secondPictogram = 0;  // H241 (type B) calls for both GHS01 and GHS02
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
    HazardRule{241, D, 1, Ghs07Reason::None, 2}, HazardRule{242, E, 2}, HazardRule{250, D, 2}, HazardRule{251, D, 2},
    HazardRule{252, W, 2}, HazardRule{260, D, 2}, HazardRule{261, E, 2}, HazardRule{270, D, 3},
    HazardRule{271, D, 3}, HazardRule{272, E, 3}, HazardRule{280, W, 4}, HazardRule{281, W, 4},
    HazardRule{290, W, 5},
    // Health hazards
    HazardRule{300, D, 6}, HazardRule{301, D, 6}, HazardRule{302, W, 7, Ghs07Reason::AcuteToxicity},
    HazardRule{303, W, 0}, HazardRule{304, D, 8}, HazardRule{305, W, 8}, HazardRule{310, D, 6},
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

// The statements whose signal word depends on the category, and which
// categories call for 危険 and which for 警告.
struct HazardCategories {
    QString code;
    QStringList danger;
    QStringList warning;
};

const std::vector<HazardCategories> &hazardCategories()
{
    static const std::vector<HazardCategories> table{
        {QStringLiteral("H228"), {QStringLiteral("1")}, {QStringLiteral("2")}},  // flammable solids
        {QStringLiteral("H242"), {QStringLiteral("C"), QStringLiteral("D")},   // self-reactive substances,
         {QStringLiteral("E"), QStringLiteral("F")}},                          // organic peroxides: type
        {QStringLiteral("H261"), {QStringLiteral("2")}, {QStringLiteral("3")}},  // water-reactive
        {QStringLiteral("H272"), {QStringLiteral("2")}, {QStringLiteral("3")}},  // oxidising liquids, solids
    };
    return table;
}

const HazardCategories *categoriesOf(const QString &code)
{
    for (const HazardCategories &entry : hazardCategories())
        if (entry.code == code)
            return &entry;
    return nullptr;
}

QString categoryCodes()
{
    QStringList codes;
    for (const HazardCategories &entry : hazardCategories())
        codes.append(entry.code);
    return codes.join(QLatin1Char(','));
}

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

// A blank in a statement's text, filled per substance: "{臓器}" must be filled, "{経路?}"
// may be (it prints nothing when it is not).
const QRegularExpression &placeholderPattern()
{
    static const QRegularExpression pattern(QStringLiteral("\\{([^{}?|=:\\t]+)(\\?)?\\}"));
    return pattern;
}

// The first mark of a blank left for the supplier ("…", "...", "○○", "（　）" and the
// like) in a printed text, or an empty string.
QString unfilledBlank(const QString &text)
{
    static const QRegularExpression blank(QStringLiteral(
        "…|‥|\\.\\.\\.|・・・|[○〇◯]{2,}|[△□×＿_]{2,}|[（(][\\s　]*[）)]|[【\\[［][\\s　]*[】\\]］]|[{}]"));
    const QRegularExpressionMatch match = blank.match(text);
    return match.hasMatch() ? match.captured() : QString();
}

// The sentences of a printed text: its lines, cut after each "。".
QStringList sentences(const QString &text)
{
    QStringList result;
    for (const QString &line : text.split(kLineBreak)) {
        for (QString sentence : line.split(QStringLiteral("。"))) {
            sentence = sentence.trimmed();
            if (!sentence.isEmpty())
                result.append(sentence);
        }
    }
    return result;
}

bool placeholdersWellFormed(QString text)
{
    text.remove(placeholderPattern());
    return !text.contains(QLatin1Char('{')) && !text.contains(QLatin1Char('}'));
}

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
        if (!placeholdersWellFormed(statement) || !unfilledBlank(QString(statement).remove(placeholderPattern())).isEmpty()) {
            sink.add(line.number, QStringLiteral("%1 の空欄は {名前}（埋めなくてよいものは {名前?}）で書いてください。").arg(code));
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

    // The signal word is that of the most severe hazard: 危険 where any statement (or, for
    // statements shared by two categories, the category written in 区分) calls for it.
    void checkSignalWord(const QString &signalWord, const std::vector<const HazardRule *> &rules,
                         const QStringList &categories)
    {
        QStringList dangerCodes;
        bool needsWord = false;
        for (const HazardRule *rule : rules) {
            const QString code = QStringLiteral("H%1").arg(rule->code);
            Signal signal = rule->signal;
            if (signal == Signal::Either) {
                const HazardCategories *known = categoriesOf(code);
                const QString written = categories.filter(QRegularExpression(QStringLiteral("^%1=").arg(code))).value(0).section(QLatin1Char('='), 1);
                if (written.isEmpty()) {
                    error(QStringLiteral("%1 の注意喚起語は区分で決まります。区分の列に %1=%2 の形で区分を書いてください。")
                              .arg(code, (known->danger + known->warning).join(QLatin1Char('/'))));
                    continue;
                }
                // A category not read ("?", unverified rows only) asks for the stronger word.
                signal = known->danger.contains(written) || written == QLatin1String("?") ? Signal::Danger : Signal::Warning;
                if (signal == Signal::Danger)
                    dangerCodes.append(code + QStringLiteral("（区分 ") + written + QStringLiteral("）"));
            } else if (signal == Signal::Danger) {
                dangerCodes.append(code);
            }
            needsWord = needsWord || signal != Signal::None;
        }
        if (!dangerCodes.isEmpty() && signalWord != kDanger)
            error(QStringLiteral("%1 があるので注意喚起語は「危険」です。").arg(dangerCodes.join(QLatin1Char(','))));
        else if (dangerCodes.isEmpty() && signalWord == kDanger)
            error(QStringLiteral("注意喚起語が「危険」ですが、「危険」に当たる危険有害性情報（区分）がありません。"));
        else if (needsWord && signalWord.isEmpty())
            error(QStringLiteral("注意喚起語がありません。"));
        else if (!needsWord && !signalWord.isEmpty())
            error(QStringLiteral("注意喚起語の要る危険有害性情報がないのに「%1」があります。").arg(signalWord));
    }

    // The pictograms the hazard statements call for, after the precedence rules:
    // beside the skull (GHS06) no exclamation mark at all; beside the corrosion sign (GHS05)
    // none for skin or eye irritation; beside the health hazard for respiratory
    // sensitisation (H334) none for skin sensitisation or skin or eye irritation.
    void checkPictograms(const QList<int> &listed, const std::vector<const HazardRule *> &rules)
    {
        QHash<int, QStringList> required;  // pictogram -> codes that call for it
        bool respiratorySensitiser = false;
        for (const HazardRule *rule : rules) {
            for (int pictogram : {rule->pictogram, rule->secondPictogram})
                if (pictogram != 0 && pictogram != 7)
                    required[pictogram].append(QStringLiteral("H%1").arg(rule->code));
            respiratorySensitiser = respiratorySensitiser || rule->code == 334;
        }
        const bool skull = required.contains(6);
        const bool corrosion = required.contains(5);
        QString dropReason;
        for (const HazardRule *rule : rules) {
            QString reason;
            switch (rule->ghs07) {
            case Ghs07Reason::None: continue;
            case Ghs07Reason::AcuteToxicity:
            case Ghs07Reason::Other:
                break;
            case Ghs07Reason::Irritation:
                if (corrosion)
                    reason = QStringLiteral("GHS05 があるので皮膚・眼の刺激性には");
                else if (respiratorySensitiser)
                    reason = QStringLiteral("呼吸器感作性の GHS08 があるので皮膚・眼の刺激性には");
                break;
            case Ghs07Reason::SkinSensitisation:
                if (respiratorySensitiser)
                    reason = QStringLiteral("呼吸器感作性の GHS08 があるので皮膚感作性には");
                break;
            }
            if (skull)
                reason = QStringLiteral("GHS06 があるので");
            if (reason.isEmpty())
                required[7].append(QStringLiteral("H%1").arg(rule->code));
            else
                dropReason = reason;
        }

        for (auto it = required.cbegin(); it != required.cend(); ++it) {
            if (!listed.contains(it.key()))
                error(QStringLiteral("%1 があるので絵表示 %2 が必要です。")
                          .arg(it.value().join(QLatin1Char(',')), pictogramName(it.key())));
        }
        for (int number : listed) {
            if (required.contains(number))
                continue;
            if (number == 7 && !dropReason.isEmpty())
                error(QStringLiteral("GHS07 は付けません（%1付けない）。").arg(dropReason));
            else
                error(QStringLiteral("絵表示 %1 に当たる危険有害性情報がありません。").arg(pictogramName(number)));
        }
    }

    std::pair<QString, QString> currentCodes; // the codes of the two sentences being compared
    bool isPrecaution(const QString &, const QString &) const
    {
        return currentCodes.first.startsWith(QLatin1Char('P')) || currentCodes.second.startsWith(QLatin1Char('P'));
    }

    // Printed text must be finished: no blank left for the supplier to fill in.
    void checkFinished(const QString &what, const QString &text)
    {
        if (const QString blank = unfilledBlank(text); !blank.isEmpty())
            error(QStringLiteral("%1に埋められていない空欄「%2」があります。").arg(what, blank));
    }

    // No sentence may be printed twice in one substance's statements, whole or as the last
    // clause of a longer one (「日光から遮断し、換気の良い場所で保管すること」 repeats
    // 「換気の良い場所で保管すること」).
    void checkRepeatedSentences(const QStringList &codes, const QStringList &texts)
    {
        // A hazard statement may end like another (「…による呼吸器の障害」 beside 「呼吸器の障害」:
        // repeated and single exposure); only precautions repeat a clause.
        const auto repeats = [&](const QString &a, const QString &b) {
            return a == b || ((a.endsWith(QStringLiteral("、") + b) || b.endsWith(QStringLiteral("、") + a)) && isPrecaution(a, b));
        };
        std::vector<std::pair<QString, QString>> seen;  // sentence, code
        for (qsizetype i = 0; i < codes.size(); ++i) {
            for (const QString &sentence : sentences(texts.at(i))) {
                for (const auto &[earlier, code] : seen) {
                    currentCodes = {code, codes.at(i)};
                    if (!repeats(earlier, sentence))
                        continue;
                    if (code == codes.at(i))
                        error(QStringLiteral("「%1」が %2 の中で二度あります。").arg(sentence, code));
                    else
                        error(QStringLiteral("「%1」が %2 と %3 の二度印刷されます。一つにまとめてください。")
                                  .arg(sentence.size() < earlier.size() ? sentence : earlier, code, codes.at(i)));
                    break;
                }
                seen.emplace_back(sentence, codes.at(i));
            }
        }
    }

    // "H228=1,H272=3": the category of each statement whose signal word depends on it.
    QStringList categories(const QString &field, const QStringList &hazardCodes, bool sourced)
    {
        const std::optional<QStringList> items = splitList(field);
        if (!items) {
            error(QStringLiteral("区分の列に空の項目があります。"));
            return {};
        }
        QStringList listedParts;
        for (const QString &code : hazardCodes)
            listedParts.append(code.split(QLatin1Char('+')));
        QStringList accepted;
        QSet<QString> seen;
        for (const QString &item : *items) {
            const QString code = item.section(QLatin1Char('='), 0, 0).trimmed();
            const QString category = item.section(QLatin1Char('='), 1).trimmed();
            const HazardCategories *known = categoriesOf(code);
            if (!item.contains(QLatin1Char('=')) || !known) {
                error(QStringLiteral("区分「%1」は「H228=1」の形で、注意喚起語が区分で決まる H コード（%2）のものでなければなりません。")
                          .arg(item, categoryCodes()));
                continue;
            }
            if (category == QLatin1String("?") && !sourced) {
                // An unverified row may say that the category was not read.
            } else if (!known->danger.contains(category) && !known->warning.contains(category)) {
                error(QStringLiteral("%1 の区分「%2」はありません（%3）。")
                          .arg(code, category, (known->danger + known->warning).join(QLatin1Char('/'))));
                continue;
            }
            if (seen.contains(code)) {
                error(QStringLiteral("%1 の区分が重複しています。").arg(code));
                continue;
            }
            if (!listedParts.contains(code)) {
                error(QStringLiteral("区分を書いた %1 が H の列にありません。").arg(code));
                continue;
            }
            seen.insert(code);
            accepted.append(code + QLatin1Char('=') + category);
        }
        return accepted;
    }

    QStringList aliases(const QString &field, const QString &name)
    {
        QStringList accepted;
        if (field.trimmed().isEmpty())
            return accepted;
        for (const QString &item : field.split(kListSeparator)) {
            const QString alias = item.trimmed();
            if (alias.isEmpty())
                error(QStringLiteral("別名の列に空の項目があります。"));
            else if (alias == name || accepted.contains(alias))
                error(QStringLiteral("別名「%1」が重複しています。").arg(alias));
            else
                accepted.append(alias);
        }
        return accepted;
    }

    void source(const QString &kindField, const QString &idField, const QString &yearField, ComposedSubstance &substance)
    {
        static const QRegularExpression euIndex(QStringLiteral("^[0-9]{3}-[0-9]{3}-[0-9]{2}-[0-9X]$"));
        static const QRegularExpression yearPattern(QStringLiteral("^(19[89][0-9]|20[0-9][0-9])$"));
        const QString kind = kindField.trimmed();
        const QString id = idField.trimmed();
        const QString year = yearField.trimmed();
        std::optional<SourceKind> parsed;
        for (SourceKind k : {SourceKind::Unverified, SourceKind::Nite, SourceKind::Mhlw, SourceKind::Eu})
            if (kind == sourceKindName(k))
                parsed = k;
        if (!parsed) {
            error(QStringLiteral("出典「%1」は NITE, MHLW, EU, 未確認 のどれでもありません。").arg(kind));
            return;
        }
        substance.sourceKind = *parsed;
        substance.sourceId = id;
        if (*parsed == SourceKind::Unverified) {
            if (!id.isEmpty() || !year.isEmpty())
                error(QStringLiteral("出典が「未確認」の行に出典 ID や年を書かないでください。"));
            return;
        }
        if (id.isEmpty())
            error(QStringLiteral("出典 %1 の ID がありません。").arg(kind));
        else if (*parsed == SourceKind::Eu && !euIndex.match(id).hasMatch())
            error(QStringLiteral("EU の出典 ID「%1」は索引番号（例 603-001-00-X）の形ではありません。").arg(id));
        if (*parsed == SourceKind::Nite && year.isEmpty())
            return; // the list gives no year; the row's 出典版 names the list
        if (!yearPattern.match(year).hasMatch())
            error(QStringLiteral("出典の年「%1」は西暦 4 桁ではありません。").arg(year));
        else
            substance.sourceYear = year.toInt();
    }

    // The list's columns: a date, a duty's start and two cut-offs in their forms.
    void legal(const ComposedSubstance &s)
    {
        static const QRegularExpression date(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
        static const QRegularExpression since(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}(以前)?$"));
        static const QRegularExpression cutoff(QStringLiteral("^([0-9]+(\\.[0-9]+)?|－)$")); // 「－」: the list gives none
        if (!s.sourceVersion.isEmpty() && !date.match(s.sourceVersion).hasMatch())
            error(QStringLiteral("出典版「%1」は 2026-02-27 の形ではありません。").arg(s.sourceVersion));
        if (s.sourceKind == SourceKind::Nite && s.sourceVersion.isEmpty() && s.sourceYear == 0)
            error(QStringLiteral("出典 NITE の行には出典年か出典版（一覧の日付）が要ります。"));
        if (!s.legalSince.isEmpty() && !since.match(s.legalSince).hasMatch())
            error(QStringLiteral("義務開始「%1」は 2026-04-01 の形ではありません。").arg(s.legalSince));
        for (const QString &value : {s.labelCutoff, s.sdsCutoff})
            if (!value.isEmpty() && !cutoff.match(value).hasMatch())
                error(QStringLiteral("裾切値「%1」が数ではありません。").arg(value));
        if (s.legalName.isEmpty() != s.legalSince.isEmpty() || s.legalSince.isEmpty() != s.labelCutoff.isEmpty()
            || s.labelCutoff.isEmpty() != s.sdsCutoff.isEmpty())
            error(QStringLiteral("法令名称・義務開始・ラベル裾切値・SDS裾切値は揃えて書いてください。"));
    }

    struct FillIn {
        QString code;   // as keyed: a listed code or one part of it
        QString name;   // the placeholder's name; empty: the statement's first blank
        QString value;
        bool used = false;
    };
    std::vector<FillIn> fillIns;

    void readFillIns(const QString &field)
    {
        static const QRegularExpression key(QStringLiteral("^([HP][0-9]{3}(?:\\+[HP][0-9]{3})*)(?::(.+))?$"));
        if (field.trimmed().isEmpty())
            return;
        QSet<QString> keys;
        for (const QString &item : field.split(kListSeparator)) {
            const qsizetype equals = item.indexOf(QLatin1Char('='));
            const QString left = equals < 0 ? item.trimmed() : item.left(equals).trimmed();
            const QString value = equals < 0 ? QString() : item.mid(equals + 1).trimmed();
            const QRegularExpressionMatch match = key.match(left);
            if (equals < 0 || !match.hasMatch()) {
                error(QStringLiteral("差込「%1」は「コード=文言」の形ではありません。").arg(item.trimmed()));
                continue;
            }
            if (value.isEmpty() || value.contains(QLatin1Char('{')) || value.contains(QLatin1Char('}'))) {
                error(QStringLiteral("差込 %1 の文言が空か、{ } を含んでいます。").arg(left));
                continue;
            }
            if (keys.contains(left)) {
                error(QStringLiteral("差込 %1 が重複しています。").arg(left));
                continue;
            }
            keys.insert(left);
            fillIns.push_back({match.captured(1), match.captured(2).trimmed(), value});
        }
    }

    // The statement's text with its blanks filled from the row's fill-ins.
    QString filled(const QString &code, const QString &text)
    {
        const QStringList parts = code.split(QLatin1Char('+'));
        QString result;
        qsizetype last = 0;
        int index = 0;
        QRegularExpressionMatchIterator it = placeholderPattern().globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            const QString name = match.captured(1);
            const bool optional = !match.captured(2).isEmpty();
            FillIn *chosen = nullptr;
            bool ambiguous = false;
            for (FillIn &fill : fillIns) {
                const bool codeMatches = fill.code == code || (!fill.code.contains(QLatin1Char('+')) && parts.contains(fill.code));
                const bool nameMatches = fill.name == name || (fill.name.isEmpty() && index == 0);
                if (!codeMatches || !nameMatches)
                    continue;
                ambiguous = ambiguous || chosen != nullptr;
                chosen = &fill;
            }
            result += text.mid(last, match.capturedStart() - last);
            if (ambiguous)
                error(QStringLiteral("%1 の空欄「%2」に当たる差込が二つ以上あります。").arg(code, name));
            if (chosen) {
                chosen->used = true;
                result += chosen->value;
            } else if (!optional) {
                error(QStringLiteral("%1 の空欄「%2」が埋まっていません（差込の列に %1=… を書く）。").arg(code, name));
            }
            last = match.capturedEnd();
            ++index;
        }
        result += text.mid(last);
        return result;
    }

    void checkFillInsUsed()
    {
        for (const FillIn &fill : fillIns) {
            if (!fill.used) {
                const QString key = fill.name.isEmpty() ? fill.code : fill.code + QLatin1Char(':') + fill.name;
                error(QStringLiteral("差込 %1 に当たる空欄がこの物質の文にありません。").arg(key));
            }
        }
    }

    void checkClassification(const QString &signalWord, const QList<int> &pictograms,
                             const QStringList &hazardCodes, const QStringList &categories)
    {
        std::vector<const HazardRule *> rules;
        for (const QString &code : hazardCodes) {
            for (int number : codeNumbers(code)) {
                if (const HazardRule *rule = hazardRule(number))
                    rules.push_back(rule);
            }
        }
        checkSignalWord(signalWord, rules, categories);
        checkPictograms(pictograms, rules);
    }
};

// "【安全対策】\r\n…" blocks for the P codes, in the order of the groups.
QString composePrecautions(const QStringList &codes, const QStringList &texts)
{
    static const std::array<QString, 4> headings{
        QStringLiteral("【安全対策】"), QStringLiteral("【応急措置】"),
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
        RowChecker row{hazards, precautions, sink, line.number, false, {}};
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
        else if (idByCas.contains(substance.cas) && !twoForms(substance.cas, fields.value(11).trimmed()))
            row.error(QStringLiteral("CAS 番号 %1 は ID %2 と重複しています。").arg(substance.cas).arg(idByCas.value(substance.cas)));
        if (!substance.signalWord.isEmpty() && substance.signalWord != kDanger && substance.signalWord != kWarning)
            row.error(QStringLiteral("注意喚起語「%1」は「危険」「警告」のどちらでもありません。").arg(substance.signalWord));

        const QList<int> pictograms = row.pictograms(fields.at(4));
        const QStringList hazardCodes = row.statementCodes(fields.at(5), QLatin1Char('H'));
        const QStringList precautionCodes = row.statementCodes(fields.at(6), QLatin1Char('P'));
        row.source(fields.at(10), fields.at(11), fields.at(12), substance);
        substance.categories = row.categories(fields.at(7), hazardCodes, substance.sourceKind != SourceKind::Unverified);
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
    return {QStringLiteral("ID"), QStringLiteral("物質名"), QStringLiteral("CAS"), QStringLiteral("注意喚起語"),
            QStringLiteral("絵表示"), QStringLiteral("H"), QStringLiteral("P"), QStringLiteral("区分"),
            QStringLiteral("差込"), QStringLiteral("別名"), QStringLiteral("出典"), QStringLiteral("出典ID"),
            QStringLiteral("出典年"), QStringLiteral("備考"), QStringLiteral("出典版"), QStringLiteral("法令名称"),
            QStringLiteral("義務開始"), QStringLiteral("ラベル裾切値"), QStringLiteral("SDS裾切値"), QStringLiteral("法令備考")};
}

QString substanceSourceLine(const ComposedSubstance &s)
{
    QStringList pictograms;
    for (const QString &picture : s.pictures)
        pictograms.append(QString(picture).remove(QStringLiteral(".svg")));
    const QString comma = QStringLiteral(",");
    return QStringList{QString::number(s.id), s.name, s.cas, s.signalWord, pictograms.join(comma),
                       s.hazardCodes.join(comma), s.precautionCodes.join(comma), s.categories.join(comma),
                       s.fillIns.join(kListSeparator), s.aliases.join(kListSeparator), sourceKindName(s.sourceKind),
                       s.sourceId, s.sourceYear > 0 ? QString::number(s.sourceYear) : QString(), s.sourceNote}
               .join(QLatin1Char('\t'))
        + (s.hasLegalColumns() ? QLatin1Char('\t') + QStringList{s.sourceVersion, s.legalName, s.legalSince, s.labelCutoff,
                                                                 s.sdsCutoff, s.legalNote}.join(QLatin1Char('\t'))
                               : QString());
}

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
