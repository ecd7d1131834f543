#include "LineBreaker.h"

#include "FontLibrary.h"
#include "Kinsoku.h"

#include <QCache>

#include <unicode/ubrk.h>

#include <memory>

namespace corvane {

namespace {

constexpr qreal kTolerance = 1e-6;
constexpr qsizetype kMinimumTail = 3; // characters on a paragraph's last line

constexpr int kWordEdgeCacheSize = 20000; // paragraphs; statements repeat across substances

// The UTF-16 offsets at which a word ends, by ICU's Japanese word dictionary.
class WordBoundaries {
public:
    WordBoundaries()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_iterator.reset(ubrk_open(UBRK_WORD, "ja", nullptr, 0, &status));
        if (U_FAILURE(status))
            m_iterator.reset();
    }

    // One flag per UTF-16 offset 0..text.size(); every offset when ICU cannot say.
    const QList<bool> &of(const QString &text)
    {
        if (const QList<bool> *cached = m_cache.object(text))
            return *cached;
        auto *edges = new QList<bool>(text.size() + 1, m_iterator == nullptr);
        UErrorCode status = U_ZERO_ERROR;
        if (m_iterator) {
            ubrk_setText(m_iterator.get(), reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()),
                         &status);
            if (U_FAILURE(status))
                edges->fill(true);
            else
                for (int32_t at = ubrk_first(m_iterator.get()); at != UBRK_DONE; at = ubrk_next(m_iterator.get()))
                    (*edges)[at] = true;
        }
        m_cache.insert(text, edges);
        return *edges;
    }

private:
    struct Closer {
        void operator()(UBreakIterator *iterator) const { ubrk_close(iterator); }
    };
    std::unique_ptr<UBreakIterator, Closer> m_iterator;
    QCache<QString, QList<bool>> m_cache{kWordEdgeCacheSize};
};

// One dictionary and cache for the thread (the printing run's).
WordBoundaries &wordBoundaries()
{
    static thread_local WordBoundaries boundaries;
    return boundaries;
}

// A line may end before character k: kinsoku allows it and a word ends there.
bool mayEndLineBefore(const MeasuredParagraph &paragraph, qsizetype k)
{
    return paragraph.wordEdges[k] && mayBreakBetween(paragraph.characters[k - 1], paragraph.characters[k]);
}

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
        if (count - k >= kMinimumTail && mayEndLineBefore(paragraph, k))
            return k;
    }
    return cut;
}

} // namespace

MeasuredParagraph::MeasuredParagraph(const QString &paragraphText, FontFace &face) : text(paragraphText)
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
    const QList<bool> &edges = wordBoundaries().of(text);
    wordEdges.reserve(offsets.size());
    for (const qsizetype offset : offsets)
        wordEdges.append(edges[offset]);
}

QString MeasuredParagraph::textOf(const LineRange &range) const
{
    return text.mid(offsets[range.first], offsets[range.end] - offsets[range.first]);
}

LineRange unbrokenLine(const MeasuredParagraph &paragraph)
{
    return makeLine(paragraph, 0, paragraph.characters.size());
}

qsizetype lastLineEndBetweenWords(const QString &text, qsizetype from, qsizetype to)
{
    const QList<bool> &edges = wordBoundaries().of(text);
    for (qsizetype k = qMin(to, text.size() - 1); k > from && k > 0; --k) {
        // Before a line break the line ends anyway: no place to divide it.
        if (text[k].isLowSurrogate() || text[k] == u'\r' || text[k] == u'\n' || !edges[k])
            continue;
        if (mayBreakBetween(text[k - 1].unicode(), text[k].unicode()))
            return k;
    }
    return -1;
}

LineRange shortenToWord(const MeasuredParagraph &paragraph, const LineRange &line, qreal maxWidth)
{
    const qsizetype count = paragraph.characters.size();
    for (qsizetype end = line.end; end > line.first; --end) {
        const LineRange candidate = makeLine(paragraph, line.first, end);
        if (candidate.width <= maxWidth + kTolerance && (end == count || mayEndLineBefore(paragraph, end)))
            return candidate;
    }
    return LineRange{line.first, line.first, 0};
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
                if (mayEndLineBefore(paragraph, k))
                    cut = k;
            // A word longer than the line: Japanese may break inside it where kinsoku allows.
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
