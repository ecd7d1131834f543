#include "LabelElements.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace corvane::ghs {
namespace {

const QString kDanger = QStringLiteral("危険");
const QString kWarning = QStringLiteral("警告");
const QString kIrritationEffect = QStringLiteral("気道刺激性");
const QString kNarcoticEffect = QStringLiteral("麻酔作用");

std::optional<QStringList> codeList(const QString &field, const QRegularExpression &pattern)
{
    QStringList codes;
    for (const QString &item : field.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString code = item.trimmed();
        if (!pattern.match(code).hasMatch())
            return std::nullopt;
        codes << code;
    }
    return codes;
}

bool isAcute(HazardClass c)
{
    return c == HazardClass::AcuteOral || c == HazardClass::AcuteDermal || c == HazardClass::AcuteInhalationGas
           || c == HazardClass::AcuteInhalationVapour || c == HazardClass::AcuteInhalationDust;
}

bool isInhalation(HazardClass c)
{
    return c == HazardClass::AcuteInhalationGas || c == HazardClass::AcuteInhalationVapour
           || c == HazardClass::AcuteInhalationDust;
}

// Why a category asks for the exclamation mark; the precedence rules drop it for some.
enum class ExclamationReason { AcuteToxicity, Irritation, SkinSensitisation, Other };

ExclamationReason reasonOf(HazardClass c)
{
    if (isAcute(c))
        return ExclamationReason::AcuteToxicity;
    if (c == HazardClass::SkinCorrosion || c == HazardClass::EyeDamage)
        return ExclamationReason::Irritation;
    if (c == HazardClass::SkinSensitisation)
        return ExclamationReason::SkinSensitisation;
    return ExclamationReason::Other;
}

// "H228=1" for the codes whose signal word the category decides (flammable solids,
// self-reactive substances and organic peroxides, water-reactive, oxidising liquids and solids).
QString categoryNote(const QString &code, const QString &category)
{
    static const QStringList decided{QStringLiteral("H228"), QStringLiteral("H242"), QStringLiteral("H261"),
                                     QStringLiteral("H272")};
    if (!decided.contains(code))
        return {};
    QString written = category;
    written.remove(QStringLiteral("タイプ"));
    return code + QLatin1Char('=') + written;
}

int firstNumber(const QString &code) { return code.mid(1, 3).toInt(); }

} // namespace

Result<LabelTable> LabelTable::fromText(const QString &text)
{
    static const QRegularExpression hPattern(QStringLiteral("^H[0-9]{3}$"));
    static const QRegularExpression pPattern(QStringLiteral("^P[0-9]{3}(\\+P[0-9]{3})*$"));
    static const QRegularExpression pictogramPattern(QStringLiteral("^GHS0[1-9]$"));
    LabelTable table;
    QStringList problems;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = QString(lines[i]).remove(QLatin1Char('\r'));
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        const auto fail = [&](const QString &why) { problems << QStringLiteral("%1行目: %2").arg(i + 1).arg(why); };
        if (fields.size() != 8) {
            fail(QStringLiteral("列が 8 つではありません（%1）。").arg(fields.size()));
            continue;
        }
        LabelRule rule;
        rule.line = i + 1;
        const auto hazardClass = hazardClassFromKey(fields[0].trimmed());
        if (!hazardClass) {
            fail(QStringLiteral("分類「%1」はありません。").arg(fields[0]));
            continue;
        }
        rule.hazardClass = *hazardClass;
        rule.category = fields[1].trimmed();
        rule.effect = fields[2].trimmed();
        const auto hazards = codeList(fields[3], hPattern);
        const auto pictograms = codeList(fields[5], pictogramPattern);
        rule.signalWord = fields[4].trimmed();
        if (!hazards || !pictograms || rule.category.isEmpty()
            || (!rule.signalWord.isEmpty() && rule.signalWord != kDanger && rule.signalWord != kWarning)) {
            fail(QStringLiteral("区分・H・注意喚起語・絵表示のどれかが読めません。"));
            continue;
        }
        rule.hazardCodes = *hazards;
        rule.pictograms = *pictograms;
        if (fields[6].trimmed() != QLatin1String("?")) {
            const auto precautions = codeList(fields[6], pPattern);
            if (!precautions) {
                fail(QStringLiteral("P の列が読めません。"));
                continue;
            }
            rule.precautions = *precautions;
        }
        rule.source = fields[7].trimmed();
        if (rule.source.isEmpty()) {
            fail(QStringLiteral("出典がありません。"));
            continue;
        }
        if (table.find(rule.hazardClass, rule.category, rule.effect)) {
            fail(QStringLiteral("%1 %2 が二度あります。").arg(fields[0], rule.category));
            continue;
        }
        table.m_rules.push_back(rule);
    }
    if (!problems.isEmpty())
        return Failure{problems.join(QLatin1Char('\n'))};
    return table;
}

