#include "TextFitter.h"

#include "FontLibrary.h"
#include "LineBreaker.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>

namespace corvane {

namespace {

constexpr int kFitCacheSize = 20000;
constexpr qreal kSizePrecision = 0.05; // points
constexpr qreal kColumnGap = 1.5;      // ems
constexpr qreal kTolerance = 1e-6;

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator || c == u'\x85';
}

QStringList splitParagraphs(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}\\x{85}]"));
    QString body = text;
    // A final line break ends the last line; it does not start an empty one.
    while (!body.isEmpty() && isLineBreak(body.back()))
        body.chop(1);
    if (body.isEmpty())
        return {};
    return body.split(lineBreak);
}

struct PlacedLine {
    const MeasuredParagraph *paragraph;
    LineRange range;
    int column;
    int row;
};

// Sets the paragraphs at one size in `columns` columns, filled one after
// the other; a paragraph is not split between columns. Returns whether
// everything fits; with `placed` given, lays out everything even when not.
class Arranger {
public:
    Arranger(const QList<MeasuredParagraph> &paragraphs, const TextStyle &style, FontFace &face, const QSizeF &box)
        : m_paragraphs(paragraphs), m_style(style), m_face(face), m_box(box)
    {}

    bool arrange(qreal pointSize, int columns, QList<PlacedLine> *placed) const
    {
        const qreal units = pointSize * kUnitsPerPoint;
        const qreal columnWidth = (m_box.width() / units - (columns - 1) * kColumnGap) / columns;
        if (columnWidth <= 0)
            return false;
        const int rowsPerColumn = rowsAt(pointSize);

        bool fits = true;
        int column = 0;
        int row = 0;
        for (const MeasuredParagraph &paragraph : m_paragraphs) {
            QList<LineRange> lines;
            if (m_style.wrap) {
                BrokenParagraph broken = breakParagraph(paragraph, columnWidth);
                fits = fits && !broken.overflow;
                lines = std::move(broken.lines);
            } else {
                lines.append(unbrokenLine(paragraph));
                fits = fits && lines.first().width <= columnWidth + kTolerance;
            }
            if (row > 0 && row + lines.size() > rowsPerColumn && column + 1 < columns) {
                ++column;
                row = 0;
            }
            fits = fits && row + lines.size() <= rowsPerColumn;
            if (!fits && !placed)
                return false;
            if (placed)
                for (const LineRange &line : lines)
                    placed->append({&paragraph, line, column, row++});
            else
                row += int(lines.size());
        }
        return fits;
    }

    // How many lines a column holds at the size.
    int rowsAt(qreal pointSize) const
    {
        const qreal units = pointSize * kUnitsPerPoint;
        const qreal glyphHeight = m_face.ascent() + m_face.descent();
        const qreal availableHeight = m_box.height() / units;
        return availableHeight + kTolerance < glyphHeight
                   ? 0
                   : int(std::floor((availableHeight - glyphHeight) / m_style.lineSpacing + kTolerance)) + 1;
    }

    // The largest size that fits in `columns` columns, if any does.
    std::optional<qreal> largestFittingSize(int columns) const
    {
        const qreal nominal = m_style.pointSize;
        const qreal minimum = qMin(m_style.minimumPointSize, nominal);
        if (arrange(nominal, columns, nullptr))
            return nominal;
        if (minimum >= nominal || !arrange(minimum, columns, nullptr))
            return std::nullopt;
        qreal low = minimum;  // fits
        qreal high = nominal; // does not
        while (high - low > kSizePrecision) {
            const qreal middle = (low + high) / 2;
            if (arrange(middle, columns, nullptr))
                low = middle;
            else
                high = middle;
        }
        return low;
    }

private:
    const QList<MeasuredParagraph> &m_paragraphs;
    const TextStyle &m_style;
    FontFace &m_face;
    QSizeF m_box;
};

} // namespace

size_t qHash(const TextFitter::Key &key, size_t seed)
{
    return qHashMulti(seed, key.faceId, key.pointSize, key.minimumPointSize, key.lineSpacing, key.wrap,
                      key.wholeParagraphs, key.moreMark, key.columns, key.horizontalAlignment, key.verticalAlignment,
                      key.width, key.height, key.text);
}

TextFitter::TextFitter(FontLibrary &fonts) : m_fonts(fonts), m_cache(kFitCacheSize) {}

const FittedText &TextFitter::fit(const QString &text, const TextStyle &style, const QSizeF &box)
{
    const Key key{m_fonts.faceId(style.fontFamilies, style.bold),
                  style.pointSize,
                  style.minimumPointSize,
                  style.lineSpacing,
                  style.wrap,
                  style.wholeParagraphs,
                  style.moreMark,
                  style.columns,
                  int(style.horizontalAlignment),
                  int(style.verticalAlignment),
                  box.width(),
                  box.height(),
                  text};
    if (const FittedText *cached = m_cache.object(key))
        return *cached;
    auto *fitted = new FittedText(compute(text, style, box));
    m_cache.insert(key, fitted);
    return *fitted;
}

