#pragma once

#include "ReportDocument.h"

class QWidget;

namespace corvane {

class PageRenderer;

// Shows the document in a modal print preview owned by `owner`, from which
// the user prints on any installed printer or saves a PDF.
void showPrintPreview(QWidget *owner, const ReportDocument &document, PageRenderer &renderer);

} // namespace corvane
