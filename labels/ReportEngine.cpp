#include "ReportEngine.h"

#include "PdfOutput.h"
#include "ProgramPath.h"
#include "ReportRecorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace corvane {

namespace {

// PR_Start: 10 or less means a document is open.
constexpr qint16 kStarted = 0;
constexpr qint16 kStartAlreadyOpen = 11;
constexpr qint16 kStartOutputUnavailable = 12;

// PR_LoadReport
constexpr qint16 kLoaded = 0;
constexpr qint16 kLoadNoDocument = 1;
constexpr qint16 kLoadFailed = 2;

// PR_EndDoc
constexpr qint16 kOutput = 0;
constexpr qint16 kEndNoDocument = 1;
constexpr qint16 kEndPictureUnreadable = 2;
constexpr qint16 kEndWriteFailed = 3;
constexpr qint16 kEndNothingToPrint = 4;

const QString kDefaultDocumentName = QStringLiteral("ラベル印刷");

} // namespace

ReportEngine::ReportEngine()
    : m_baseFolder(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath())
{
    m_renderer.setBaseFolder(m_baseFolder);
}

ReportEngine::~ReportEngine() = default;

void ReportEngine::setBaseFolder(const QString &folder)
{
    m_baseFolder = folder;
    m_dataFolder.clear();
    m_renderer.setBaseFolder(folder);
}

void ReportEngine::setDataFolder(const QString &folder)
{
    m_dataFolder = QDir(folder).absolutePath();
    m_baseFolder = QFileInfo(m_dataFolder).absolutePath();
    m_renderer.setBaseFolder(m_baseFolder, m_dataFolder);
}

void ReportEngine::setPdfOutput(const QString &path)
{
    m_output = Output::Pdf;
    m_pdfPath = path;
}

void ReportEngine::setNoOutput()
{
    m_output = Output::None;
    m_pdfPath.clear();
}

void ReportEngine::record(const QString &operation, const QVariantList &arguments, const QVariant &result)
{
    if (m_recorder)
        m_recorder->recordCall(ReportCall{operation, arguments, result});
}

qint16 ReportEngine::fail(qint16 code, const QString &message)
{
    m_lastError = message;
    return code;
}

QString ReportEngine::checkOutputReady() const
{
    if (m_output == Output::Pdf) {
        if (m_pdfPath.isEmpty())
            return QStringLiteral("PDF の保存先が指定されていません");
        const QFileInfo folder(QFileInfo(m_pdfPath).absolutePath());
        if (!folder.isDir())
            return QStringLiteral("PDF の保存先フォルダがありません: %1").arg(folder.filePath());
        if (!folder.isWritable())
            return QStringLiteral("PDF の保存先フォルダに書き込めません: %1").arg(folder.filePath());
    }
    return {};
}

void ReportEngine::setDocumentTitle(const QString &title)
{
    if (m_documentOpen && !title.isEmpty())
        m_document.title = title;
}

QList<SheetField> ReportEngine::cutFields(const ReportDocument &document)
{
    QList<SheetField> cut;
    for (qsizetype s = 0; s < document.sheets.size(); ++s)
        for (const FilledPage &page : document.sheets[s].layers)
            for (const PageRenderer::FieldFault &fault : m_renderer.cutFields(page))
                cut.append(SheetField{int(s), page.report().fields[fault.field].name, fault.unprintable});
    return cut;
}

void ReportEngine::closeDocument()
{
    m_documentOpen = false;
    m_owner = nullptr;
    m_document = ReportDocument{};
    m_currentPage.reset();
    m_sheetOpen = false;
}

qint16 ReportEngine::PR_Start(QObject *owner, const QString &documentName, const QString &printerName, int startMode,
                              int reserved1, int reserved2)
{
    qint16 result = kStarted;
    if (m_documentOpen) {
        result = fail(kStartAlreadyOpen, QStringLiteral("前の印刷が終わっていません"));
    } else if (const QString problem = checkOutputReady(); !problem.isEmpty()) {
        result = fail(kStartOutputUnavailable, QStringLiteral("印刷を開始できません: %1").arg(problem));
    } else {
        m_lastError.clear();
        m_unreadablePicture.reset();
        m_lastCutFields.clear();
        closeDocument();
        m_lastDocument = ReportDocument{};
        m_documentOpen = true;
        m_owner = owner;
        m_document.title = documentName.isEmpty() ? kDefaultDocumentName : documentName;
    }
    record(QStringLiteral("PR_Start"),
           {QVariant::fromValue(owner), documentName, printerName, startMode, reserved1,
            reserved2},
           result);
    return result;
}

