#include "PrintPreview.h"

#include "DataLocation.h"
#include "Database.h"
#include "MessageBox.h"
#include "PageRenderer.h"
#include "PdfOutput.h"
#include "PrintLabels.h"
#include "PrintOffsetDialog.h"
#include "PrinterOutput.h"
#include "ReportEngine.h"

#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QToolBar>

namespace corvane {

namespace {

// So many cut fields fit one message box; the rest are counted.
constexpr int kCutLinesShown = 20;

std::shared_ptr<const ReportDefinition> firstSheetReport(const ReportDocument &document)
{
    if (document.sheets.isEmpty() || document.sheets.first().layers.isEmpty())
        return nullptr;
    return std::make_shared<const ReportDefinition>(document.sheets.first().layers.first().report());
}

void addControls(QPrintPreviewDialog &dialog, const ReportDocument &document, const PreviewControls &controls)
{
    auto *toolBar = dialog.findChild<QToolBar *>();
    auto *preview = dialog.findChild<QPrintPreviewWidget *>();
    if (!toolBar || !preview)
        return;
    // Our controls come first: at the dialog's width the end of Qt's tool bar is folded away.
    QAction *qtsFirst = toolBar->actions().value(0);
    const auto add = [&](QWidget *widget) { toolBar->insertWidget(qtsFirst, widget); };
    QAction *offset = new QAction(QStringLiteral("印刷位置の調整"), toolBar);
    toolBar->insertAction(qtsFirst, offset);
    QObject::connect(offset, &QAction::triggered, &dialog,
                     [&dialog, &document] { PrintOffsetDialog(firstSheetReport(document), &dialog).exec(); });
    if (controls.positions > 1 && controls.relayout) {
        auto *start = new QSpinBox(toolBar);
        start->setRange(1, controls.positions);
        start->setValue(controls.startPosition);
        start->setToolTip(QStringLiteral("1 枚目の何番目のラベルから印刷するか（左上から横へ数えます）"));
        add(new QLabel(QStringLiteral(" 開始位置 "), toolBar));
        add(start);
        auto laidOut = std::make_shared<int>(controls.startPosition);
        QObject::connect(start, &QSpinBox::valueChanged, &dialog, [=, relayout = controls.relayout](int position) {
            if (position == *laidOut)
                return;
            if (relayout(position)) {
                *laidOut = position;
            } else {
                const QSignalBlocker blocker(start);
                start->setValue(*laidOut);
            }
            preview->updatePreview();
        });
    }
    toolBar->insertSeparator(qtsFirst);
}

} // namespace

void showPrintPreview(QWidget *owner, const ReportDocument &document, PageRenderer &renderer,
                      const PreviewControls &controls)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document.title);
    if (!document.sheets.isEmpty())
        preparePrinter(printer, sheetPageLayout(document.sheets.first()));

    QPrintPreviewDialog dialog(&printer, owner);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー - %1").arg(document.title));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter *target) {
        // The offset makes up for a printer; a PDF keeps the sheet where it belongs.
        const bool onPaper = target->outputFormat() == QPrinter::NativeFormat;
        if (!printDocument(*target, document, renderer, onPaper ? readPrintOffset() : QPointF()))
            MsgBox(&dialog, QStringLiteral("プリンタ %1 で印刷できません。").arg(target->printerName()));
    });
    addControls(dialog, document, controls);
    dialog.exec();
}

void printWithPreview(QWidget *owner, Database &db, int productId, LabelKind kind, bool singleSubstance)
{
    ReportEngine engine;
    engine.setDataFolder(locateData().resourceFolder);
    const auto run = [&](int start) {
        return PrintLabels(db, productId, kind, singleSubstance, engine, PrintOptions{start});
    };
    const PrintResult result = run(1);
    if (!result.outcome) {
        MsgBox(owner, result.outcome.errorText());
        return;
    }
    if (!result.warnings.isEmpty())
        MsgBox(owner, result.warnings.join(QLatin1Char('\n')));
    if (!result.incomplete.isEmpty())
        MsgBox(owner, incompleteMessage(result.incomplete, kCutLinesShown));
    if (!result.cut.isEmpty())
        MsgBox(owner, cutTextMessage(result.cut, kCutLinesShown));

    PreviewControls controls;
    controls.positions = labelsPerSheet(kind);
    auto shownCut = std::make_shared<QString>(cutTextMessage(result.cut, kCutLinesShown));
    auto shownIncomplete = std::make_shared<QString>(incompleteMessage(result.incomplete, kCutLinesShown));
    controls.relayout = [&, shownCut, shownIncomplete](int start) {
        // A run that fails leaves the engine's document, and so the preview, as it was.
        PrintResult again = run(start);
        if (!again.outcome) {
            MsgBox(owner, again.outcome.errorText());
            return false;
        }
        // Another start position may leave out other substances (the bottom row is lower).
        if (const QString message = incompleteMessage(again.incomplete, kCutLinesShown);
            !again.incomplete.isEmpty() && message != *shownIncomplete) {
            MsgBox(owner, message);
            *shownIncomplete = message;
        }
        // The same texts are cut wherever the labels start; say so only when that changes.
        if (const QString message = cutTextMessage(again.cut, kCutLinesShown);
            !again.cut.isEmpty() && message != *shownCut) {
            MsgBox(owner, message);
            *shownCut = message;
        }
        return true;
    };
    showPrintPreview(owner, engine.lastDocument(), engine.renderer(), controls);
}

} // namespace corvane
