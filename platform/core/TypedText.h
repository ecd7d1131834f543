#pragma once
#include <QString>

namespace corvane {

// Whether a text has lines (notes, ingredients, statements) or is one line (names, the
// supplier's fields).
enum class TextLines { One, Many };

// Text as it may be stored and printed. The Unicode line and paragraph separators (and NEL)
// become a line break (CR LF) in a text with lines and a space in a one-line text, as do line
// breaks and tabs in a one-line text; other control characters (BEL, ESC, NUL, BS, VT, DEL
// and the C1 range), lone surrogates and non-characters print as boxes or nothing at all and
// are removed. Everything else is kept exactly as typed.
QString cleanText(const QString &text, TextLines lines);

} // namespace corvane