const LabelTable &LabelTable::builtIn()
{
    static const LabelTable table = [] {
        QFile file(QStringLiteral(":/ghs/label_elements.tsv"));
        const Result<LabelTable> read = file.open(QIODevice::ReadOnly)
                                            ? fromText(QString::fromUtf8(file.readAll()))
                                            : Result<LabelTable>(Failure{file.errorString()});
        // The table is compiled in and checked by the tests; a broken one is a build fault.
        Q_ASSERT_X(read, "LabelTable::builtIn", qPrintable(read.errorText()));
        return read ? *read : LabelTable{};
    }();
    return table;
}

const LabelRule *LabelTable::find(HazardClass hazardClass, const QString &category, const QString &effect) const
{
    for (const LabelRule &rule : m_rules)
        if (rule.hazardClass == hazardClass && rule.category == category && rule.effect == effect)
            return &rule;
    return nullptr;
}

std::optional<ComposedLabel> composeLabel(const std::vector<ClassEntry> &entries, const LabelTable &table,
                                          QString *problem)
{
    struct Used {
        const LabelRule *rule;
        HazardClass hazardClass;
        QStringList organs;
    };
    std::vector<Used> used;
    // Inhalation: one statement, of the most severe category of the three forms.
    const ClassEntry *worstInhalation = nullptr;
    for (const ClassEntry &entry : entries)
        if (isInhalation(entry.hazardClass) && (!worstInhalation || entry.category < worstInhalation->category))
            worstInhalation = &entry;

    for (const ClassEntry &entry : entries) {
        if (isInhalation(entry.hazardClass) && &entry != worstInhalation)
            continue;
        const QString className = hazardClassName(entry.hazardClass);
        if (entry.hazardClass == HazardClass::StotSingle && entry.category == QLatin1String("3")) {
            for (const QString &effect : entry.organs) {
                if (effect != kIrritationEffect && effect != kNarcoticEffect) {
                    *problem = QStringLiteral("%1 区分3 の影響「%2」は気道刺激性・麻酔作用のどちらでもありません。")
                                   .arg(className, effect);
                    return std::nullopt;
                }
                used.push_back({table.find(entry.hazardClass, entry.category, effect), entry.hazardClass, {}});
            }
            continue;
        }
        const LabelRule *rule = table.find(entry.hazardClass, entry.category);
        if (!rule) {
            *problem = QStringLiteral("%1 区分「%2」の行がラベル要素の表にありません。").arg(className, entry.category);
            return std::nullopt;
        }
        used.push_back({rule, entry.hazardClass, entry.organs});
    }

    ComposedLabel label;
    QSet<QString> hazardSet;
    for (const Used &u : used)
        for (const QString &code : u.rule->hazardCodes)
            hazardSet.insert(code);
    const bool corrosiveToSkin = hazardSet.contains(QStringLiteral("H314"));
    const bool respiratorySensitiser = hazardSet.contains(QStringLiteral("H334"));

    // Hazard statements in the order of the classes; acute toxicity as one block at the place
    // of its first route, the routes of one strength joined (H302+H312+H332).
    QStringList ordered;
    bool acuteDone = false;
    for (const Used &u : used) {
        if (isAcute(u.hazardClass)) {
            if (acuteDone)
                continue;
            acuteDone = true;
            QStringList routes[4]; // fatal, toxic, harmful, may be harmful
            for (const Used &a : used) {
                if (!isAcute(a.hazardClass))
                    continue;
                for (const QString &code : a.rule->hazardCodes) {
                    const int level = firstNumber(code) % 10; // H300 0, H311 1, H332 2, H303 3
                    if (level >= 0 && level < 4 && !routes[level].contains(code))
                        routes[level] << code;
                }
            }
            for (QStringList &level : routes) {
                std::sort(level.begin(), level.end());
                if (!level.isEmpty())
                    ordered << level.join(QLatin1Char('+'));
            }
            continue;
        }
        for (const QString &code : u.rule->hazardCodes) {
            // H314 says what H318 and H319 say about the eyes (CLP 表 3.3.5 注).
            if (corrosiveToSkin && u.hazardClass == HazardClass::EyeDamage)
                continue;
            if (!ordered.contains(code))
                ordered << code;
        }
    }
    label.hazardCodes = ordered;

    // Signal word, categories, organs.
    for (const Used &u : used) {
        if (u.rule->signalWord == kDanger || (u.rule->signalWord == kWarning && label.signalWord.isEmpty()))
            label.signalWord = u.rule->signalWord;
        for (const QString &code : u.rule->hazardCodes) {
            const QString note = categoryNote(code, u.rule->category);
            if (!note.isEmpty() && !label.categories.contains(note))
                label.categories << note;
        }
        if (!u.organs.isEmpty() && !u.rule->hazardCodes.isEmpty()) {
            const QString code = u.rule->hazardCodes.front();
            const QString key = code + QLatin1Char('=');
            auto existing = std::find_if(label.fillIns.begin(), label.fillIns.end(),
                                         [&](const QString &f) { return f.startsWith(key); });
            if (existing == label.fillIns.end()) {
                label.fillIns << key + u.organs.join(QStringLiteral("、"));
            } else {
                QStringList organs = existing->mid(key.size()).split(QStringLiteral("、"));
                for (const QString &organ : u.organs)
                    if (!organs.contains(organ))
                        organs << organ;
                *existing = key + organs.join(QStringLiteral("、"));
            }
        }
        if (!u.rule->read()) {
            const QString what = hazardClassName(u.hazardClass) + QStringLiteral(" ") + u.rule->category;
            if (!label.unread.contains(what))
                label.unread << what;
        }
    }

    // Pictograms with the precedence rules: no exclamation mark beside the skull; none for
    // skin or eye irritation beside the corrosion sign; none for skin sensitisation or
    // irritation beside the health hazard of a respiratory sensitiser.
    QSet<QString> pictograms;
    std::vector<ExclamationReason> exclamations;
    for (const Used &u : used) {
        if (corrosiveToSkin && u.hazardClass == HazardClass::EyeDamage)
            continue;
        for (const QString &pictogram : u.rule->pictograms) {
            if (pictogram == QLatin1String("GHS07"))
                exclamations.push_back(reasonOf(u.hazardClass));
            else
                pictograms.insert(pictogram);
        }
    }
    const bool skull = pictograms.contains(QStringLiteral("GHS06"));
    const bool corrosion = pictograms.contains(QStringLiteral("GHS05"));
    for (ExclamationReason reason : exclamations) {
        if (skull)
            break;
        if (reason == ExclamationReason::Irritation && (corrosion || respiratorySensitiser))
            continue;
        if (reason == ExclamationReason::SkinSensitisation && respiratorySensitiser)
            continue;
        pictograms.insert(QStringLiteral("GHS07"));
    }
    label.pictograms = QStringList(pictograms.begin(), pictograms.end());
    label.pictograms.sort();

    // Precautions of every category, once each, in code order; then the repeats the master's
    // rules forbid merged the way the reviewed rows merge them (data/master/REVIEW.md).
    QStringList precautions;
    for (const Used &u : used)
        if (u.rule->precautions)
            for (const QString &code : *u.rule->precautions)
                if (!precautions.contains(code))
                    precautions << code;
    const auto has = [&](const char *code) { return precautions.contains(QString::fromLatin1(code)); };
    const auto drop = [&](const char *code) { precautions.removeAll(QString::fromLatin1(code)); };
    const auto replace = [&](const char *from, const char *to) {
        if (has(from)) {
            drop(from);
            if (!has(to))
                precautions << QString::fromLatin1(to);
        }
    };
    if (has("P260"))
        drop("P261"); // 「吸入しないこと」 covers 「吸入を避けること」
    if (has("P361+P364"))
        drop("P362+P364");
    if (has("P301+P310"))
        drop("P301+P312");
    if (has("P403+P235"))
        drop("P235"); // an organic peroxide's 「涼しいところに置くこと」 beside a flammable liquid's
    if (has("P403+P235") || has("P410+P403"))
        replace("P403+P233", "P233");
    if (has("P410+P403"))
        replace("P403+P235", "P235");
    if (has("P410+P403") || has("P403+P233") || has("P403+P235"))
        drop("P403"); // said in the combined statement
    std::sort(precautions.begin(), precautions.end(), [](const QString &a, const QString &b) {
        return firstNumber(a) != firstNumber(b) ? firstNumber(a) < firstNumber(b) : a < b;
    });
    label.precautionCodes = precautions;
    return label;
}

} // namespace corvane::ghs
