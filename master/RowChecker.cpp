#include "RowChecker.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace corvane::mastersource {

void RowChecker::error(const QString &message)
{
    sink.add(line, message);
    failed = true;
}

QStringList RowChecker::statementCodes(const QString &field, QChar letter)
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
                      .arg(code,
                           letter == QLatin1Char('H') ? QStringLiteral("危険有害性情報") : QStringLiteral("注意書き")));
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

QList<int> RowChecker::pictograms(const QString &field)
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
    if (numbers.size() > kPicturesPerSubstance)
        error(QStringLiteral("絵表示が %1 個あります（最大 %2 個）。").arg(numbers.size()).arg(kPicturesPerSubstance));
    return numbers;
}

void RowChecker::checkSignalWord(const QString &signalWord, const std::vector<const HazardRule *> &rules,
                                 const QStringList &categories)
{
    QStringList dangerCodes;
    bool needsWord = false;
    for (const HazardRule *rule : rules) {
        const QString code = QStringLiteral("H%1").arg(rule->code);
        Signal signal = rule->signal;
        if (signal == Signal::Either) {
            const HazardCategories *known = categoriesOf(code);
            const QString written = categories.filter(QRegularExpression(QStringLiteral("^%1=").arg(code)))
                                        .value(0)
                                        .section(QLatin1Char('='), 1);
            if (written.isEmpty()) {
                error(QStringLiteral("%1 の注意喚起語は区分で決まります。区分の列に %1=%2 の形で区分を書いてください。")
                          .arg(code, (known->danger + known->warning).join(QLatin1Char('/'))));
                continue;
            }
            // A category not read ("?", unverified rows only) asks for the stronger word.
            signal =
                known->danger.contains(written) || written == QLatin1String("?") ? Signal::Danger : Signal::Warning;
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

void RowChecker::checkPictograms(const QList<int> &listed, const std::vector<const HazardRule *> &rules)
{
    QHash<int, QStringList> required; // pictogram -> codes that call for it
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
        case Ghs07Reason::Other: break;
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

bool RowChecker::isPrecaution(const QString &, const QString &) const
{
    return currentCodes.first.startsWith(QLatin1Char('P')) || currentCodes.second.startsWith(QLatin1Char('P'));
}

void RowChecker::checkFinished(const QString &what, const QString &text)
{
    if (const QString blank = unfilledBlank(text); !blank.isEmpty())
        error(QStringLiteral("%1に埋められていない空欄「%2」があります。").arg(what, blank));
}

void RowChecker::checkRepeatedSentences(const QStringList &codes, const QStringList &texts)
{
    // A hazard statement may end like another (「…による呼吸器の障害」 beside 「呼吸器の障害」:
    // repeated and single exposure); only precautions repeat a clause.
    const auto repeats = [&](const QString &a, const QString &b) {
        return a == b
               || ((a.endsWith(QStringLiteral("、") + b) || b.endsWith(QStringLiteral("、") + a))
                   && isPrecaution(a, b));
    };
    std::vector<std::pair<QString, QString>> seen; // sentence, code
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

QStringList RowChecker::categories(const QString &field, const QStringList &hazardCodes, bool sourced)
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
            error(
                QStringLiteral(
                    "区分「%1」は「H228=1」の形で、注意喚起語が区分で決まる H コード（%2）のものでなければなりません。")
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

QStringList RowChecker::aliases(const QString &field, const QString &name)
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

void RowChecker::source(const QString &kindField, const QString &idField, const QString &yearField,
                        ComposedSubstance &substance)
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

void RowChecker::legal(const ComposedSubstance &s)
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

void RowChecker::readFillIns(const QString &field)
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

QString RowChecker::filled(const QString &code, const QString &text)
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
            const bool codeMatches =
                fill.code == code || (!fill.code.contains(QLatin1Char('+')) && parts.contains(fill.code));
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

void RowChecker::checkFillInsUsed()
{
    for (const FillIn &fill : fillIns) {
        if (!fill.used) {
            const QString key = fill.name.isEmpty() ? fill.code : fill.code + QLatin1Char(':') + fill.name;
            error(QStringLiteral("差込 %1 に当たる空欄がこの物質の文にありません。").arg(key));
        }
    }
}

void RowChecker::checkClassification(const QString &signalWord, const QList<int> &pictograms,
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

} // namespace corvane::mastersource
