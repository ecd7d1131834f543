#include "PageRenderer.h"

#include "ProgramPath.h"

#include <QDir>
#include <QFileInfo>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QSet>

namespace corvane {

namespace {

constexpr qreal kUnitsPerInch = 254.0; // 0.1 mm

QRectF innerBox(const QRect &rect, const TextStyle &style)
{
    return QRectF(rect).adjusted(style.horizontalPadding, style.verticalPadding, -style.horizontalPadding,
                                 -style.verticalPadding);
}

} // namespace

PageRenderer::PageRenderer() : m_fitter(m_fonts) {}

void PageRenderer::setBaseFolder(const QString &folder, const QString &dataFolder)
{
    m_baseFolder = folder;
    m_dataFolder = dataFolder;
    m_picturePaths.clear();
}

QString PageRenderer::picturePath(const QString &reference)
{
    auto found = m_picturePaths.constFind(reference);
    if (found == m_picturePaths.constEnd())
        found = m_picturePaths.insert(reference, resolveProgramPath(m_baseFolder, reference, m_dataFolder));
    return *found;
}

QString PageRenderer::loadPictures(const ReportDocument &document, SheetField *where)
{
    m_picturePaths.clear(); // files may have appeared or moved since the last document
    QSet<QString> checked;
    for (qsizetype s = 0; s < document.sheets.size(); ++s) {
        for (const FilledPage &page : document.sheets[s].layers) {
            for (qsizetype i = 0; i < page.report().fields.size(); ++i) {
                const auto reference = pictureReference(page.report().fields[i].style, page.textAt(i));
                if (!reference || reference->isEmpty() || checked.contains(*reference))
                    continue;
                checked.insert(*reference);
                const QString path = picturePath(*reference);
                // Pictures come from the program's own folder only, so no data can pull an
                // outside file into a label.
                const QString allowed =
                    m_dataFolder.isEmpty() ? QDir(m_baseFolder).filePath(QStringLiteral("Data")) : m_dataFolder;
                const bool outside = QFileInfo::exists(path) && !isInsideFolder(path, allowed);
                if (outside || !m_pictures.load(path)) {
                    if (where)
                        *where = SheetField{int(s), page.report().fields[i].name, QString()};
                    if (outside)
                        return QStringLiteral("%1（%2 の外のファイルは使えません）")
                            .arg(path, QDir::toNativeSeparators(allowed));
                    return path;
                }
            }
        }
    }
    return {};
}

QList<PageRenderer::FieldFault> PageRenderer::cutFields(const FilledPage &page)
{
    QList<FieldFault> cut;
    const ReportDefinition &report = page.report();
    for (qsizetype i = 0; i < report.fields.size(); ++i) {
        const QString &text = page.textAt(i);
        if (text.isEmpty() || pictureReference(report.fields[i].style, text))
            continue;
        const QRect &rect = page.rectAt(i);
        const QRectF box = innerBox(rect, report.fields[i].style);
        if (rect.width() <= 0 || rect.height() <= 0 || box.width() <= 0 || box.height() <= 0) {
            cut.append({i, QString()});
            continue;
        }
        const FittedText &fitted = m_fitter.fit(text, report.fields[i].style, box.size());
        if (fitted.clipped || !fitted.unprintable.isEmpty())
            cut.append({i, fitted.unprintable});
    }
    return cut;
}

bool PageRenderer::fitsWhole(const QRect &rect, const TextStyle &style, const QString &text)
{
    const QRectF box = innerBox(rect, style);
    if (text.isEmpty())
        return true;
    if (box.width() <= 0 || box.height() <= 0)
        return false;
    const FittedText &fitted = m_fitter.fit(text, style, box.size());
    return !fitted.clipped && fitted.unprintable.isEmpty();
}

void PageRenderer::paint(QPainter &painter, const ReportSheet &sheet)
{
    const QPaintDevice *device = painter.device();
    // Pictures go into a PDF file as shared images; elsewhere SVG stays vector. A printer's
    // job is a PDF too, but there images with transparency make CUPS's PostScript filter
    // turn the whole page into one coarse image.
    const bool picturesAsImages = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf
                                  && device->devType() != QInternal::Printer;
    painter.save();
    painter.scale(device->logicalDpiX() / kUnitsPerInch, device->logicalDpiY() / kUnitsPerInch);
    painter.translate(m_offset);
    for (const FilledPage &page : sheet.layers)
        paintPage(painter, page, picturesAsImages);
    painter.restore();
}

void PageRenderer::paintPage(QPainter &painter, const FilledPage &page, bool picturesAsImages)
{
    const ReportDefinition &report = page.report();
    const bool showGuides = m_showGuides || report.guides;

    for (const ShapeDefinition &shape : report.shapes) {
        if (shape.guide && !showGuides)
            continue;
        painter.setPen(QPen(shape.color, shape.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        if (shape.kind == ShapeDefinition::Kind::Line) {
            painter.drawLine(shape.line);
        } else {
            painter.setBrush(shape.fill.isValid() ? QBrush(shape.fill) : QBrush(Qt::NoBrush));
            painter.drawRect(shape.rect);
        }
    }
    painter.setBrush(Qt::NoBrush);

    for (const StaticText &text : report.texts) {
        if (text.guide && !showGuides)
            continue;
        paintText(painter, text.rect, text.style, text.text);
        paintFrame(painter, text.rect, text.style);
    }

    for (qsizetype i = 0; i < report.fields.size(); ++i) {
        const QRect &rect = page.rectAt(i);
        if (rect.width() <= 0 || rect.height() <= 0)
            continue;
        const TextStyle &style = report.fields[i].style;
        const QString &text = page.textAt(i);
        if (const auto reference = pictureReference(style, text)) {
            if (!reference->isEmpty())
                paintPicture(painter, rect, style, *reference, picturesAsImages);
        } else if (!text.isEmpty()) {
            paintText(painter, rect, style, text);
        }
        paintFrame(painter, rect, style);
    }
}

void PageRenderer::paintText(QPainter &painter, const QRect &rect, const TextStyle &style, const QString &text)
{
    if (style.fill.isValid())
        painter.fillRect(rect, style.fill);
    if (text.isEmpty())
        return;
    const QRectF box = innerBox(rect, style);
    if (box.width() <= 0 || box.height() <= 0)
        return;
    const FittedText &fitted = m_fitter.fit(text, style, box.size());
    if (fitted.lines.isEmpty())
        return;

    painter.save();
    if (fitted.clipped)
        painter.setClipRect(box, Qt::IntersectClip);
    painter.setPen(style.color);
    const qreal scale = fitted.pointSize * kUnitsPerPoint / kReferencePixelSize;
    // All lines of the field go out as one glyph run per font: each run drawn costs the PDF
    // writer as much as a dozen glyphs.
    QList<QGlyphRun> runs;
    for (const FittedLine &line : fitted.lines) {
        if (line.text.isEmpty())
            continue;
        const ShapedLine &shaped = m_fonts.shape(fitted.faceId, line.text);
        const QPointF origin = line.origin / scale - QPointF(0, shaped.ascent);
        for (const QGlyphRun &run : shaped.runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF &position : positions)
                position += origin;
            if (!runs.isEmpty() && runs.last().rawFont() == run.rawFont() && runs.last().flags() == run.flags()) {
                runs.last().setGlyphIndexes(runs.last().glyphIndexes() + run.glyphIndexes());
                runs.last().setPositions(runs.last().positions() + positions);
            } else {
                QGlyphRun moved = run;
                moved.setPositions(positions);
                runs.append(moved);
            }
        }
    }
    painter.translate(box.topLeft());
    painter.scale(scale, scale);
    for (const QGlyphRun &run : runs)
        painter.drawGlyphRun(QPointF(0, 0), run);
    painter.restore();
}

void PageRenderer::paintPicture(QPainter &painter, const QRect &rect, const TextStyle &style, const QString &reference,
                                bool asImage)
{
    if (style.fill.isValid())
        painter.fillRect(rect, style.fill);
    m_pictures.draw(painter, picturePath(reference), innerBox(rect, style), kUnitsPerInch, asImage);
}

void PageRenderer::paintFrame(QPainter &painter, const QRect &rect, const TextStyle &style)
{
    if (!style.frameEdges)
        return;
    painter.setPen(QPen(style.frameColor, style.frameWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const QRectF r(rect);
    if (style.frameEdges & Qt::LeftEdge)
        painter.drawLine(r.topLeft(), r.bottomLeft());
    if (style.frameEdges & Qt::TopEdge)
        painter.drawLine(r.topLeft(), r.topRight());
    if (style.frameEdges & Qt::RightEdge)
        painter.drawLine(r.topRight(), r.bottomRight());
    if (style.frameEdges & Qt::BottomEdge)
        painter.drawLine(r.bottomLeft(), r.bottomRight());
}

} // namespace corvane