qint16 ReportEngine::PR_LoadReport(int reserved1, int reserved2, const QString &reportPath)
{
    qint16 result = kLoaded;
    if (!m_documentOpen) {
        result = fail(kLoadNoDocument, QStringLiteral("印刷が開始されていません（帳票 %1）").arg(reportPath));
    } else {
        const ReportLoadResult loaded = m_reports.load(resolveProgramPath(m_baseFolder, reportPath, m_dataFolder));
        if (loaded.report) {
            m_currentPage.emplace(loaded.report);
        } else {
            m_currentPage.reset();
            result = fail(kLoadFailed, loaded.error);
        }
    }
    record(QStringLiteral("PR_LoadReport"), {reserved1, reserved2, reportPath}, result);
    return result;
}

void ReportEngine::PR_RepSetText(const QString &fieldName, const QString &text)
{
    if (m_currentPage)
        m_currentPage->setText(fieldName, text);
    if (m_recorder) // the arguments alone cost time on every field of every page
        record(QStringLiteral("PR_RepSetText"), {fieldName, text});
}

void ReportEngine::PR_RepGetPos(const QString &fieldName, qint32 &x, qint32 &y, qint32 &width, qint32 &height)
{
    const std::optional<QRect> rect = m_currentPage ? m_currentPage->rect(fieldName) : std::nullopt;
    const QRect placement = rect.value_or(QRect());
    x = placement.x();
    y = placement.y();
    width = rect ? placement.width() : 0;
    height = rect ? placement.height() : 0;
    if (m_recorder) // the arguments alone cost time on every field of every page
        record(QStringLiteral("PR_RepGetPos"), {fieldName}, QVariantList{x, y, width, height});
}

void ReportEngine::PR_RepSetPos(const QString &fieldName, qint32 x, qint32 y, qint32 width, qint32 height)
{
    if (m_currentPage)
        m_currentPage->setRect(fieldName, QRect(x, y, width, height));
    if (m_recorder) // the arguments alone cost time on every field of every page
        record(QStringLiteral("PR_RepSetPos"), {fieldName, x, y, width, height});
}

bool ReportEngine::PR_RepTextFits(const QString &fieldName, const QString &text)
{
    if (!m_currentPage)
        return false;
    const auto index = m_currentPage->report().fieldIndex(fieldName);
    return index && m_renderer.fitsWhole(m_currentPage->rectAt(*index), m_currentPage->report().fields[*index].style, text);
}

bool ReportEngine::reportTextFits(const QString &reportPath, const QString &fieldName, const QString &text)
{
    const ReportLoadResult loaded = m_reports.load(resolveProgramPath(m_baseFolder, reportPath, m_dataFolder));
    const FieldDefinition *field = loaded.report ? loaded.report->field(fieldName) : nullptr;
    return field && m_renderer.fitsWhole(field->rect, field->style, text);
}

void ReportEngine::PR_PlayReport()
{
    if (m_documentOpen && m_currentPage) {
        if (!m_sheetOpen) {
            m_document.sheets.append(ReportSheet{});
            m_sheetOpen = true;
        }
        m_document.sheets.last().layers.append(*m_currentPage);
    }
    record(QStringLiteral("PR_PlayReport"), {});
}

void ReportEngine::PR_EndPage()
{
    m_sheetOpen = false;
    record(QStringLiteral("PR_EndPage"), {});
}

qint16 ReportEngine::PR_EndDoc()
{
    qint16 result = kOutput;
    if (!m_documentOpen) {
        result = fail(kEndNoDocument, QStringLiteral("印刷が開始されていません"));
    } else if (m_document.sheets.isEmpty()) {
        result = fail(kEndNothingToPrint, QStringLiteral("印刷するページがありません"));
    } else if (const QString unreadable = m_renderer.loadPictures(m_document, &m_unreadablePicture.emplace());
               !unreadable.isEmpty()) {
        result = fail(kEndPictureUnreadable, QStringLiteral("絵表示のファイルを読み込めません: %1").arg(unreadable));
    } else if (m_output == Output::Pdf) {
        if (const QString problem = writePdf(m_document, m_pdfPath, m_renderer); !problem.isEmpty())
            result = fail(kEndWriteFailed, problem);
    }
    if (result != kEndPictureUnreadable)
        m_unreadablePicture.reset();
    if (result == kOutput) {
        m_lastCutFields = cutFields(m_document);
        if (m_recorder)
            m_recorder->recordDocument(m_document);
        m_lastDocument = m_document;
    }
    record(QStringLiteral("PR_EndDoc"), {}, result);
    closeDocument();
    return result;
}

void ReportEngine::PR_AbortDoc()
{
    closeDocument();
    record(QStringLiteral("PR_AbortDoc"), {});
}

} // namespace corvane