FittedText TextFitter::compute(const QString &text, const TextStyle &style, const QSizeF &box)
{
    FittedText result;
    result.faceId = m_fonts.faceId(style.fontFamilies, style.bold);
    FontFace &face = m_fonts.face(result.faceId);

    // A character no font has would print as a box: it is left out, and said so.
    QString printable;
    printable.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t character = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const QStringView written = QStringView(text).mid(i, pair ? 2 : 1);
        if (isLineBreak(text[i]) || face.canShow(character))
            printable += written;
        else if (!result.unprintable.contains(written))
            result.unprintable += written;
        i += pair ? 1 : 0;
    }

    QList<MeasuredParagraph> paragraphs;
    for (const QString &paragraph : splitParagraphs(printable))
        paragraphs.append(MeasuredParagraph(paragraph, face));
    const Arranger arranger(paragraphs, style, face, box);

    // More columns only when they let the text be larger.
    int columns = 1;
    std::optional<qreal> size = arranger.largestFittingSize(1);
    for (int candidate = 2; candidate <= style.columns && size != style.pointSize; ++candidate) {
        const std::optional<qreal> candidateSize = arranger.largestFittingSize(candidate);
        if (candidateSize && (!size || *candidateSize > *size + kSizePrecision)) {
            size = candidateSize;
            columns = candidate;
        }
    }
    result.pointSize = size.value_or(qMin(style.minimumPointSize, style.pointSize));
    // Nothing fits whole even at the minimum: the column count that shows the most lines, so
    // that as little as possible is left out.
    if (!size && style.columns > 1) {
        const int rows = arranger.rowsAt(result.pointSize);
        qsizetype mostShown = -1;
        for (int candidate = 1; candidate <= style.columns; ++candidate) {
            QList<PlacedLine> trial;
            arranger.arrange(result.pointSize, candidate, &trial);
            const auto shown =
                std::count_if(trial.cbegin(), trial.cend(), [rows](const PlacedLine &line) { return line.row < rows; });
            if (shown > mostShown) {
                mostShown = shown;
                columns = candidate;
            }
        }
    }

    QList<PlacedLine> placed;
    arranger.arrange(result.pointSize, columns, &placed);

    const qreal units = result.pointSize * kUnitsPerPoint;
    result.ascent = face.ascent() * units;
    result.descent = face.descent() * units;
    const qreal pitch = style.lineSpacing * units;
    const qreal columnWidth = (box.width() - (columns - 1) * kColumnGap * units) / columns;
    int rows = 0;
    for (const PlacedLine &line : placed)
        rows = qMax(rows, line.row + 1);
    const qreal blockHeight = rows == 0 ? 0 : (rows - 1) * pitch + result.ascent + result.descent;

    // Text too tall for its box starts at the top, so its beginning shows.
    qreal top = 0;
    if (blockHeight <= box.height() + kTolerance) {
        if (style.verticalAlignment == VerticalAlignment::Middle)
            top = (box.height() - blockHeight) / 2;
        else if (style.verticalAlignment == VerticalAlignment::Bottom)
            top = box.height() - blockHeight;
    }
    // Which lines are shown: only whole lines inside the box, each no wider than its column.
    const qreal maxWidth = columnWidth / units;
    QList<LineRange> ranges;
    QList<bool> shown;
    for (const PlacedLine &line : placed) {
        const qreal baseline = top + result.ascent + line.row * pitch;
        // A line wider than its column (one unbreakable word, or no wrapping) keeps only the
        // characters that fit: what is cut is left out, not hidden under a clip.
        LineRange range = line.range;
        bool whole = baseline + result.descent <= box.height() + kTolerance;
        while (whole && range.end > range.first && range.width > maxWidth + kTolerance) {
            --range.end;
            range.width -= line.paragraph->advances[range.end];
            result.clipped = true;
            whole = !style.wholeParagraphs;
        }
        ranges.append(range);
        shown.append(whole);
        result.clipped = result.clipped || !whole;
    }
    // A statement is printed whole or not at all: from the first one not shown whole, nothing.
    if (style.wholeParagraphs && result.clipped) {
        const auto firstCut = std::find(shown.cbegin(), shown.cend(), false) - shown.cbegin();
        for (qsizetype i = 0; i < placed.size(); ++i)
            if (i >= firstCut || placed[i].paragraph == placed[firstCut].paragraph)
                shown[i] = false;
    }
    // What was left out is marked at the end of the last line shown, which ends at a word.
    QString mark;
    qsizetype marked = -1;
    if (result.clipped && !style.moreMark.isEmpty()) {
        for (qsizetype i = 0; i < placed.size(); ++i)
            if (shown[i])
                marked = i;
        qreal markWidth = 0;
        for (const char32_t character : style.moreMark.toUcs4())
            markWidth += face.advance(character);
        if (marked >= 0 && markWidth <= maxWidth + kTolerance) {
            ranges[marked] = shortenToWord(*placed[marked].paragraph, ranges[marked], maxWidth - markWidth);
            mark = style.moreMark;
        }
    }

    for (qsizetype i = 0; i < placed.size(); ++i) {
        if (!shown[i])
            continue;
        const PlacedLine &line = placed[i];
        const qreal baseline = top + result.ascent + line.row * pitch;
        const LineRange &range = ranges[i];
        QString text = line.paragraph->textOf(range);
        qreal width = range.width * units;
        if (i == marked && !mark.isEmpty()) {
            text += mark;
            for (const char32_t character : mark.toUcs4())
                width += face.advance(character) * units;
        }
        qreal x = 0;
        if (style.horizontalAlignment == HorizontalAlignment::Center)
            x = (columnWidth - width) / 2;
        else if (style.horizontalAlignment == HorizontalAlignment::Right)
            x = columnWidth - width;
        x = qMax<qreal>(0, x) + line.column * (columnWidth + kColumnGap * units);
        result.lines.append(FittedLine{text, QPointF(x, baseline), width});
    }
    return result;
}

} // namespace corvane
