#include "Catalogue.h"
#include "Database.h"
#include "DialogDriver.h"
#include "Fixture.h"
#include "MessageRecorder.h"
#include "PrintPreview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

using namespace corvane;

// printWithPreview is the way every print of the program goes: what reaches the preview,
// and what reaches the user instead.
class TestPrintPreview : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<Database> db;

    int product(const std::vector<int> &substances, bool single = false)
    {
        const int id = **catalogue::registerProduct(*db, QStringLiteral("製品"));
        catalogue::addEntries(*db, id, substances);
        catalogue::writeProductRow(*db, id,
                                   {QStringLiteral("製品"), QStringLiteral("火気厳禁"), QString(), single ? 1 : 0},
                                   static_cast<int>(substances.size()));
        return id;
    }

    void removeReport(const QString &file) { QVERIFY(QFile::remove(QDir(folder->dataFolder()).filePath(file))); }

    // Prints what the preview holds into a PDF, as its print button does on a PDF printer, and
    // counts the pages written (one page object each as Qt writes them; 0 for no file).
    int printedPages(QPrintPreviewDialog &dialog, QPrintPreviewWidget &preview)
    {
        const QString pdf = QDir(folder->path()).filePath(QStringLiteral("printed.pdf"));
        QFile::remove(pdf);
        dialog.printer()->setOutputFileName(pdf);
        preview.print();
        QFile file(pdf);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
        return int(QString::fromLatin1(file.readAll()).count(page));
    }

private slots:
    void init()
    {
        folder = std::make_unique<ProgramFolder>();
        QVERIFY2(folder->isValid(), qPrintable(folder->error()));
        db = folder->open();
        QVERIFY(db);
        QVERIFY(catalogue::writeCompany(
            *db, {QStringLiteral("化学株式会社"), QStringLiteral("東京都"), QStringLiteral("TEL 03")}));
    }
    void cleanup()
    {
        db.reset();
        folder.reset();
    }

    // (kind, substances) -> the pages the preview shows, after any messages about the labels.
    void aPrintReachesThePreviewWithItsPages_data()
    {
        QTest::addColumn<LabelKind>("kind");
        QTest::addColumn<bool>("single");
        QTest::addColumn<std::vector<int>>("substances");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("message"); // words of the one message before the preview, if any
        QTest::newRow("normal label, one substance")
            << LabelKind::Normal << true << std::vector<int>{1} << 1 << QString();
        QTest::newRow("six to a page, seven substances")
            << LabelKind::Normal << false << std::vector<int>{1, 2, 3, 4, 5, 6, 7} << 2 << QString();
        QTest::newRow("model label") << LabelKind::Model << true << std::vector<int>{3} << 1 << QString();
        QTest::newRow("12 to a sheet, 13 substances")
            << LabelKind::Additional2x6 << false << std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13} << 2
            << QString();
        QTest::newRow("a substance the master lacks: said, the rest previewed")
            << LabelKind::Additional2x6 << false << std::vector<int>{1, 99999} << 1
            << QStringLiteral("物質番号 99999 は物質マスタにない");
    }
    void aPrintReachesThePreviewWithItsPages()
    {
        QFETCH(LabelKind, kind);
        QFETCH(bool, single);
        QFETCH(std::vector<int>, substances);
        QFETCH(int, pages);
        QFETCH(QString, message);
        const int id = product(substances, single);
        MessageRecorder messages;
        int shown = -1;
        onModalOfType<QPrintPreviewDialog>([&](QPrintPreviewDialog &dialog) {
            if (auto *preview = dialog.findChild<QPrintPreviewWidget *>())
                shown = preview->pageCount();
            dialog.reject();
        });
        printWithPreview(nullptr, *db, id, kind, single);
        QCOMPARE(shown, pages);
        if (message.isEmpty()) {
            QCOMPARE(messages.texts(), QStringList());
        } else {
            QCOMPARE(messages.texts().size(), 1);
            QVERIFY2(messages.texts().front().contains(message), qPrintable(messages.texts().front()));
        }
    }

    // A print that fails is a message, and no preview opens.
    void aFailureIsShownInsteadOfThePreview_data()
    {
        QTest::addColumn<LabelKind>("kind");
        QTest::addColumn<QString>("removedReport");
        QTest::addColumn<QStringList>("message"); // words of the message
        QTest::newRow("report file missing")
            << LabelKind::Additional3x7 << QStringLiteral("MALAB37.PRP")
            << QStringList{QStringLiteral("ラベルの様式を読み込めません"), QStringLiteral("MALAB37.PRP")};
        QTest::newRow("a mixture without contents")
            << LabelKind::MixtureLabel << QString() << QStringList{QStringLiteral("混合物として分類できません")};
    }
    void aFailureIsShownInsteadOfThePreview()
    {
        QFETCH(LabelKind, kind);
        QFETCH(QString, removedReport);
        QFETCH(QStringList, message);
        const int id = product({1, 2});
        if (!removedReport.isEmpty())
            removeReport(removedReport);
        MessageRecorder messages;
        bool previewed = false;
        QTimer previewWatch; // fires only inside a dialog's event loop: this function never runs one
        previewWatch.setSingleShot(true);
        connect(&previewWatch, &QTimer::timeout, [&] {
            if (QWidget *open = QApplication::activeModalWidget()) {
                previewed = true;
                open->close();
            }
        });
        previewWatch.start(0);
        printWithPreview(nullptr, *db, id, kind, false);
        previewWatch.stop();
        QVERIFY(!previewed);
        QCOMPARE(messages.texts().size(), 1);
        for (const QString &words : message)
            QVERIFY2(messages.texts().front().contains(words), qPrintable(messages.texts().front()));
    }

    // The start position in the preview lays the sheets out again. When that fails, the user
    // is told, and the preview keeps the layout it had, with the position it was made from:
    // it shows and prints those sheets.
    void aFailedChangeOfStartPositionKeepsTheEarlierLayout()
    {
        const int id = product({1, 2, 3});
        MessageRecorder messages;
        QList<int> shown;   // pages in the preview after each step
        QList<int> printed; // pages its print button prints
        QList<int> positions;
        onModalOfType<QPrintPreviewDialog>([&](QPrintPreviewDialog &dialog) {
            auto *preview = dialog.findChild<QPrintPreviewWidget *>();
            auto *start = dialog.findChild<QSpinBox *>();
            QVERIFY(preview && start);
            shown << preview->pageCount();
            start->setValue(11); // three labels from the 11th: two sheets
            shown << preview->pageCount();
            printed << printedPages(dialog, *preview);
            positions << start->value();
            removeReport(QStringLiteral("MALAB26.PRP"));
            start->setValue(1);
            shown << preview->pageCount();
            printed << printedPages(dialog, *preview);
            positions << start->value();
            dialog.reject();
        });
        printWithPreview(nullptr, *db, id, LabelKind::Additional2x6, false);
        QCOMPARE(shown, (QList<int>{1, 2, 2}));
        QCOMPARE(printed, (QList<int>{2, 2}));
        QCOMPARE(positions, (QList<int>{11, 11}));
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().front().contains(QStringLiteral("MALAB26.PRP")),
                 qPrintable(messages.texts().front()));
    }
};

QTEST_MAIN(TestPrintPreview)
#include "tst_printpreview.moc"
