#include "LabelTestSupport.h"
#include "DataLocation.h"
#include "PrintOffsetDialog.h"
#include "PrintPreview.h"
#include "Profile.h"
#include "ReportEngine.h"
#include "ReportRecorder.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace corvane;
using namespace corvane::testing;

namespace {

// The user's own normal label, as a Data folder may hold it.
const QByteArray kTestReport = "page a4 portrait\n"
                               "field Title x=100 y=100 w=1000 h=80 size=14 bold text=\"見本\"\n"
                               "field Mark11 x=100 y=300 w=150 h=150 picture\n"
                               "field Harmful1 x=100 y=500 w=800 h=200 wrap shrink=5\n";
const ReportFile kTest = ReportFile::SingleSubstanceLabel;

} // namespace

class ReportEngineTest : public QObject {
    Q_OBJECT

private slots:
    void printerOffsetIsReadSafely_data();
    void printerOffsetIsReadSafely();
    void init();
    void failsToLoadMissingOrBrokenReports_data();
    void failsToLoadMissingOrBrokenReports();
    void findsFilesWhateverTheirLetterCase_data();
    void findsFilesWhateverTheirLetterCase();
    void startFailsWhenThePdfCannotBeWritten();
    void fillsFieldsAndPlacements();
    void recorderSeesEveryCallAndPage();
    void parsesAReportOnceUntilItChanges();
    void abortOutputsNothing();
    void missingPictureStopsTheDocument();
    void endingWithoutPagesFails();
    void aFailedDocumentLeavesTheLastOne();
    void previewShowsEveryPage();

private:
    QString dataFile(const QString &name) const { return m_base->filePath(QStringLiteral("Data/") + name); }

    std::unique_ptr<QTemporaryDir> m_base;
    std::unique_ptr<ReportEngine> m_engine;
    ReportCallLog m_log;
};

void ReportEngineTest::init()
{
    m_base = std::make_unique<QTemporaryDir>();
    writeFile(dataFile(reportFileName(kTest)), kTestReport);
    writeFile(dataFile(QStringLiteral("MULABEL.PRP")),
              "page a4 portrait\nfield A x=0 y=0 w=10 h=10\nfield B x=0 y=0 w=10 h=10 sise=9\n");
    writeFile(dataFile(QStringLiteral("SMLABEL.PRP")), "page a4\nfield A x=0 y=0 w=1 h=1 text=\"\xe9\"\n");
    QVERIFY(QDir().mkpath(dataFile(QStringLiteral("MXBASIS.PRP"))));
    writeFile(dataFile(QStringLiteral("GHS02.svg")), pictogramSvg("#000"));
    m_log = ReportCallLog{};
    m_engine = std::make_unique<ReportEngine>();
    m_engine->setBaseFolder(m_base->path());
    m_engine->setNoOutput();
    m_engine->setRecorder(&m_log);
}

void ReportEngineTest::failsToLoadMissingOrBrokenReports_data()
{
    QTest::addColumn<ReportFile>("report");
    QTest::addColumn<QStringList>("inMessage");
    QTest::newRow("missing") << ReportFile::Additional3x7 << QStringList{"見つかりません", "/Data/MALAB37.PRP"};
    QTest::newRow("malformed") << ReportFile::SixSubstanceLabel << QStringList{"/Data/MULABEL.PRP", "3行", "sise"};
    QTest::newRow("not UTF-8") << ReportFile::ModelLabel << QStringList{"UTF-8", "/Data/SMLABEL.PRP"};
    QTest::newRow("a folder") << ReportFile::ClassificationBasis << QStringList{"見つかりません"};
}

void ReportEngineTest::failsToLoadMissingOrBrokenReports()
{
    QFETCH(ReportFile, report);
    QFETCH(QStringList, inMessage);
    QVERIFY(m_engine->startDocument().ok());
    const Outcome loaded = m_engine->loadReport(report);
    QVERIFY(!loaded.ok());
    for (const QString &part : inMessage)
        QVERIFY2(loaded.failure().message.contains(part), qPrintable(loaded.errorText()));
    // The program abandons the document; the engine is ready for the next one.
    m_engine->abortDocument();
    QVERIFY(m_engine->startDocument().ok());
    QVERIFY(m_engine->loadReport(kTest).ok());
}

void ReportEngineTest::findsFilesWhateverTheirLetterCase_data()
{
    QTest::addColumn<QString>("onDisk");  // the report file
    QTest::addColumn<QString>("picture"); // as the report names it, "" for the file's absolute path
    QTest::newRow("as named") << "Data/SULABEL.PRP"
                              << "Data\\GHS02.svg";
    QTest::newRow("other letter case") << "Data/Sulabel.prp"
                                       << "data\\ghs02.SVG";
    QTest::newRow("slashes") << "Data/SULABEL.PRP"
                             << "Data/GHS02.svg";
    QTest::newRow("absolute") << "Data/SULABEL.PRP"
                              << "";
}

