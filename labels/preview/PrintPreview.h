#pragma once

#include "ReportDocument.h"

class QWidget;

namespace corvane {

class Database;
class PageRenderer;

// Shows the document in a modal print preview owned by `owner`, from which
// the user prints on any installed printer or saves a PDF.
void showPrintPreview(QWidget *owner, const ReportDocument &document, PageRenderer &renderer);

// Runs the printing of one product's labels and shows what came of it: a failure in a
// message box, a finished document in the print preview.
void printWithPreview(QWidget *owner, Database &db, int productId, int kind, int singleSubstance);

} // namespace corvane
