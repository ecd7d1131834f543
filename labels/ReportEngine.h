#pragma once

#include "PageRenderer.h"
#include "ReportCache.h"
#include "ReportDocument.h"

#include <QPointer>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <optional>

namespace corvane {

class ReportRecorder;

// The report engine the label printing run drives: load a report per page,
// fill its fields, play it onto the sheet, and output the document at the
// end. Output goes to a PDF file, or stays with the engine (the default) for
// the caller to show in a preview; choose before PR_Start.
class ReportEngine {
public:
    ReportEngine();
    ~ReportEngine();

    // "Data\…" paths are taken from here: the folder of the executable
    // unless set otherwise.
    void setBaseFolder(const QString &folder);
    // The folder that "Data\…" paths name, whatever it is called.
    void setDataFolder(const QString &folder);
    QString baseFolder() const { return m_baseFolder; }

    void setPdfOutput(const QString &path);
    void setNoOutput();
    // Sees every call and every finished document, whatever the output.
    // Not owned; null to stop recording.
    void setRecorder(ReportRecorder *recorder) { m_recorder = recorder; }
    // Draws label outlines marked as guides (for checking alignment).
    void setShowGuides(bool show) { m_renderer.setShowGuides(show); }

    // Japanese description of the last failure.
    QString lastError() const { return m_lastError; }
    // The field that named the picture PR_EndDoc could not read.
    std::optional<SheetField> unreadablePictureField() const { return m_unreadablePicture; }
    // The fields of the last document output whose text could not be shown whole even at
    // the minimum size; what does not fit is left out of the output.
    const QList<SheetField> &lastCutFields() const { return m_lastCutFields; }

    // Titles the open document (the PDF's title, the preview's caption).
    void setDocumentTitle(const QString &title);

    // The last document output, with its pictures loaded into renderer(): what a
    // preview shows and prints.
    const ReportDocument &lastDocument() const { return m_lastDocument; }
    PageRenderer &renderer() { return m_renderer; }

    // Opens a print document. Above 10: failure, nothing is open. The
    // document name titles the PDF and the preview; the printer is chosen in
    // the preview, so the printer name and numbers are only recorded.
    qint16 PR_Start(QObject *owner, const QString &documentName, const QString &printerName, int startMode,
                    int reserved1, int reserved2);
    // Loads a report file and makes it the current page, its fields holding
    // their default texts. 0 on success.
    qint16 PR_LoadReport(int reserved1, int reserved2, const QString &reportPath);
    // "#BMP=" + path shows a picture; an empty text blanks the field; a name
    // the report lacks is ignored.
    void PR_RepSetText(const QString &fieldName, const QString &text);
    // Placement in 0.1 mm; all zero for a name the report lacks.
    void PR_RepGetPos(const QString &fieldName, qint32 &x, qint32 &y, qint32 &width, qint32 &height);
    void PR_RepSetPos(const QString &fieldName, qint32 x, qint32 y, qint32 width, qint32 height);
    // Whether text would show whole, at the field's minimum size at the least, in a field of
    // the current page (as placed now), or of another report file as that file places it.
    // False for a name the report lacks.
    bool PR_RepTextFits(const QString &fieldName, const QString &text);
    bool reportTextFits(const QString &reportPath, const QString &fieldName, const QString &text);
    // Puts the current page, as filled so far, onto the sheet.
    void PR_PlayReport();
    // Ends the sheet: the next play starts a new one.
    void PR_EndPage();
    // Outputs the document. 0 on success; otherwise nothing is output.
    qint16 PR_EndDoc();
    void PR_AbortDoc();

private:
    enum class Output { Pdf, None };

    void record(const QString &operation, const QVariantList &arguments, const QVariant &result = {});
    qint16 fail(qint16 code, const QString &message);
    void closeDocument();
    QList<SheetField> cutFields(const ReportDocument &document);
    QString checkOutputReady() const;

    QString m_baseFolder;
    QString m_dataFolder;
    Output m_output = Output::None;
    QString m_pdfPath;
    ReportRecorder *m_recorder = nullptr;
    QString m_lastError;

    ReportCache m_reports;
    PageRenderer m_renderer;

    bool m_documentOpen = false;
    QPointer<QObject> m_owner;
    ReportDocument m_document;
    ReportDocument m_lastDocument;
    std::optional<FilledPage> m_currentPage;
    bool m_sheetOpen = false;
    std::optional<SheetField> m_unreadablePicture;
    QList<SheetField> m_lastCutFields;
};

} // namespace corvane
