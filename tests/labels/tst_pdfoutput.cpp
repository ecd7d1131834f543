#include "LabelTestSupport.h"
#include "ReportEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace corvane;
using namespace corvane::testing;

namespace {

// What ctest counts as skipped (SKIP_RETURN_CODE in CMakeLists.txt).
constexpr int kSkipped = 77;

// The PDF is read back with poppler's tools.
const QStringList kTools = {QStringLiteral("pdfinfo"), QStringLiteral("pdftotext"), QStringLiteral("pdffonts"),
                            QStringLiteral("pdfimages")};

const QStringList kNames = {
    QStringLiteral("ジメチルスルホキシド"),
    QStringLiteral("２－（ジメチルアミノ）エチル＝メタクリレート"),
    QStringLiteral("メタノール"),
    QStringLiteral("水酸化ナトリウム"),
    QStringLiteral("トルエン"),
    QStringLiteral("過酸化水素"),
    QStringLiteral("硫酸"),
    QStringLiteral("酢酸エチル"),
    QStringLiteral("キシレン"),
    QStringLiteral("ホルムアルデヒド"),
    QStringLiteral("アセトン"),
    QStringLiteral("塩酸"),
    QStringLiteral("テトラヒドロフラン"),
};

} // namespace

class PdfOutputTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void writesEveryPageWithSearchableJapanese();
    void missingPictureLeavesNoPdf();
    void unwritablePdfFailsAndLeavesNoFile();

private:
    // Prints the names on 12-label sheets as the program does.
    Outcome printSheets(const QStringList &names, const QString &pictogram);

    std::unique_ptr<QTemporaryDir> m_base;
    std::unique_ptr<ReportEngine> m_engine;
    QString m_pdf;
};

void PdfOutputTest::init()
{
    m_base = std::make_unique<QTemporaryDir>();
    const QDir data(m_base->filePath(QStringLiteral("Data")));
    QVERIFY(QDir().mkpath(data.path()));
    QVERIFY(QFile::copy(QStringLiteral(CORVANE_REPORTS_SOURCE_DIR "/MALAB26.PRP"),
                        data.filePath(QStringLiteral("MALAB26.PRP"))));
    writeFile(data.filePath(QStringLiteral("GHS02.svg")), pictogramSvg("#000"));
    writeFile(data.filePath(QStringLiteral("GHS07.svg")), pictogramSvg("#333"));
    m_pdf = m_base->filePath(QStringLiteral("labels.pdf"));
    m_engine = std::make_unique<ReportEngine>();
    m_engine->setBaseFolder(m_base->path());
    m_engine->setPdfOutput(m_pdf);
}

Outcome PdfOutputTest::printSheets(const QStringList &names, const QString &pictogram)
{
    if (Outcome started = m_engine->startDocument(); !started)
        return started;
    for (qsizetype first = 0; first < names.size(); first += 12) {
        if (Outcome loaded = m_engine->loadReport(ReportFile::Additional2x6); !loaded) {
            m_engine->abortDocument();
            return loaded;
        }
        for (int slot = 1; slot <= 12 && first + slot - 1 < names.size(); ++slot) {
            const QString n = QString::number(slot);
            m_engine->setFieldText(QStringLiteral("Element") + n, names[first + slot - 1]);
            m_engine->setFieldText(QStringLiteral("Attention") + n, QStringLiteral("危険"));
            m_engine->setFieldPicture(QStringLiteral("Mark%1%2").arg(n).arg(1), QStringLiteral("GHS07.svg"));
            m_engine->setFieldPicture(QStringLiteral("Mark%1%2").arg(n).arg(2), pictogram + QStringLiteral(".svg"));
            m_engine->setFieldText(QStringLiteral("Harmful") + n,
                                   QStringLiteral("引火性の高い液体及び蒸気\r\n強い眼刺激"));
        }
        m_engine->playPage();
        m_engine->endSheet();
    }
    return m_engine->finishDocument();
}

