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
};

// 0.1 mm per point.
inline constexpr qreal kUnitsPerPoint = 254.0 / 72.0;

// Breaks text into lines (CR LF / LF breaks kept, kinsoku applied when
// wrapping) and picks the largest size between the style's minimum and
// nominal size at which it fits its box. Results are cached.
class TextFitter {
public:
    explicit TextFitter(FontLibrary &fonts);

    // `box` is the area for the text, in 0.1 mm, padding already taken off.
    const FittedText &fit(const QString &text, const TextStyle &style, const QSizeF &box);

private:
    FittedText compute(const QString &text, const TextStyle &style, const QSizeF &box);

    FontLibrary &m_fonts;
    QCache<QString, FittedText> m_cache;
};

} // namespace corvane
