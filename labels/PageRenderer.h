#pragma once

#include "FontLibrary.h"
#include "PictureCache.h"
#include "ReportDocument.h"
#include "TextFitter.h"

#include <QString>

class QPainter;

namespace corvane {

// Paints filled pages. The same renderer serves the preview, printers and
// PDF files, and keeps its fonts, text layouts and pictures between pages.
class PageRenderer {
public:
    PageRenderer();

    // Folder that relative picture paths ("Data\GHS02.svg") are taken from.
    void setBaseFolder(const QString &folder, const QString &dataFolder = QString());
    QString picturePath(const QString &reference);

    // Label outlines marked `guide` are normally left out (the stock is pre-cut).
    void setShowGuides(bool show) { m_showGuides = show; }
    // Moves everything painted by this much (0.1 mm, right and down), to make up for a
    // printer that does not put the page where it should.
    void setOffset(const QPointF &offset) { m_offset = offset; }
    QPointF offset() const { return m_offset; }

    // Loads every picture the document names; returns the path of the first
    // one that cannot be read or lies outside the Data folder (with the
    // reason), or an empty string, and sets *where to the field that names it.
    QString loadPictures(const ReportDocument &document, SheetField *where = nullptr);

    // A field of a page (by position in page.report().fields) whose text cannot be shown whole
    // even at its minimum size, or holds characters no font has. What cannot be shown is left
    // out when painting.
    struct FieldFault {
        qsizetype field = 0;
        QString unprintable;
    };
    QList<FieldFault> cutFields(const FilledPage &page);

    // Whether text shows whole in a field of this placement and style.
    bool fitsWhole(const QRect &rect, const TextStyle &style, const QString &text);

    // Paints one sheet. The painter's device origin must be the top-left
    // corner of the paper (full-page printers, margin-free PDF writers).
    void paint(QPainter &painter, const ReportSheet &sheet);

private:
    void paintPage(QPainter &painter, const FilledPage &page, bool picturesAsImages);
    void paintText(QPainter &painter, const QRect &rect, const TextStyle &style, const QString &text);
    void paintPicture(QPainter &painter, const QRect &rect, const TextStyle &style, const QString &reference,
                      bool asImage);
    void paintFrame(QPainter &painter, const QRect &rect, const TextStyle &style);

    FontLibrary m_fonts;
    TextFitter m_fitter;
    PictureCache m_pictures;
    QString m_baseFolder;
    QString m_dataFolder;
    QHash<QString, QString> m_picturePaths; // as written -> resolved
    bool m_showGuides = false;
    QPointF m_offset;
};

} // namespace corvane
