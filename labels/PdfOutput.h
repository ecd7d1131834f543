#pragma once

#include "ReportDocument.h"

#include <QString>

namespace corvane {

class PageRenderer;

// Writes the document to a PDF file. Returns an error message (Japanese,
// naming the file), or an empty string on success; a failed write leaves
// no file behind and an existing file untouched.
QString writePdf(const ReportDocument &document, const QString &path, PageRenderer &renderer);

// Page size and orientation a sheet is printed on, taken from its first report.
QPageLayout sheetPageLayout(const ReportSheet &sheet);

} // namespace corvane
