#pragma once

#include "Outcome.h"
#include "PageRenderer.h"
#include "ReportCache.h"
#include "ReportDocument.h"
#include "ReportFile.h"

#include <QRect>
#include <QString>
#include <QVariant>

#include <optional>

namespace corvane {

class ReportRecorder;

// The report engine the label printing run drives: start a document, load a report per
// page, fill its fields, play it onto the sheet, and finish the document. Output goes to a
// PDF file, or stays with the engine (the default) for the caller to show in a preview;
// choose before startDocument.
class ReportEngine {
public:
    ReportEngine();
    ~ReportEngine();

    // The report files and pictures are taken from the folder's "Data": the folder of the
    // executable unless set otherwise.
    void setBaseFolder(const QString &folder);
    // The Data folder itself, whatever it is called.
    void setDataFolder(const QString &folder);
    QString baseFolder() const { return m_baseFolder; }

    void setPdfOutput(const QString &path);
    void setNoOutput();
    // Sees every call and every finished document, whatever the output.
    // Not owned; null to stop recording.
    void setRecorder(ReportRecorder *recorder) { m_recorder = recorder; }
    // Draws label outlines marked as guides (for checking alignment).
    void setShowGuides(bool show) { m_renderer.setShowGuides(show); }

    // The field that named the picture finishDocument could not read.
    std::optional<SheetField> unreadablePictureField() const { return m_unreadablePicture; }
    // The fields of lastDocument() whose text could not be shown whole even at the minimum
    // size; what does not fit is left out of the output.
    const QList<SheetField> &lastCutFields() const { return m_lastCutFields; }

    // The last document output, with its pictures loaded into renderer(): what a preview
    // shows and prints. A document that fails or is abandoned leaves it as it was (or empty,
    // when one of its pictures can no longer be read).
    const ReportDocument &lastDocument() const { return m_lastDocument; }
    PageRenderer &renderer() { return m_renderer; }

    // Opens a document. The title names the PDF and the preview (「ラベル印刷」 when empty).
    // Fails when a document is open already, or the PDF cannot be written where chosen.
    Outcome startDocument(const QString &title = {});
    // Titles the open document once the title is known.
    void setDocumentTitle(const QString &title);
    // Makes the report the current page, its fields holding their default texts.
    Outcome loadReport(ReportFile report);
    // An empty text blanks the field; a name the report lacks is ignored.
    void setFieldText(const QString &fieldName, const QString &text);
    // Shows a picture of the Data folder ("GHS02.svg") in a picture field; an empty name
    // blanks the field.
    void setFieldPicture(const QString &fieldName, const QString &pictureFile);
    // Placement in 0.1 mm; an empty rectangle for a name the report lacks.
    QRect fieldRect(const QString &fieldName);
    void setFieldRect(const QString &fieldName, const QRect &rect);
    // Whether text would show whole, at the field's minimum size at the least, in a field of
    // the report as the file places it. False for a name the report lacks.
    bool textFits(ReportFile report, const QString &fieldName, const QString &text);
    // Puts the current page, as filled so far, onto the sheet.
    void playPage();
    // Ends the sheet: the next play starts a new one.
    void endSheet();
    // Outputs the document and closes it; on a failure nothing is output.
    Outcome finishDocument();
    // Closes the document without output.
    void abortDocument();

private:
    enum class Output { Pdf, None };

    void record(const QString &operation, const QVariantList &arguments, const QVariant &result = {});
    Outcome recorded(const QString &operation, const QVariantList &arguments, Outcome outcome);
    QString reportPath(ReportFile report) const;
    void closeDocument();
    QList<SheetField> cutFields(const ReportDocument &document);
    QString checkOutputReady() const;
    Outcome outputDocument();

    QString m_baseFolder;
    QString m_dataFolder;
    Output m_output = Output::None;
    QString m_pdfPath;
    ReportRecorder *m_recorder = nullptr;

    ReportCache m_reports;
    PageRenderer m_renderer;

    bool m_documentOpen = false;
    ReportDocument m_document;
    ReportDocument m_lastDocument;
    std::optional<FilledPage> m_currentPage;
    bool m_sheetOpen = false;
    std::optional<SheetField> m_unreadablePicture;
    QList<SheetField> m_lastCutFields;
};

} // namespace corvane
