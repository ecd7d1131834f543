#include "ImportText.h"

namespace corvane {
namespace {

bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// The length of the valid UTF-8 sequence at `at`, or 0 when the bytes there are not one
// (a stray continuation byte, a sequence cut short, an overlong form, a surrogate, beyond
// U+10FFFF).
int sequenceLength(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u; };
    const unsigned lead = byte(at);
    if (lead < 0x80)
        return 1;
    const int length = lead >= 0xC2 && lead <= 0xDF   ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
    for (int k = 1; k < length; ++k)
        if ((byte(at + k) & 0xC0) != 0x80)
            return 0;
    const unsigned second = byte(at + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90)
        || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

} // namespace

std::optional<QString> decodeUtf8File(const QByteArray &bytes, const QString &fileName, MasterError *error)
{
    int line = 1;
    for (qsizetype at = 0; at < bytes.size();) {
        const int length = sequenceLength(bytes, at);
        if (length == 0) {
            *error = {fileName, line,
                      QStringLiteral(
                          "UTF-8 として読めないバイトがあります。Shift_JIS など、ほかの文字コードで保存されたファイル"
                          "かもしれません。UTF-8 で保存し直してください。")};
            return std::nullopt;
        }
        line += bytes[at] == '\n' ? 1 : 0;
        at += length;
    }
    return QString::fromUtf8(bytes);
}

std::vector<MasterError> checkImportText(const QString &text, const QString &fileName)
{
    std::vector<MasterError> errors;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1); // a Windows line end
        if (line.size() > kLongestLine) {
            errors.push_back(
                {fileName, int(n + 1),
                 QStringLiteral("行が長すぎます（%1 文字。%2 文字まで）。").arg(line.size()).arg(kLongestLine)});
            continue;
        }
        int column = 0;
        for (const char32_t c : line.toUcs4()) {
            ++column;
            if (isControl(c) && c != U'\t') {
                errors.push_back(
                    {fileName, int(n + 1),
                     QStringLiteral("%1 文字目に制御文字（U+%2）があります。タブと改行のほかの制御文字は使えません。")
                         .arg(column)
                         .arg(QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper())});
                break;
            }
        }
    }
    return errors;
}

std::vector<MasterError> checkPrintableSizes(const std::vector<ComposedSubstance> &substances,
                                             const QHash<int, int> &lineOf, const QString &fileName)
{
    std::vector<MasterError> errors;
    for (const ComposedSubstance &s : substances) {
        const auto tooLong = [&](const QString &what, qsizetype length, int longest) {
            if (length > longest)
                errors.push_back({fileName, lineOf.value(s.id),
                                  QStringLiteral("%1が長すぎます（%2 文字。%3 文字までにしてください）。")
                                      .arg(what)
                                      .arg(length)
                                      .arg(longest)});
        };
        tooLong(QStringLiteral("物質名"), s.name.size(), kLongestSubstanceName);
        tooLong(QStringLiteral("危険有害性情報（差込を入れた文）"), s.hazards.size(), kLongestHazardText);
        tooLong(QStringLiteral("注意書き（差込を入れた文）"), s.precautions.size(), kLongestPrecautionText);
        for (const QString &alias : s.aliases)
            tooLong(QStringLiteral("別名"), alias.size(), kLongestAlias);
        tooLong(QStringLiteral("備考"), s.sourceNote.size(), kLongestSourceNote);
    }
    return errors;
}

QString printableOnTerminal(QString text)
{
    for (QChar &c : text)
        if (isControl(c.unicode()) && c != QLatin1Char('\n') && c != QLatin1Char('\t'))
            c = QChar(0xFFFD);
    return text;
}

} // namespace corvane
