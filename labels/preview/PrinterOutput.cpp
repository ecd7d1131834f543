#include "PrinterOutput.h"

#include "PageRenderer.h"
#include "PdfOutput.h"

#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>

namespace corvane {

namespace {

// The key under which Qt's CUPS print engine keeps the job's options; only Qt's private
// header names it (PPK_CupsOptions). scripts/cups-check.sh fails if it stops working: it
// prints with two pages per sheet chosen.
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Job options with which CUPS would scale or place the pages itself (Qt's dialog sets the
// pages-per-sheet ones; the others come from printer defaults or the dialog's properties).
const QStringList kScalingOptions = {
    QStringLiteral("number-up"),       QStringLiteral("number-up-layout"), QStringLiteral("fit-to-page"),
    QStringLiteral("fitplot"),         QStringLiteral("print-scaling"),    QStringLiteral("scaling"),
    QStringLiteral("natural-scaling"), QStringLiteral("position"),         QStringLiteral("page-left"),
    QStringLiteral("page-right"),      QStringLiteral("page-top"),         QStringLiteral("page-bottom"),
};

// The CUPS options come as a flat list: name, value, name, value, ...
void keepFullScale(QPrinter &printer)
{
    QPrintEngine *engine = printer.printEngine();
    const QStringList options = engine->property(kCupsOptions).toStringList();
    QStringList kept;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        if (!kScalingOptions.contains(options[i]))
            kept << options[i] << options[i + 1];
    }
    kept << QStringLiteral("print-scaling") << QStringLiteral("none");
    engine->setProperty(kCupsOptions, kept);
}

void usePaper(QPrinter &printer, const QPageLayout &layout)
{
    // A printer that cannot print to the paper's edge refuses a layout without margins;
    // in full-page mode its margins move nothing, so only the paper has to be right.
    if (!printer.setPageLayout(layout)) {
        printer.setPageSize(layout.pageSize());
        printer.setPageOrientation(layout.orientation());
    }
}

} // namespace

void preparePrinter(QPrinter &printer, const QPageLayout &paper)
{
    // Label stock is positioned from the paper's edge, not the printable area.
    printer.setFullPage(true);
    usePaper(printer, paper);
    keepFullScale(printer);
}

bool printDocument(QPrinter &printer, const ReportDocument &document, PageRenderer &renderer, const QPointF &offset)
{
    if (document.sheets.isEmpty())
        return true;
    preparePrinter(printer, sheetPageLayout(document.sheets.first()));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QPointF kept = renderer.offset();
    renderer.setOffset(offset);
    for (qsizetype i = 0; i < document.sheets.size(); ++i) {
        if (i > 0) {
            usePaper(printer, sheetPageLayout(document.sheets[i]));
            printer.newPage();
        }
        renderer.paint(painter, document.sheets[i]);
    }
    renderer.setOffset(kept);
    return painter.end();
}

} // namespace corvane
