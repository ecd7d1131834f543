#include "PdfOutput.h"

#include "FileFailure.h"
#include "PageRenderer.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace corvane {

namespace {

// Fine enough that glyph and line positions are exact to well under 0.1 mm.
constexpr int kPdfResolution = 1200;

} // namespace

QPageLayout sheetPageLayout(const ReportSheet &sheet)
{
    QPageSize::PageSizeId size = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    if (!sheet.layers.isEmpty()) {
        size = sheet.layers.first().report().pageSize;
        orientation = sheet.layers.first().report().orientation;
    }
    return QPageLayout(QPageSize(size), orientation, QMarginsF(0, 0, 0, 0));
}

Outcome writePdf(const ReportDocument &document, const QString &path, PageRenderer &renderer)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fileFailure(QStringLiteral("PDF ファイルを作成できません: %1").arg(path), file, true);

    QPdfWriter writer(&file);
    writer.setResolution(kPdfResolution);
    writer.setCreator(QStringLiteral("Corvane"));
    writer.setTitle(document.title);
    if (!document.sheets.isEmpty())
        writer.setPageLayout(sheetPageLayout(document.sheets.first()));

    QPainter painter;
    if (!painter.begin(&writer)) {
        file.cancelWriting();
        return Outcome::failed(QStringLiteral("PDF ファイルを作成できません: %1").arg(path));
    }
    for (qsizetype i = 0; i < document.sheets.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(sheetPageLayout(document.sheets[i]));
            writer.newPage();
        }
        renderer.paint(painter, document.sheets[i]);
    }
    painter.end();

    if (file.error() != QFileDevice::NoError || !file.commit()) {
        Failure failure = fileFailure(QStringLiteral("PDF ファイルを書き込めません: %1").arg(path), file, true);
        file.cancelWriting();
        return failure;
    }
    return {};
}

} // namespace corvane
