#pragma once

#include "ReportDocument.h"

#include <QPageLayout>
#include <QPointF>

class QPrinter;

namespace corvane {

class PageRenderer;

// Sets the printer up for label stock: this paper at 100 %, positioned from the paper's
// edge. Undoes what a print dialog may have chosen that would move or shrink the labels:
// other paper, margins, pages per sheet and fit-to-page.
void preparePrinter(QPrinter &printer, const QPageLayout &paper);

// Prepares the printer and prints every sheet of the document on it, everything moved by
// `offset` (0.1 mm, right and down). The print preview's print button and the command-line
// printing check both print through here. False when the printer cannot be opened.
bool printDocument(QPrinter &printer, const ReportDocument &document, PageRenderer &renderer, const QPointF &offset);

} // namespace corvane
