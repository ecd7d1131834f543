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

const QByteArray kTestReport = "page a4 portrait\n"
                               "field Title x=100 y=100 w=1000 h=80 size=14 bold text=\"見本\"\n"
                               "field Mark11 x=100 y=300 w=150 h=150 picture\n"
                               "field Harmful1 x=100 y=500 w=800 h=200 wrap shrink=5\n";

} // namespace

class ReportEngineTest : public QObject {
    Q_OBJECT

private slots:
    void printerOffsetIsReadSafely_data();
    void printerOffsetIsReadSafely();
    void init();
    void failsToLoadMissingOrBrokenReports_data();
    void failsToLoadMissingOrBrokenReports();
    void findsReportsAsTheProgramNamesThem_data();
    void findsReportsAsTheProgramNamesThem();
    void startFailsWhenThePdfCannotBeWritten();
    void fillsFieldsAndPlacements();
    void recorderSeesEveryCallAndPage();
    void parsesAReportOnceUntilItChanges();
    void abortOutputsNothing();
    void missingPictureStopsTheDocument();
    void endingWithoutPagesFails();
    void previewShowsEveryPage();

private:
    std::unique_ptr<QTemporaryDir> m_base;
    std::unique_ptr<ReportEngine> m_engine;
    ReportCallLog m_log;
};

void ReportEngineTest::init()
{
    m_base = std::make_unique<QTemporaryDir>();
    writeFile(m_base->filePath(QStringLiteral("Data/TEST.PRP")), kTestReport);
    writeFile(m_base->filePath(QStringLiteral("Data/BAD.PRP")),
              "page a4 portrait\nfield A x=0 y=0 w=10 h=10\nfield B x=0 y=0 w=10 h=10 sise=9\n");
    writeFile(m_base->filePath(QStringLiteral("Data/LATIN1.PRP")), "page a4\nfield A x=0 y=0 w=1 h=1 text=\"\xe9\"\n");
    writeFile(m_base->filePath(QStringLiteral("Data/GHS02.svg")), pictogramSvg("#000"));
    m_log = ReportCallLog{};
    m_engine = std::make_unique<ReportEngine>();
    m_engine->setBaseFolder(m_base->path());
    m_engine->setNoOutput();
    m_engine->setRecorder(&m_log);
}

void ReportEngineTest::failsToLoadMissingOrBrokenReports_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QStringList>("inMessage");
    QTest::newRow("missing") << "Data\\NONE.PRP" << QStringList{"見つかりません", "/Data/NONE.PRP"};
    QTest::newRow("malformed") << "Data\\BAD.PRP" << QStringList{"/Data/BAD.PRP", "3行", "sise"};
    QTest::newRow("not UTF-8") << "Data\\LATIN1.PRP" << QStringList{"UTF-8", "/Data/LATIN1.PRP"};
    QTest::newRow("a folder") << "Data" << QStringList{"見つかりません"};
}

void ReportEngineTest::failsToLoadMissingOrBrokenReports()
{
    QFETCH(QString, report);
    QFETCH(QStringList, inMessage);
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) <= 10);
    QVERIFY(m_engine->PR_LoadReport(0, 0, report) != 0);
    for (const QString &part : inMessage)
        QVERIFY2(m_engine->lastError().contains(part), qPrintable(m_engine->lastError()));
    // The program abandons the document; the engine is ready for the next one.
    m_engine->PR_AbortDoc();
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) <= 10);
    QCOMPARE(m_engine->PR_LoadReport(0, 0, QStringLiteral("Data\\TEST.PRP")), 0);
}

void ReportEngineTest::findsReportsAsTheProgramNamesThem_data()
{
    QTest::addColumn<QString>("report");
    QTest::newRow("backslashes") << "Data\\TEST.PRP";
    QTest::newRow("other letter case") << "data\\test.prp";
    QTest::newRow("slashes") << "Data/TEST.PRP";
    QTest::newRow("absolute") << "";
}

void ReportEngineTest::findsReportsAsTheProgramNamesThem()
{
    QFETCH(QString, report);
    if (report.isEmpty())
        report = m_base->filePath(QStringLiteral("Data/TEST.PRP"));
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) <= 10);
    QCOMPARE(m_engine->PR_LoadReport(0, 0, report), 0);
}

void ReportEngineTest::startFailsWhenThePdfCannotBeWritten()
{
    m_engine->setPdfOutput(m_base->filePath(QStringLiteral("no-such-folder/out.pdf")));
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) > 10);
    QVERIFY(m_engine->lastError().contains(QStringLiteral("no-such-folder")));
    // Nothing was left open.
    QVERIFY(m_engine->PR_LoadReport(0, 0, QStringLiteral("Data\\TEST.PRP")) != 0);
    m_engine->setNoOutput();
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) <= 10);
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) > 10); // one document at a time
}

