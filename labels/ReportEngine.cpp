#include "ReportEngine.h"

#include "PdfOutput.h"
#include "ProgramPath.h"
#include "ReportRecorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace corvane {

namespace {

const QString kDefaultDocumentName = QStringLiteral("ラベル印刷");

// How a field's text names a picture of the Data folder.
QString pictureText(const QString &pictureFile)
{
    return pictureFile.isEmpty() ? QString() : kPicturePrefix.toString() + QStringLiteral("Data\\") + pictureFile;
}

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

Outcome ReportEngine::recorded(const QString &operation, const QVariantList &arguments, Outcome outcome)
{
    record(operation, arguments, outcome.ok());
    return outcome;
}

QString ReportEngine::reportPath(ReportFile report) const
{
    const QString data = m_dataFolder.isEmpty() ? QDir(m_baseFolder).filePath(QStringLiteral("Data")) : m_dataFolder;
    return resolveProgramPath(data, reportFileName(report));
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
    m_document = ReportDocument{};
    m_currentPage.reset();
    m_sheetOpen = false;
}

Outcome ReportEngine::startDocument(const QString &title)
{
    const auto start = [&]() -> Outcome {
        if (m_documentOpen)
            return Outcome::failed(QStringLiteral("前の印刷が終わっていません"));
        if (const QString problem = checkOutputReady(); !problem.isEmpty())
            return Outcome::failed(QStringLiteral("印刷を開始できません: %1").arg(problem));
        m_unreadablePicture.reset();
        closeDocument();
        m_documentOpen = true;
        m_document.title = title.isEmpty() ? kDefaultDocumentName : title;
        return {};
    };
    return recorded(QStringLiteral("startDocument"), {title}, start());
}

Outcome ReportEngine::loadReport(ReportFile report)
{
    const auto load = [&]() -> Outcome {
        if (!m_documentOpen)
            return Outcome::failed(QStringLiteral("印刷が開始されていません（帳票 %1）").arg(reportFileName(report)));
        const auto loaded = m_reports.load(reportPath(report));
        if (!loaded) {
            m_currentPage.reset();
            return loaded.failure();
        }
        m_currentPage.emplace(*loaded);
        return {};
    };
    return recorded(QStringLiteral("loadReport"), {reportFileName(report)}, load());
}

void ReportEngine::setFieldText(const QString &fieldName, const QString &text)
{
    if (m_currentPage)
        m_currentPage->setText(fieldName, text);
    if (m_recorder) // the arguments alone cost time on every field of every page
        record(QStringLiteral("setFieldText"), {fieldName, text});
}

void ReportEngine::setFieldPicture(const QString &fieldName, const QString &pictureFile)
{
    if (m_currentPage)
        m_currentPage->setText(fieldName, pictureText(pictureFile));
    if (m_recorder)
        record(QStringLiteral("setFieldPicture"), {fieldName, pictureFile});
}

QRect ReportEngine::fieldRect(const QString &fieldName)
{
    const QRect rect = m_currentPage ? m_currentPage->rect(fieldName).value_or(QRect()) : QRect();
    if (m_recorder)
        record(QStringLiteral("fieldRect"), {fieldName}, rect);
    return rect;
}

void ReportEngine::setFieldRect(const QString &fieldName, const QRect &rect)
{
    if (m_currentPage)
        m_currentPage->setRect(fieldName, rect);
    if (m_recorder)
        record(QStringLiteral("setFieldRect"), {fieldName, rect});
}

bool ReportEngine::textFits(ReportFile report, const QString &fieldName, const QString &text)
{
    const auto loaded = m_reports.load(reportPath(report));
    const FieldDefinition *field = loaded ? (*loaded)->field(fieldName) : nullptr;
    return field && m_renderer.fitsWhole(field->rect, field->style, text);
}

void ReportEngine::playPage()
{
    if (m_documentOpen && m_currentPage) {
        if (!m_sheetOpen) {
            m_document.sheets.append(ReportSheet{});
            m_sheetOpen = true;
        }
        m_document.sheets.last().layers.append(*m_currentPage);
    }
    record(QStringLiteral("playPage"), {});
}

void ReportEngine::endSheet()
{
    m_sheetOpen = false;
    record(QStringLiteral("endSheet"), {});
}

Outcome ReportEngine::outputDocument()
{
    m_unreadablePicture.reset();
    if (!m_documentOpen)
        return Outcome::failed(QStringLiteral("印刷が開始されていません"));
    if (m_document.sheets.isEmpty())
        return Outcome::failed(QStringLiteral("印刷するページがありません"));
    SheetField where;
    if (const QString unreadable = m_renderer.loadPictures(m_document, &where); !unreadable.isEmpty()) {
        m_unreadablePicture = where;
        return Outcome::failed(QStringLiteral("絵表示のファイルを読み込めません: %1").arg(unreadable));
    }
    if (m_output == Output::Pdf)
        return writePdf(m_document, m_pdfPath, m_renderer);
    return {};
}

Outcome ReportEngine::finishDocument()
{
    Outcome outcome = outputDocument();
    if (outcome) {
        m_lastCutFields = cutFields(m_document);
        if (m_recorder)
            m_recorder->recordDocument(m_document);
        m_lastDocument = m_document;
    } else if (!m_renderer.loadPictures(m_lastDocument).isEmpty()) {
        // A picture of the last document went with the failed one: never print it without.
        m_lastDocument = ReportDocument{};
        m_lastCutFields.clear();
    }
    closeDocument();
    return recorded(QStringLiteral("finishDocument"), {}, std::move(outcome));
}

void ReportEngine::abortDocument()
{
    closeDocument();
    record(QStringLiteral("abortDocument"), {});
}

} // namespace corvane
