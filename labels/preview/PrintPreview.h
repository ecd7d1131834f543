#pragma once

#include "LabelKind.h"
#include "ReportDocument.h"

#include <functional>

class QWidget;

namespace corvane {

class Database;
class PageRenderer;

// What the preview's tool bar offers beyond Qt's own buttons.
struct PreviewControls {
    // Label positions on a sheet; above 1, a spin box "開始位置" chooses the position the
    // first sheet starts at, and `relayout` lays the document out again from it (false: it
    // could not, and the document is as it was).
    int positions = 1;
    int startPosition = 1;
    std::function<bool(int startPosition)> relayout;
};

// Shows the document in a modal print preview owned by `owner`, from which the user prints
// on any installed printer (moved by the printer offset of the settings file) or saves a
// PDF. The document may change under it through controls.relayout.
void showPrintPreview(QWidget *owner, const ReportDocument &document, PageRenderer &renderer,
                      const PreviewControls &controls = {});

// Runs the printing of one product's labels and shows what came of it: a failure in a
// message box, a finished document in the print preview, after a message listing any text
// that did not fit.
void printWithPreview(QWidget *owner, Database &db, int productId, LabelKind kind, bool singleSubstance);

} // namespace corvane