void ReportEngineTest::fillsFieldsAndPlacements()
{
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) <= 10);
    QCOMPARE(m_engine->PR_LoadReport(0, 0, QStringLiteral("Data\\TEST.PRP")), 0);

    qint32 x = -1, y = -1, w = -1, h = -1;
    m_engine->PR_RepGetPos(QStringLiteral("Mark11"), x, y, w, h);
    QCOMPARE(QRect(x, y, w, h), QRect(100, 300, 150, 150));
    m_engine->PR_RepSetPos(QStringLiteral("mark11"), 1234, 2345, 120, 130);
    m_engine->PR_RepGetPos(QStringLiteral("Mark11"), x, y, w, h);
    QCOMPARE(QRect(x, y, w, h), QRect(1234, 2345, 120, 130));

    // Names the report lacks change nothing and read as zero.
    m_engine->PR_RepSetText(QStringLiteral("Mark16"), QStringLiteral("#BMP=Data\\MISSING.svg"));
    m_engine->PR_RepSetPos(QStringLiteral("Mark16"), 1, 2, 3, 4);
    m_engine->PR_RepGetPos(QStringLiteral("Mark16"), x, y, w, h);
    QCOMPARE(QRect(x, y, w, h), QRect(0, 0, 0, 0));

    m_engine->PR_RepSetText(QStringLiteral("Harmful1"), QStringLiteral("引火性の高い液体及び蒸気\r\n強い眼刺激"));
    m_engine->PR_RepSetText(QStringLiteral("Mark11"), QStringLiteral("#BMP=Data\\GHS02.svg"));
    m_engine->PR_PlayReport();
    m_engine->PR_EndPage();
    QCOMPARE(m_engine->PR_EndDoc(), 0);

    QCOMPARE(m_log.documents.size(), 1);
    const FilledPage &page = m_log.documents[0].sheets[0].layers[0];
    QCOMPARE(page.text(QStringLiteral("Title")), QStringLiteral("見本")); // default text kept
    QCOMPARE(page.text(QStringLiteral("Harmful1")), QStringLiteral("引火性の高い液体及び蒸気\r\n強い眼刺激"));
    QCOMPARE(page.text(QStringLiteral("Mark11")), QStringLiteral("#BMP=Data\\GHS02.svg"));
    QCOMPARE(page.rect(QStringLiteral("Mark11")), QRect(1234, 2345, 120, 130));
    QVERIFY(!page.text(QStringLiteral("Mark16")));
}

