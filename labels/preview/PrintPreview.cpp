#include "PrintPreview.h"

#include "DataLocation.h"
#include "Database.h"
#include "MessageBox.h"
#include "PageRenderer.h"
#include "PdfOutput.h"
#include "PrintLabels.h"
#include "ReportEngine.h"


#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace corvane {

void showPrintPreview(QWidget *owner, const ReportDocument &document, PageRenderer &renderer)
{
    QPrinter printer(QPrinter::HighResolution);
    // Label stock is positioned from the paper's edge, not the printable area.
    printer.setFullPage(true);
    printer.setDocName(document.title);
    if (!document.sheets.isEmpty())
        printer.setPageLayout(sheetPageLayout(document.sheets.first()));

    QPrintPreviewDialog dialog(&printer, owner);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー - %1").arg(document.title));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter *target) {
        QPainter painter(target);
        for (qsizetype i = 0; i < document.sheets.size(); ++i) {
            if (i > 0)
                target->newPage();
            renderer.paint(painter, document.sheets[i]);
        }
    });
    dialog.exec();
}

void printWithPreview(QWidget *owner, Database &db, int productId, int kind, int singleSubstance)
{
    ReportEngine engine;
    engine.setDataFolder(locateData().resourceFolder);
    const PrintResult result =
        PrintLabels(owner, db, productId, static_cast<qint16>(kind), static_cast<qint16>(singleSubstance), engine);
    if (!result.ok) {
        MsgBox(owner, result.error);
        return;
    }
    if (!result.warnings.isEmpty())
        MsgBox(owner, result.warnings.join(QLatin1Char('\n')));
    showPrintPreview(owner, engine.lastDocument(), engine.renderer());
}

} // namespace corvane
