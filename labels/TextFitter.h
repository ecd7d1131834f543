#pragma once

#include "ReportDefinition.h"

#include <QCache>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>

namespace corvane {

class FontLibrary;

struct FittedLine {
    QString text;
    QPointF origin; // left end of the baseline, 0.1 mm from the box's top-left
    qreal width = 0;
};

// How a text is set in its box: the size chosen and every line placed.
struct FittedText {
    int faceId = -1;
    qreal pointSize = 0;
    qreal ascent = 0;  // 0.1 mm at pointSize
    qreal descent = 0; // 0.1 mm at pointSize
    QList<FittedLine> lines;
    bool clipped = false; // lines or characters were left out: it did not fit even at the minimum size
    QString unprintable;  // characters no installed font has, left out rather than printed as boxes
};

// 0.1 mm per point.
inline constexpr qreal kUnitsPerPoint = 254.0 / 72.0;

// Breaks text into lines (CR LF, LF, CR and the Unicode line and paragraph separators
// kept, kinsoku applied when wrapping) and picks the largest size between the style's
// minimum and nominal size at which it fits its box. Text that does not fit even at the
// minimum loses whole lines from the end: whole paragraphs with the style's wholeParagraphs,
// and the last line shown ends with its moreMark. Results are cached.
class TextFitter {
public:
    explicit TextFitter(FontLibrary &fonts);

    // `box` is the area for the text, in 0.1 mm, padding already taken off.
    const FittedText &fit(const QString &text, const TextStyle &style, const QSizeF &box);

    // What a layout depends on; every number exactly, so two sizes printing alike never
    // share a layout. Compared and hashed as numbers: building a text key cost more than
    // the fitting it saved.
    struct Key {
        int faceId;
        qreal pointSize, minimumPointSize, lineSpacing;
        bool wrap, wholeParagraphs;
        QString moreMark;
        int columns, horizontalAlignment, verticalAlignment;
        qreal width, height;
        QString text;
        bool operator==(const Key &other) const = default;
    };

private:
    FittedText compute(const QString &text, const TextStyle &style, const QSizeF &box);

    FontLibrary &m_fonts;
    QCache<Key, FittedText> m_cache;
};

size_t qHash(const TextFitter::Key &key, size_t seed = 0);

} // namespace corvane
