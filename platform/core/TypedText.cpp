#include "TypedText.h"

#include <algorithm>

namespace corvane {

namespace {

bool isLineSeparator(char16_t c) { return c == 0x2028 || c == 0x2029 || c == 0x85; }

bool isRemoved(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\r' && c != u'\n') || (c >= 0x7f && c <= 0x9f && c != 0x85) || c == 0xfffe
           || c == 0xffff;
}

} // namespace

QString cleanText(const QString &text, TextLines lines)
{
    // Most texts are clean: they are returned without a copy.
    const auto needsWork = [lines](QChar c) {
        const char16_t u = c.unicode();
        return isRemoved(u) || isLineSeparator(u) || c.isSurrogate()
               || (lines == TextLines::One && (u == u'\t' || u == u'\r' || u == u'\n'));
    };
    if (std::none_of(text.cbegin(), text.cend(), needsWork))
        return text;

    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            clean += text[i];
            clean += text[++i];
        } else if (text[i].isSurrogate() || isRemoved(c)) {
            continue;
        } else if (lines == TextLines::One && (isLineSeparator(c) || c == u'\t' || c == u'\n' || c == u'\r')) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i; // CR LF is one break
            clean += u' ';
        } else if (isLineSeparator(c)) {
            clean += QStringLiteral("\r\n");
        } else {
            clean += text[i];
        }
    }
    return clean;
}

} // namespace corvane