void PdfOutputTest::writesEveryPageWithSearchableJapanese()
{
    const Outcome printed = printSheets(kNames, QStringLiteral("GHS02"));
    QVERIFY2(printed.ok(), qPrintable(printed.errorText()));
    QCOMPARE(pdfPageCount(m_pdf), 2);

    const QString text = runTool(QStringLiteral("pdftotext"), {m_pdf, QStringLiteral("-")});
    for (const QString &name : kNames)
        QVERIFY2(text.contains(name), qPrintable(name));
    QCOMPARE(text.count(QStringLiteral("危険")), kNames.size());
    QCOMPARE(text.count(QStringLiteral("強い眼刺激")), kNames.size());

    // Every font is embedded, so the labels print the same everywhere.
    const QStringList fonts = runTool(QStringLiteral("pdffonts"), {m_pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString &font : fonts)
        QVERIFY2(font.simplified().contains(QStringLiteral(" yes ")), qPrintable(font));

    // 26 pictograms on two pages, two distinct pictures: each stored once
    // (pdfimages lists every use, with the object that holds the picture).
    const QStringList uses = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), m_pdf}).split(u'\n').mid(2);
    int pictogramUses = 0;
    QSet<QString> storedPictures;
    for (const QString &use : uses) {
        const QStringList columns = use.simplified().split(u' ');
        if (columns.size() > 10 && columns[2] == QStringLiteral("image")) {
            ++pictogramUses;
            storedPictures.insert(columns[10]);
        }
    }
    QCOMPARE(pictogramUses, 26);
    QCOMPARE(storedPictures.size(), 2);
    QVERIFY(QFileInfo(m_pdf).size() < 200 * 1024);
}

void PdfOutputTest::missingPictureLeavesNoPdf()
{
    const Outcome missing = printSheets(kNames.mid(0, 3), QStringLiteral("GHS09"));
    QVERIFY(!missing.ok());
    QVERIFY(!QFileInfo::exists(m_pdf));
    QVERIFY2(missing.failure().message.contains(QStringLiteral("絵表示のファイルを読み込めません")),
             qPrintable(missing.errorText()));
    QVERIFY(missing.failure().message.contains(QDir(m_base->path()).filePath(QStringLiteral("Data/GHS09.svg"))));
    QCOMPARE(QDir(m_base->path()).entryList(QDir::Files).size(), 0);

    // An unreadable file is no better than a missing one.
    writeFile(m_base->filePath(QStringLiteral("Data/GHS09.svg")), "<svg this is not");
    QVERIFY(!printSheets(kNames.mid(0, 3), QStringLiteral("GHS09")).ok());
    QVERIFY(!QFileInfo::exists(m_pdf));
}

void PdfOutputTest::unwritablePdfFailsAndLeavesNoFile()
{
    const QString folder = m_base->filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(folder));
    m_pdf = QDir(folder).filePath(QStringLiteral("labels.pdf"));
    m_engine->setPdfOutput(m_pdf);
    QVERIFY(m_engine->startDocument().ok());
    QVERIFY(m_engine->loadReport(ReportFile::Additional2x6).ok());
    m_engine->setFieldText(QStringLiteral("Element1"), kNames[0]);
    m_engine->playPage();
    m_engine->endSheet();
    QVERIFY(QDir(folder).removeRecursively()); // the folder goes away while the labels are being filled
    const Outcome finished = m_engine->finishDocument();
    QVERIFY(!finished.ok());
    QVERIFY2(finished.failure().message.contains(m_pdf), qPrintable(finished.errorText()));
    // Why, in Japanese, and the system's own words apart.
    QVERIFY2(!finished.failure().detail.isEmpty(), qPrintable(finished.errorText()));
    QVERIFY(!QFileInfo::exists(m_pdf));
}

// Without the tools nothing can read the PDF back: the whole test is skipped, and says so.
int main(int argc, char *argv[])
{
    for (const QString &tool : kTools) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            std::fprintf(stderr, "SKIP: %s is not installed (Debian package poppler-utils)\n", qPrintable(tool));
            return kSkipped;
        }
    }
    QGuiApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true); // as QTEST_MAIN sets it
    PdfOutputTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pdfoutput.moc"