// A Data folder copied from another system may differ in letter case, and a report file's
// own picture may name its file in any of these ways.
void ReportEngineTest::findsFilesWhateverTheirLetterCase()
{
    QFETCH(QString, onDisk);
    QFETCH(QString, picture);
    QTemporaryDir base;
    const QString data = QFileInfo(base.filePath(onDisk)).path();
    writeFile(QDir(data).filePath(QStringLiteral("GHS02.svg")), pictogramSvg("#000"));
    if (picture.isEmpty())
        picture = QDir(data).filePath(QStringLiteral("GHS02.svg"));
    writeFile(base.filePath(onDisk), "page a4\nfield Mark11 x=100 y=300 w=150 h=150 picture text=\"#BMP="
                                         + picture.replace(u'\\', QStringLiteral("\\\\")).toUtf8() + "\"\n");
    m_engine->setBaseFolder(base.path());
    QVERIFY(m_engine->startDocument().ok());
    const Outcome loaded = m_engine->loadReport(kTest);
    QVERIFY2(loaded.ok(), qPrintable(loaded.errorText()));
    m_engine->playPage();
    const Outcome finished = m_engine->finishDocument();
    QVERIFY2(finished.ok(), qPrintable(finished.errorText()));
}

void ReportEngineTest::startFailsWhenThePdfCannotBeWritten()
{
    m_engine->setPdfOutput(m_base->filePath(QStringLiteral("no-such-folder/out.pdf")));
    const Outcome started = m_engine->startDocument();
    QVERIFY(!started.ok());
    QVERIFY(started.failure().message.contains(QStringLiteral("no-such-folder")));
    // Nothing was left open.
    QVERIFY(!m_engine->loadReport(kTest).ok());
    m_engine->setNoOutput();
    QVERIFY(m_engine->startDocument().ok());
    QVERIFY(!m_engine->startDocument().ok()); // one document at a time
}

void ReportEngineTest::fillsFieldsAndPlacements()
{
    QVERIFY(m_engine->startDocument().ok());
    QVERIFY(m_engine->loadReport(kTest).ok());

    QCOMPARE(m_engine->fieldRect(QStringLiteral("Mark11")), QRect(100, 300, 150, 150));
    m_engine->setFieldRect(QStringLiteral("mark11"), QRect(1234, 2345, 120, 130));
    QCOMPARE(m_engine->fieldRect(QStringLiteral("Mark11")), QRect(1234, 2345, 120, 130));

    // Names the report lacks change nothing and have no placement.
    m_engine->setFieldPicture(QStringLiteral("Mark16"), QStringLiteral("MISSING.svg"));
    m_engine->setFieldRect(QStringLiteral("Mark16"), QRect(1, 2, 3, 4));
    QVERIFY(m_engine->fieldRect(QStringLiteral("Mark16")).isEmpty());

    m_engine->setFieldText(QStringLiteral("Harmful1"), QStringLiteral("引火性の高い液体及び蒸気\r\n強い眼刺激"));
    m_engine->setFieldPicture(QStringLiteral("Mark11"), QStringLiteral("GHS02.svg"));
    m_engine->playPage();
    m_engine->endSheet();
    QVERIFY(m_engine->finishDocument().ok());

    QCOMPARE(m_log.documents.size(), 1);
    const FilledPage &page = m_log.documents[0].sheets[0].layers[0];
    QCOMPARE(page.text(QStringLiteral("Title")), QStringLiteral("見本")); // default text kept
    QCOMPARE(page.text(QStringLiteral("Harmful1")), QStringLiteral("引火性の高い液体及び蒸気\r\n強い眼刺激"));
    // The picture as the renderer finds it: a file of the Data folder.
    QCOMPARE(m_engine->renderer().picturePath(*pictureReference(page.report().field(QStringLiteral("Mark11"))->style,
                                                                *page.text(QStringLiteral("Mark11")))),
             dataFile(QStringLiteral("GHS02.svg")));
    QCOMPARE(page.rect(QStringLiteral("Mark11")), QRect(1234, 2345, 120, 130));
    QVERIFY(!page.text(QStringLiteral("Mark16")));
}

