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
    // wordEdges[k]: a word ends before character k (a dictionary's word boundary, so that
    // Japanese lines end between words: 「液体及び／蒸気」, never 「液体及／び蒸気」).
    QList<bool> wordEdges;

    MeasuredParagraph(const QString &text, FontFace &face);

    QString textOf(const LineRange &range) const;
};

struct BrokenParagraph {
    QList<LineRange> lines;
    bool overflow = false; // a word had to be split, or one character is wider than the line
};

// Greedy line filling with kinsoku: a character that may not begin a line
// pulls the character before it onto the next line. A line ends between words where
// the line holds a word edge; only a word longer than the line breaks inside, where
// kinsoku allows.
BrokenParagraph breakParagraph(const MeasuredParagraph &paragraph, qreal maxWidth);

// The paragraph on one line.
LineRange unbrokenLine(const MeasuredParagraph &paragraph);

// The last UTF-16 offset in (from, to] at which a line of text may end between words (kinsoku
// applied, a surrogate pair kept whole); -1 when there is none.
qsizetype lastLineEndBetweenWords(const QString &text, qsizetype from, qsizetype to);

// The longest start of `line` that ends at a word (or where the paragraph ends) and is at most
// maxWidth ems wide; empty when not even its first word fits.
LineRange shortenToWord(const MeasuredParagraph &paragraph, const LineRange &line, qreal maxWidth);

} // namespace corvane
