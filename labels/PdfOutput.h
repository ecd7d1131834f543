#pragma once

#include "Outcome.h"
#include "ReportDocument.h"

#include <QString>

namespace corvane {

class PageRenderer;

// Writes the document to a PDF file. A failure (Japanese, naming the file) leaves no file
// behind and an existing file untouched.
Outcome writePdf(const ReportDocument &document, const QString &path, PageRenderer &renderer);

// Page size and orientation a sheet is printed on, taken from its first report.
QPageLayout sheetPageLayout(const ReportSheet &sheet);

} // namespace corvane