void ReportEngineTest::recorderSeesEveryCallAndPage()
{
    QVERIFY(m_engine->startDocument(QStringLiteral("見本")).ok());
    for (const QString &title : {QStringLiteral("一枚目"), QStringLiteral("二枚目")}) {
        QVERIFY(m_engine->loadReport(kTest).ok());
        m_engine->setFieldText(QStringLiteral("Title"), title);
        m_engine->playPage();
        m_engine->endSheet();
    }
    // Two plays before one sheet end: both go onto the same sheet.
    QVERIFY(m_engine->loadReport(kTest).ok());
    m_engine->playPage();
    m_engine->setFieldText(QStringLiteral("Title"), QString());
    m_engine->fieldRect(QStringLiteral("Title"));
    m_engine->playPage();
    m_engine->endSheet();
    m_engine->endSheet(); // ending an empty sheet adds nothing
    QVERIFY(m_engine->finishDocument().ok());

    QCOMPARE(m_log.operations(),
             QStringList({"startDocument", "loadReport", "setFieldText", "playPage", "endSheet", "loadReport",
                          "setFieldText", "playPage", "endSheet", "loadReport", "playPage", "setFieldText", "fieldRect",
                          "playPage", "endSheet", "endSheet", "finishDocument"}));
    QCOMPARE(m_log.calls[0].arguments, QVariantList{QStringLiteral("見本")});
    QCOMPARE(m_log.calls[0].result, QVariant(true));
    QCOMPARE(m_log.calls[1].arguments, QVariantList{QStringLiteral("SULABEL.PRP")});
    QCOMPARE(m_log.calls[1].result, QVariant(true));
    QCOMPARE(m_log.calls[2].arguments, QVariantList({QStringLiteral("Title"), QStringLiteral("一枚目")}));
    QCOMPARE(m_log.calls[12].result.toRect(), QRect(100, 100, 1000, 80));
    QCOMPARE(m_log.calls[16].result, QVariant(true));

    QCOMPARE(m_log.documents.size(), 1);
    const ReportDocument &document = m_log.documents[0];
    QCOMPARE(document.title, QStringLiteral("見本"));
    QCOMPARE(document.sheets.size(), 3);
    QCOMPARE(document.sheets[0].layers[0].text(QStringLiteral("Title")), QStringLiteral("一枚目"));
    QCOMPARE(document.sheets[1].layers[0].text(QStringLiteral("Title")), QStringLiteral("二枚目"));
    QCOMPARE(document.sheets[2].layers.size(), 2);
    QCOMPARE(document.sheets[2].layers[0].text(QStringLiteral("Title")),
             QStringLiteral("見本")); // reload restores defaults
    QCOMPARE(document.sheets[2].layers[1].text(QStringLiteral("Title")), QString());
}

