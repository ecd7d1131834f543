// Any text: SplitNotes gives the same first part as a plain model that walks the text line by
// line, and the two parts always join to the whole text.
#include "PrintLabels.h"

#include <cstdlib>

namespace {

// The rule written out the plain way: lines end after CR LF; a line of more than 30 characters
// (its CR LF included) counts twice; the first part closes after 23 counted lines or at the
// end of the text, and a long line that would be the 23rd is cut within its first 30
// characters (where a word ends: the model accepts any place there, *shortest being the
// shortest first part allowed).
qsizetype modelFirstLength(const QString &text, qsizetype *shortest)
{
    qsizetype lineStart = 0;
    int counted = 0;
    while (true) {
        qsizetype lineEnd = lineStart; // one past the line's last character
        bool broken = false;
        while (lineEnd < text.size()) {
            if (text[lineEnd] == u'\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == u'\n') {
                lineEnd += 2;
                broken = true;
                break;
            }
            ++lineEnd;
        }
        ++counted;
        if (lineEnd - lineStart > 30) {
            if (counted == 23) {
                *shortest = lineStart + 1;
                return lineStart + 30;
            }
            ++counted;
        }
        if (!broken || counted >= 23) {
            *shortest = lineEnd;
            return lineEnd;
        }
        lineStart = lineEnd;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(data), static_cast<qsizetype>(size / 2));
    QString first, rest;
    corvane::SplitNotes(text, first, rest);
    qsizetype shortest = 0;
    const qsizetype longest = modelFirstLength(text, &shortest);
    if (first.size() < shortest || first.size() > longest || first + rest != text)
        abort();
    return 0;
}
