#include "AlignmentPage.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace corvane {

namespace {

constexpr qreal kUnitsPerInch = 254.0; // 0.1 mm
constexpr int kScaleHalf = 50;         // 5 mm either side of the edge
constexpr int kScaleInset = 120;       // the scale crosses the edge this far into the label
constexpr int kMargin = 50;            // edges nearer the paper's edge than this are not printable

// The label outlines: the shapes marked as guides, or the drawn frames of a sheet without.
QList<QRect> outlines(const ReportDefinition &report)
{
    QList<QRect> guides, frames;
    for (const ShapeDefinition &shape : report.shapes)
        if (shape.kind == ShapeDefinition::Kind::Rectangle)
            (shape.guide ? guides : frames).append(shape.rect);
    return guides.isEmpty() ? frames : guides;
}

// Ticks every millimetre along a scale at `at`, across an edge at `edge`, numbered -5, 0 and +5.
void paintScale(QPainter &painter, Qt::Orientation along, int edge, int at)
{
    for (int mm = -kScaleHalf / 10; mm <= kScaleHalf / 10; ++mm) {
        const int position = edge + mm * 10;
        const int length = mm == 0 ? 40 : mm % 5 == 0 ? 28 : 16;
        if (along == Qt::Horizontal)
            painter.drawLine(position, at - length / 2, position, at + length / 2);
        else
            painter.drawLine(at - length / 2, position, at + length / 2, position);
        if (mm % 5 != 0)
            continue;
        const QString number = mm == 0 ? QStringLiteral("0")
                                       : QStringLiteral("%1%2").arg(mm > 0 ? QStringLiteral("+") : QString()).arg(mm);
        const QRect box =
            along == Qt::Horizontal ? QRect(position - 30, at + 22, 60, 30) : QRect(at + 22, position - 15, 60, 30);
        painter.drawText(box, (along == Qt::Horizontal ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop, number);
    }
    if (along == Qt::Horizontal)
        painter.drawLine(edge - kScaleHalf, at, edge + kScaleHalf, at);
    else
        painter.drawLine(at, edge - kScaleHalf, at, edge + kScaleHalf);
}

} // namespace

void paintAlignmentPage(QPainter &painter, const ReportDefinition &report, const QPointF &offset)
{
    const QPaintDevice *device = painter.device();
    painter.save();
    painter.scale(device->logicalDpiX() / kUnitsPerInch, device->logicalDpiY() / kUnitsPerInch);
    painter.translate(offset);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::NoBrush);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(25);
    painter.setFont(font);

    const QList<QRect> labels = outlines(report);
    for (const QRect &label : labels)
        painter.drawRect(label);

    const QSize page = report.pageExtent();
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(page.width(), 0), QPoint(0, page.height()), QPoint(page.width(), page.height())}) {
        const QRect *nearest = nullptr;
        qreal distance = 0;
        for (const QRect &label : labels) {
            const qreal d = std::hypot(label.center().x() - corner.x(), label.center().y() - corner.y());
            if (!nearest || d < distance) {
                nearest = &label;
                distance = d;
            }
        }
        if (!nearest)
            break;
        const bool left = corner.x() == 0, top = corner.y() == 0;
        const int x0 = nearest->x(), x1 = nearest->x() + nearest->width();
        const int y0 = nearest->y(), y1 = nearest->y() + nearest->height();
        // The edge on the corner's side, unless the printer cannot reach it; then the other one.
        const int edgeX = left ? (x0 >= kMargin ? x0 : x1) : (x1 <= page.width() - kMargin ? x1 : x0);
        const int edgeY = top ? (y0 >= kMargin ? y0 : y1) : (y1 <= page.height() - kMargin ? y1 : y0);
        const int intoX = edgeX == x0 ? 1 : -1, intoY = edgeY == y0 ? 1 : -1;
        paintScale(painter, Qt::Horizontal, edgeX, edgeY + intoY * kScaleInset);
        paintScale(painter, Qt::Vertical, edgeY, edgeX + intoX * kScaleInset);
    }

    font.setPixelSize(35);
    painter.setFont(font);
    const QRect caption(200, page.height() / 2 - 100, page.width() - 400, 200);
    painter.fillRect(caption, Qt::white);
    painter.drawText(
        caption, Qt::AlignCenter | Qt::TextWordWrap,
        QStringLiteral("印刷位置の調整用テストページ（横 %1 mm、縦 %2 mm で印刷）\n"
                       "ラベル用紙に重ねて光にかざし、用紙の切れ目が目盛りのどこに来るかを読んでください。")
            .arg(offset.x() / 10, 0, 'f', 1)
            .arg(offset.y() / 10, 0, 'f', 1));
    painter.restore();
}

} // namespace corvane