void ReportEngineTest::parsesAReportOnceUntilItChanges()
{
    const QString path = dataFile(reportFileName(kTest));
    QVERIFY(m_engine->startDocument().ok());
    for (int page = 0; page < 3; ++page) {
        if (page == 2) {
            // Same size, so only the modification time tells the change.
            writeFile(path, QByteArray(kTestReport).replace("見本", "改訂"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        }
        QVERIFY(m_engine->loadReport(kTest).ok());
        m_engine->playPage();
        m_engine->endSheet();
    }
    QVERIFY(m_engine->finishDocument().ok());
    const ReportDocument &document = m_log.documents.at(0);
    QCOMPARE(&document.sheets[0].layers[0].report(), &document.sheets[1].layers[0].report());
    QCOMPARE(document.sheets[1].layers[0].text(QStringLiteral("Title")), QStringLiteral("見本"));
    QCOMPARE(document.sheets[2].layers[0].text(QStringLiteral("Title")), QStringLiteral("改訂"));
}

void ReportEngineTest::abortOutputsNothing()
{
    const QString pdf = m_base->filePath(QStringLiteral("aborted.pdf"));
    m_engine->setPdfOutput(pdf);
    QVERIFY(m_engine->startDocument().ok());
    QVERIFY(m_engine->loadReport(kTest).ok());
    m_engine->playPage();
    m_engine->endSheet();
    m_engine->abortDocument();
    QVERIFY(!QFileInfo::exists(pdf));
    QVERIFY(m_log.documents.isEmpty());
    QVERIFY(!m_engine->finishDocument().ok()); // nothing left to finish
    QVERIFY(!QFileInfo::exists(pdf));
}

void ReportEngineTest::missingPictureStopsTheDocument()
{
    QVERIFY(m_engine->startDocument().ok());
    QVERIFY(m_engine->loadReport(kTest).ok());
    m_engine->setFieldPicture(QStringLiteral("Mark11"), QStringLiteral("GHS05.svg"));
    m_engine->playPage();
    m_engine->endSheet();
    const Outcome finished = m_engine->finishDocument();
    QVERIFY(!finished.ok());
    QVERIFY2(finished.failure().message.contains(QStringLiteral("/Data/GHS05.svg")), qPrintable(finished.errorText()));
    QCOMPARE(m_engine->unreadablePictureField()->field, QStringLiteral("Mark11"));
    QVERIFY(m_log.documents.isEmpty());
}

void ReportEngineTest::endingWithoutPagesFails()
{
    QVERIFY(m_engine->startDocument().ok());
    QVERIFY(m_engine->loadReport(kTest).ok());
    const Outcome finished = m_engine->finishDocument();
    QVERIFY(!finished.ok());
    QVERIFY(!finished.failure().message.isEmpty());
    QVERIFY(m_log.documents.isEmpty());
}

// What a preview shows stays when laying it out again fails, but never without its pictures.
void ReportEngineTest::aFailedDocumentLeavesTheLastOne()
{
    const auto print = [&](const QString &picture) {
        if (!m_engine->startDocument().ok() || !m_engine->loadReport(kTest).ok())
            return false;
        m_engine->setFieldPicture(QStringLiteral("Mark11"), picture);
        m_engine->playPage();
        return m_engine->finishDocument().ok();
    };
    QVERIFY(print(QStringLiteral("GHS02.svg")));
    QCOMPARE(m_engine->lastDocument().sheets.size(), 1);

    QVERIFY(m_engine->startDocument().ok()); // abandoned
    m_engine->abortDocument();
    QVERIFY(!print(QStringLiteral("GHS05.svg"))); // a picture that is not there
    QCOMPARE(m_engine->lastDocument().sheets.size(), 1);

    QVERIFY(QFile::remove(dataFile(QStringLiteral("GHS02.svg"))));
    QVERIFY(!print(QStringLiteral("GHS02.svg")));
    QVERIFY(m_engine->lastDocument().sheets.isEmpty());
}

void ReportEngineTest::previewShowsEveryPage()
{
    QWidget owner;
    const auto layOut = [&](int pages) {
        QVERIFY(m_engine->startDocument(QStringLiteral("見本")).ok());
        for (int page = 0; page < pages; ++page) {
            QVERIFY(m_engine->loadReport(kTest).ok());
            m_engine->setFieldPicture(QStringLiteral("Mark11"), QStringLiteral("GHS02.svg"));
            m_engine->playPage();
            m_engine->endSheet();
        }
        QVERIFY(m_engine->finishDocument().ok());
    };
    layOut(2);
    // The start position in the tool bar lays the document out again, and the preview follows.
    PreviewControls controls;
    controls.positions = 12;
    QList<int> starts;
    controls.relayout = [&](int start) {
        starts << start;
        layOut(3);
        return true;
    };
    QList<int> previewPages;
    QWidget *dialogParent = nullptr;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialogParent = dialog->parentWidget();
        auto *preview = dialog->findChild<QPrintPreviewWidget *>();
        preview->updatePreview();
        previewPages << preview->pageCount();
        if (auto *start = dialog->findChild<QSpinBox *>()) {
            start->setValue(5);
            previewPages << preview->pageCount();
        }
        dialog->reject();
    });
    showPrintPreview(&owner, m_engine->lastDocument(), m_engine->renderer(), controls);
    QCOMPARE(previewPages, (QList<int>{2, 3}));
    QCOMPARE(starts, QList<int>{5});
    QCOMPARE(dialogParent, &owner);
}

void ReportEngineTest::printerOffsetIsReadSafely_data()
{
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QPointF>("offset"); // 0.1 mm
    QTest::newRow("as written") << "1.5"
                                << "-0.3" << QPointF(15, -3);
    QTest::newRow("the limits") << "5"
                                << "-5.0" << QPointF(50, -50);
    QTest::newRow("beyond the limits: none") << "5.1"
                                             << "-9" << QPointF(0, 0);
    QTest::newRow("not numbers: none") << "abc"
                                       << "nan" << QPointF(0, 0);
    QTest::newRow("missing: none") << ""
                                   << "" << QPointF(0, 0);
}

void ReportEngineTest::printerOffsetIsReadSafely()
{
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QPointF, offset);
    const QString settings = locateData().settingsFile;
    QFile::remove(settings);
    QVERIFY(writeProfileString(QStringLiteral("print"), QStringLiteral("OffsetX"), x, settings));
    QVERIFY(writeProfileString(QStringLiteral("print"), QStringLiteral("OffsetY"), y, settings));
    QCOMPARE(readPrintOffset(), offset);
    QVERIFY(writePrintOffset(QPointF(-12, 7)));
    QCOMPARE(readPrintOffset(), QPointF(-12, 7));
    QFile::remove(settings);
}

QTEST_MAIN(ReportEngineTest)
#include "tst_reportengine.moc"
