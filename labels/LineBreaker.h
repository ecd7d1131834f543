#pragma once

#include <QList>
#include <QString>

namespace corvane {

class FontFace;

// One paragraph (no line breaks inside) with the advance of each character,
// in ems.
struct LineRange {
    qsizetype first = 0; // characters [first, end), trailing spaces left out
    qsizetype end = 0;
    qreal width = 0; // ems
};

struct MeasuredParagraph {
    QString text;
    QList<char32_t> characters;
    QList<qsizetype> offsets; // UTF-16 offset of each character, then text.size()
    QList<qreal> advances;

    MeasuredParagraph(const QString &text, FontFace &face);

    QString textOf(const LineRange &range) const;
};

struct BrokenParagraph {
    QList<LineRange> lines;
    bool overflow = false; // a word had to be split, or one character is wider than the line
};

// Greedy line filling with kinsoku: a character that may not begin a line
// pulls the character before it onto the next line.
BrokenParagraph breakParagraph(const MeasuredParagraph &paragraph, qreal maxWidth);

// The paragraph on one line.
LineRange unbrokenLine(const MeasuredParagraph &paragraph);

} // namespace corvane
