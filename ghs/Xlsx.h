#pragma once
#include "Outcome.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace corvane::ghs {

// One worksheet of a workbook: the text of every cell, by row and column (both from 1).
// Shared strings are resolved (their phonetic guides left out), numbers are kept as the file
// writes them, an empty or missing cell is an empty text.
struct XlsxSheet {
    QString name;
    std::vector<QStringList> rows; // rows[r - 1][c - 1]

    int rowCount() const { return int(rows.size()); }
    QString cell(int row, int column) const;
};

// An Office Open XML workbook (.xlsx) read whole: a zip archive of XML parts, read with
// QuaZip and QXmlStreamReader. Only what a table of values needs is read: the sheets in
// their order, their cells, and the date the workbook was last saved.
struct XlsxWorkbook {
    std::vector<XlsxSheet> sheets;
    QDateTime modified; // docProps/core.xml dcterms:modified; invalid when the file has none

    const XlsxSheet *sheet(const QString &name) const;
};

// Reads the file. The failure says why (Japanese, with the file's name): not a zip archive,
// not a workbook, a part that is not well-formed XML, or a part larger than the reader
// accepts.
Result<XlsxWorkbook> readXlsx(const QString &path);

// "B12" -> column 2, row 12; nothing when the reference is malformed.
std::optional<std::pair<int, int>> cellPosition(const QString &reference);

// Column 28 -> "AB": how a spreadsheet names the column, for messages.
QString columnName(int column);

} // namespace corvane::ghs
