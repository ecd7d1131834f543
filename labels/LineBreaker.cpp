#include "LineBreaker.h"

#include "FontLibrary.h"
#include "Kinsoku.h"

namespace corvane {

namespace {

constexpr qreal kTolerance = 1e-6;
constexpr qsizetype kMinimumTail = 3; // characters on a paragraph's last line

LineRange makeLine(const MeasuredParagraph &paragraph, qsizetype first, qsizetype end)
{
    while (end > first && isBreakingSpace(paragraph.characters[end - 1]))
        --end;
    LineRange line{first, end, 0};
    for (qsizetype i = first; i < end; ++i)
        line.width += paragraph.advances[i];
    return line;
}

// A paragraph should not end in a line of one or two characters ("おそ" /
// "れ"): when the break would leave such a tail, characters move down to it.
qsizetype avoidShortTail(const MeasuredParagraph &paragraph, qsizetype start, qsizetype cut, qreal maxWidth)
{
    const QList<char32_t> &c = paragraph.characters;
    const qsizetype count = c.size();
    qsizetype tailStart = cut;
    while (tailStart < count && isBreakingSpace(c[tailStart]))
        ++tailStart;
    if (tailStart >= count || count - tailStart >= kMinimumTail)
        return cut;
    qreal tailWidth = 0;
    for (qsizetype i = tailStart; i < count; ++i)
        tailWidth += paragraph.advances[i];
    for (qsizetype k = cut - 1; k > start + kMinimumTail; --k) {
        tailWidth += paragraph.advances[k];
        if (tailWidth > maxWidth + kTolerance)
            break;
        if (count - k >= kMinimumTail && mayBreakBetween(c[k - 1], c[k]))
            return k;
    }
    return cut;
}

} // namespace

MeasuredParagraph::MeasuredParagraph(const QString &paragraphText, FontFace &face)
    : text(paragraphText)
{
    for (qsizetype i = 0; i < text.size();) {
        char32_t character = text[i].unicode();
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            character = QChar::surrogateToUcs4(text[i], text[i + 1]);
            length = 2;
        }
        if (character == U'\t')
            character = U' ';
        characters.append(character);
        offsets.append(i);
        advances.append(face.advance(character));
        i += length;
    }
    offsets.append(text.size());
}

QString MeasuredParagraph::textOf(const LineRange &range) const
{
    return text.mid(offsets[range.first], offsets[range.end] - offsets[range.first]);
}

LineRange unbrokenLine(const MeasuredParagraph &paragraph)
{
    return makeLine(paragraph, 0, paragraph.characters.size());
}

BrokenParagraph breakParagraph(const MeasuredParagraph &paragraph, qreal maxWidth)
{
    BrokenParagraph result;
    const QList<char32_t> &c = paragraph.characters;
    const qsizetype count = c.size();
    if (count == 0) {
        result.lines.append(LineRange{});
        return result;
    }
    qsizetype start = 0;
    while (start < count) {
        qreal width = 0;
        qsizetype next = start;
        // Spaces may hang past the edge; anything else must fit.
        while (next < count) {
            if (next > start && !isBreakingSpace(c[next]) && width + paragraph.advances[next] > maxWidth + kTolerance)
                break;
            width += paragraph.advances[next];
            ++next;
        }
        qsizetype cut = count;
        if (next < count) {
            cut = -1;
            for (qsizetype k = next; k > start && cut < 0; --k)
                if (mayBreakBetween(c[k - 1], c[k]))
                    cut = k;
            if (cut < 0) {
                result.overflow = true;
                for (qsizetype k = next; k > start && cut < 0; --k)
                    if (mayBreakInsideWord(c[k - 1], c[k]))
                        cut = k;
                if (cut < 0)
                    cut = next;
            }
        }
        cut = avoidShortTail(paragraph, start, cut, maxWidth);
        const LineRange line = makeLine(paragraph, start, cut);
        if (line.width > maxWidth + kTolerance)
            result.overflow = true;
        result.lines.append(line);
        start = cut;
        while (start < count && isBreakingSpace(c[start]))
            ++start;
    }
    return result;
}

} // namespace corvane