void ReportEngineTest::recorderSeesEveryCallAndPage()
{
    QWidget owner;
    QVERIFY(m_engine->PR_Start(&owner, {}, {}, 9, 0, 0) <= 10);
    for (const QString &title : {QStringLiteral("一枚目"), QStringLiteral("二枚目")}) {
        QCOMPARE(m_engine->PR_LoadReport(0, 0, QStringLiteral("Data\\TEST.PRP")), 0);
        m_engine->PR_RepSetText(QStringLiteral("Title"), title);
        m_engine->PR_PlayReport();
        m_engine->PR_EndPage();
    }
    // Two plays before one page end: both go onto the same sheet.
    QCOMPARE(m_engine->PR_LoadReport(0, 0, QStringLiteral("Data\\TEST.PRP")), 0);
    m_engine->PR_PlayReport();
    m_engine->PR_RepSetText(QStringLiteral("Title"), QString());
    qint32 x, y, w, h;
    m_engine->PR_RepGetPos(QStringLiteral("Title"), x, y, w, h);
    m_engine->PR_PlayReport();
    m_engine->PR_EndPage();
    m_engine->PR_EndPage(); // ending an empty sheet adds nothing
    QCOMPARE(m_engine->PR_EndDoc(), 0);

    QCOMPARE(m_log.operations(),
             QStringList({"PR_Start", "PR_LoadReport", "PR_RepSetText", "PR_PlayReport", "PR_EndPage", "PR_LoadReport",
                          "PR_RepSetText", "PR_PlayReport", "PR_EndPage", "PR_LoadReport", "PR_PlayReport",
                          "PR_RepSetText", "PR_RepGetPos", "PR_PlayReport", "PR_EndPage", "PR_EndPage", "PR_EndDoc"}));
    const ReportCall &start = m_log.calls[0];
    QCOMPARE(start.arguments.size(), 6);
    QCOMPARE(start.arguments[0].value<QObject *>(), &owner);
    QCOMPARE(start.arguments.mid(1), QVariantList({QString(), QString(), 9, 0, 0}));
    QCOMPARE(m_log.calls[1].arguments, QVariantList({0, 0, QStringLiteral("Data\\TEST.PRP")}));
    QCOMPARE(m_log.calls[1].result.toInt(), 0);
    QCOMPARE(m_log.calls[2].arguments, QVariantList({QStringLiteral("Title"), QStringLiteral("一枚目")}));
    QCOMPARE(m_log.calls[12].result.toList(), QVariantList({100, 100, 1000, 80}));

    QCOMPARE(m_log.documents.size(), 1);
    const ReportDocument &document = m_log.documents[0];
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
    const QString path = m_base->filePath(QStringLiteral("Data/TEST.PRP"));
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) <= 10);
    for (int page = 0; page < 3; ++page) {
        if (page == 2) {
            // Same size, so only the modification time tells the change.
            writeFile(path, QByteArray(kTestReport).replace("見本", "改訂"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        }
        QCOMPARE(m_engine->PR_LoadReport(0, 0, QStringLiteral("Data\\TEST.PRP")), 0);
        m_engine->PR_PlayReport();
        m_engine->PR_EndPage();
    }
    QCOMPARE(m_engine->PR_EndDoc(), 0);
    const ReportDocument &document = m_log.documents.at(0);
    QCOMPARE(&document.sheets[0].layers[0].report(), &document.sheets[1].layers[0].report());
    QCOMPARE(document.sheets[1].layers[0].text(QStringLiteral("Title")), QStringLiteral("見本"));
    QCOMPARE(document.sheets[2].layers[0].text(QStringLiteral("Title")), QStringLiteral("改訂"));
}

void ReportEngineTest::abortOutputsNothing()
{
    const QString pdf = m_base->filePath(QStringLiteral("aborted.pdf"));
    m_engine->setPdfOutput(pdf);
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) <= 10);
    QCOMPARE(m_engine->PR_LoadReport(0, 0, QStringLiteral("Data\\TEST.PRP")), 0);
    m_engine->PR_PlayReport();
    m_engine->PR_EndPage();
    m_engine->PR_AbortDoc();
    QVERIFY(!QFileInfo::exists(pdf));
    QVERIFY(m_log.documents.isEmpty());
    QVERIFY(m_engine->PR_EndDoc() != 0); // nothing left to end
    QVERIFY(!QFileInfo::exists(pdf));
}

void ReportEngineTest::missingPictureStopsTheDocument()
{
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) <= 10);
    QCOMPARE(m_engine->PR_LoadReport(0, 0, QStringLiteral("Data\\TEST.PRP")), 0);
    m_engine->PR_RepSetText(QStringLiteral("Mark11"), QStringLiteral("#BMP=Data\\GHS05.svg"));
    m_engine->PR_PlayReport();
    m_engine->PR_EndPage();
    QVERIFY(m_engine->PR_EndDoc() != 0);
    QVERIFY2(m_engine->lastError().contains(QStringLiteral("/Data/GHS05.svg")), qPrintable(m_engine->lastError()));
    QVERIFY(m_log.documents.isEmpty());
}

void ReportEngineTest::endingWithoutPagesFails()
{
    QVERIFY(m_engine->PR_Start(nullptr, {}, {}, 9, 0, 0) <= 10);
    QCOMPARE(m_engine->PR_LoadReport(0, 0, QStringLiteral("Data\\TEST.PRP")), 0);
    QVERIFY(m_engine->PR_EndDoc() != 0);
    QVERIFY(!m_engine->lastError().isEmpty());
    QVERIFY(m_log.documents.isEmpty());
}

void ReportEngineTest::previewShowsEveryPage()
{
    QWidget owner;
    const auto layOut = [&](int pages) {
        QVERIFY(m_engine->PR_Start(&owner, QStringLiteral("見本"), {}, 9, 0, 0) <= 10);
        for (int page = 0; page < pages; ++page) {
            QCOMPARE(m_engine->PR_LoadReport(0, 0, QStringLiteral("Data\\TEST.PRP")), 0);
            m_engine->PR_RepSetText(QStringLiteral("Mark11"), QStringLiteral("#BMP=Data\\GHS02.svg"));
            m_engine->PR_PlayReport();
            m_engine->PR_EndPage();
        }
        QCOMPARE(m_engine->PR_EndDoc(), 0);
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
    QTest::newRow("as written") << "1.5" << "-0.3" << QPointF(15, -3);
    QTest::newRow("the limits") << "5" << "-5.0" << QPointF(50, -50);
    QTest::newRow("beyond the limits: none") << "5.1" << "-9" << QPointF(0, 0);
    QTest::newRow("not numbers: none") << "abc" << "nan" << QPointF(0, 0);
    QTest::newRow("missing: none") << "" << "" << QPointF(0, 0);
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
