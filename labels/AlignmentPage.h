#pragma once

#include "ReportDefinition.h"

#include <QPointF>

class QPainter;

namespace corvane {

// Paints the page a user prints on plain paper and holds against the label stock to see how
// far the printer puts things off: the outlines of the sheet's labels and, near each corner,
// a scale from -5 to +5 mm across the edges of the nearest label. Where the stock's own cut
// lines fall on the scales is the offset to enter. `offset` (0.1 mm) is the one in use, so
// that a corrected printer prints the outlines onto the cut lines. The painter's device
// origin must be the top-left corner of the paper.
void paintAlignmentPage(QPainter &painter, const ReportDefinition &report, const QPointF &offset);

} // namespace corvane
