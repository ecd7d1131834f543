#include "Catalogue.h"
#include "DailyBackup.h"
#include "Database.h"
#include "Fixture.h"
#include "MainMenu.h"
#include "RunDatabase.h"
#include "MessageRecorder.h"
#include "PrintLabels.h"
#include "PrintPreview.h"
#include "Profile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace corvane;

namespace {

struct PrintCall {
    int productId;
    LabelKind kind;
    bool singleSubstance;
    bool operator==(const PrintCall &) const = default;
};

int currentId(const MainMenu &menu) { return menu.state().productId.value_or(-1); }

void saveName(const ProgramFolder &folder, const QString &name)
{
    QVERIFY(writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), name, folder.iniPath()));
}

QString savedName(const ProgramFolder &folder)
{
    return readProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), QStringLiteral("<none>"), 256,
                             folder.iniPath());
}

// Adds products: "単一" (ItemType 1), "複数" (0) and "未保存" (ItemType Null).
void addProducts(const ProgramFolder &folder)
{
    auto db = folder.open();
    QVERIFY(db);
    execOrFail(*db, QStringLiteral("INSERT INTO 製品情報 (ID, 製品名, ItemType) VALUES "
                                   "(3, '単一', 1), (5, '複数', 0), (12, '未保存', NULL), (14, 'Say \"hi\"', 0)"));
}

} // namespace

class TestMainMenu : public QObject {
    Q_OBJECT
    std::vector<PrintCall> calls;

    MenuActions recordingActions()
    {
        MenuActions actions;
        actions.printLabels = [this](QWidget *, Database &, int id, LabelKind kind, bool single) {
            calls.push_back({id, kind, single});
        };
        return actions;
    }

    static bool allEnabled(const std::vector<QPushButton *> &buttons)
    {
        for (QPushButton *button : buttons)
            if (!button->isEnabled())
                return false;
        return true;
    }

    // The buttons that print the chosen product's labels.
    static std::vector<QPushButton *> productButtons(const MainMenu &menu)
    {
        return {menu.printNormalButton, menu.printModelButton, menu.printAdditional2x6Button,
                menu.printAdditional3x7Button};
    }

    // Types a name into the box and leaves it with Enter, as a user does.
    static void typeAndEnter(MainMenu &menu, const QString &name)
    {
        menu.productNameEdit->setFocus();
        menu.productNameEdit->setText(name);
        QTest::keyClick(menu.productNameEdit, Qt::Key_Return);
    }

private slots:
    void init() { calls.clear(); }

    void firstStartWithoutSettingsFile()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        MessageRecorder messages;
        MainMenu menu(recordingActions());
        QVERIFY2(menu.open(), qPrintable(messages.texts().join(QLatin1Char('\n'))));
        QCOMPARE(menu.windowTitle(), QStringLiteral("Corvane"));
        QCOMPARE(menu.productNameEdit->text(), QString());
        QCOMPARE(currentId(menu), -1);
        QVERIFY(!menu.state().nameChanged);
        for (QPushButton *button : productButtons(menu))
            QVERIFY(!button->isEnabled());
        QVERIFY(allEnabled(
            {menu.companyButton, menu.editorButton, menu.listButton, menu.printAllSubstancesButton, menu.quitButton}));
        QVERIFY(menu.twelveOfOneLabel->isHidden() && menu.twentyOneOfOneLabel->isHidden());
        QVERIFY(messages.messages().isEmpty());
        // Before a product is chosen the two sheets of additional labels are told apart, and the
        // disabled model label says why.
        QVERIFY(menu.printAdditional2x6Button->text() != menu.printAdditional3x7Button->text());
        QVERIFY(!menu.printModelButton->toolTip().isEmpty());

        // Disabled or not, the product buttons print nothing without a product; the list of
        // all target substances prints anyway.
        menu.printNormal();
        menu.printAdditional2x6();
        menu.printAdditional3x7();
        menu.printAllSubstances();
        QCOMPARE(calls, (std::vector<PrintCall>{{-1, LabelKind::AllSubstances, false}}));
        QCOMPARE(menu.settingsFile(), folder.iniPath());
    }

    void closingWritesTheNameAndTheNextStartShowsIt()
    {
        ProgramFolder folder;
        addProducts(folder);
        {
            MainMenu menu(recordingActions());
            QVERIFY(menu.open());
            // The day's copy, taken at start-up (a server is backed up where it runs).
            QVERIFY(folder.server() || !newestBackup(folder.databasePath()).isEmpty());
            menu.productNameEdit->setText(QStringLiteral("単一"));
            menu.quit(); // 終了
        }
        QCOMPARE(savedName(folder), QStringLiteral("単一"));
        {
            MessageRecorder messages;
            MainMenu menu(recordingActions());
            QVERIFY(menu.open());
            QCOMPARE(menu.productNameEdit->text(), QStringLiteral("単一"));
            QCOMPARE(currentId(menu), 3);
            QVERIFY(allEnabled(productButtons(menu)));
            QVERIFY(messages.messages().isEmpty());
            menu.productNameEdit->clear();
            menu.close(); // the window's close box takes the same path
        }
        QCOMPARE(savedName(folder), QString());
        QVERIFY(QFile::exists(folder.iniPath()));
    }

    void settingsFileThatCannotBeWrittenIsReportedOnClosing()
    {
        ProgramFolder folder;
        QVERIFY(QDir().mkpath(folder.iniPath())); // a folder where the file would be
        MessageRecorder messages;
        {
            MainMenu menu(recordingActions());
            QVERIFY(menu.open());
            menu.productNameEdit->setText(QStringLiteral("製品"));
            menu.close();
        }
        QCOMPARE(messages.messages().size(), 1);
        QVERIFY(messages.messages().front().text.contains(QDir::toNativeSeparators(folder.iniPath())));
        QVERIFY(QFileInfo(folder.iniPath()).isDir());
    }

    void savedNameNoLongerRegisteredIsReportedBeforeTheMenuShows()
    {
        ProgramFolder folder;
        saveName(folder, QStringLiteral("消えた製品"));
        MessageRecorder messages;
        MainMenu menu(recordingActions());
        QVERIFY(menu.open());
        QVERIFY(!menu.isVisible());
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("製品名：消えた製品は登録されていません。")});
        QCOMPARE(messages.messages().front().title, QStringLiteral("Corvane"));
        QCOMPARE(messages.messages().front().icon, MsgIcon::Exclamation);
        QCOMPARE(menu.productNameEdit->text(), QString());
        QVERIFY(!menu.state().productId);
        QVERIFY(!menu.state().nameChanged);
        for (QPushButton *button : productButtons(menu))
            QVERIFY(!button->isEnabled());
    }

    void productCheckSetsTheLabelButtons()
    {
        ProgramFolder folder;
        addProducts(folder);
        MessageRecorder messages;
        MainMenu menu(recordingActions());
        QVERIFY(menu.open());
        menu.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu));

        typeAndEnter(menu, QStringLiteral("単一"));
        QCOMPARE(QApplication::focusWidget(), menu.listButton); // Enter moved on to 一覧
        QVERIFY(allEnabled(productButtons(menu)));
        QCOMPARE(menu.printAdditional2x6Button->text(), QStringLiteral("単一物質追加ラベル(2×6)"));
        QCOMPARE(menu.printAdditional3x7Button->text(), QStringLiteral("単一物質追加ラベル(3×7)"));
        QVERIFY(!menu.twelveOfOneLabel->isHidden() && !menu.twentyOneOfOneLabel->isHidden());
        QCOMPARE(currentId(menu), 3);

        typeAndEnter(menu, QStringLiteral("複数"));
        QVERIFY(allEnabled({menu.printNormalButton, menu.printAdditional2x6Button, menu.printAdditional3x7Button}));
        QVERIFY(!menu.printModelButton->isEnabled());
        QCOMPARE(menu.printAdditional2x6Button->text(), QStringLiteral("複数物質追加ラベル(2×6)"));
        QCOMPARE(menu.printAdditional3x7Button->text(), QStringLiteral("複数物質追加ラベル(3×7)"));
        QVERIFY(menu.twelveOfOneLabel->isHidden() && menu.twentyOneOfOneLabel->isHidden());
        QCOMPARE(currentId(menu), 5);

        // A name typed in another case of Latin letters, and one with quotation marks.
        typeAndEnter(menu, QStringLiteral("SAY \"HI\""));
        QCOMPARE(currentId(menu), 14);

        // ItemType Null counts as a single-substance product.
        typeAndEnter(menu, QStringLiteral("未保存"));
        QVERIFY(menu.printModelButton->isEnabled());
        QVERIFY(!menu.twelveOfOneLabel->isHidden());
        QCOMPARE(currentId(menu), 12);
        QVERIFY(messages.messages().isEmpty());

        // An unregistered name: the message names it, the box is emptied, and the emptied
        // box prints nothing, not the earlier product.
        typeAndEnter(menu, QStringLiteral("ない"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("製品名：ないは登録されていません。")});
        QCOMPARE(menu.productNameEdit->text(), QString());
        for (QPushButton *button : productButtons(menu))
            QVERIFY(!button->isEnabled());
        const size_t printed = calls.size();
        menu.printNormal();
        QCOMPARE(calls.size(), printed);

        // Emptying the box by hand disables the label buttons.
        typeAndEnter(menu, QStringLiteral("複数"));
        typeAndEnter(menu, QString());
        for (QPushButton *button : productButtons(menu))
            QVERIFY(!button->isEnabled());
        QCOMPARE(messages.messages().size(), 1);
    }

    void leavingAnUnchangedBoxLooksNothingUp()
    {
        ProgramFolder folder;
        addProducts(folder);
        MessageRecorder messages;
        MainMenu menu(recordingActions());
        QVERIFY(menu.open());
        menu.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu));
        typeAndEnter(menu, QStringLiteral("単一"));
        // The product's kind changes behind the menu's back; leaving the box again does
        // not read it again.
        execOrFail(*menu.database(), QStringLiteral("UPDATE 製品情報 SET ItemType = 0 WHERE ID = 3"));
        menu.productNameEdit->setFocus();
        QTest::keyClick(menu.productNameEdit, Qt::Key_Tab);
        QVERIFY(menu.printModelButton->isEnabled());
        QCOMPARE(menu.printAdditional2x6Button->text(), QStringLiteral("単一物質追加ラベル(2×6)"));
    }

    void labelButtonsPassKindAndFlag()
    {
        ProgramFolder folder;
        addProducts(folder);
        MainMenu menu(recordingActions());
        QVERIFY(menu.open());
        menu.productNameEdit->setText(QStringLiteral("単一"));
        menu.checkProductName();
        menu.printNormal();
        menu.printModel();
        menu.printAdditional2x6();
        menu.printAdditional3x7();
        menu.printAllSubstances();
        QCOMPARE(calls, (std::vector<PrintCall>{{3, LabelKind::Normal, true},
                                                {3, LabelKind::Model, true},
                                                {3, LabelKind::Additional2x6, true},
                                                {3, LabelKind::Additional3x7, true},
                                                {-1, LabelKind::AllSubstances, false}}));
        calls.clear();
        menu.productNameEdit->setText(QStringLiteral("複数"));
        menu.checkProductName();
        menu.printNormal();
        menu.printAdditional2x6();
        menu.printAdditional3x7();
        QCOMPARE(calls, (std::vector<PrintCall>{{5, LabelKind::Normal, false},
                                                {5, LabelKind::Additional2x6, false},
                                                {5, LabelKind::Additional3x7, false}}));
    }

    void keypadSeparatorMovesTheFocusLikeTab()
    {
        ProgramFolder folder;
        addProducts(folder);
        MainMenu menu(recordingActions());
        QVERIFY(menu.open());
        menu.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu));
        menu.productNameEdit->setFocus();
        menu.productNameEdit->setText(QStringLiteral("複数"));
        QTest::keyClick(menu.productNameEdit, Qt::Key_Comma, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), menu.listButton);
        QCOMPARE(menu.productNameEdit->text(), QStringLiteral("複数"));
        QCOMPARE(currentId(menu), 5);
    }

    void editorAndSelectionResults()
    {
        ProgramFolder folder;
        addProducts(folder);
        MenuActions actions = recordingActions();
        QString editorResult;
        int selectResult = -1;
        QString selectName;
        actions.openEditor = [&](Database &, const QString &) { return editorResult; };
        actions.chooseProduct = [&](Database &, QString &name) {
            if (selectResult > 0)
                name = selectName;
            return selectResult;
        };
        MainMenu menu(actions);
        QVERIFY(menu.open());

        // The selection dialog's choice becomes the current product.
        selectResult = 5;
        selectName = QStringLiteral("複数");
        menu.chooseProduct();
        QCOMPARE(menu.productNameEdit->text(), QStringLiteral("複数"));
        QCOMPARE(currentId(menu), 5);
        QVERIFY(!menu.printModelButton->isEnabled());

        // A cancelled selection changes nothing.
        selectResult = -1;
        menu.chooseProduct();
        QCOMPARE(menu.productNameEdit->text(), QStringLiteral("複数"));

        // The editor returning the same name checks the product again: its kind may have
        // changed, and the label buttons must follow it.
        execOrFail(*menu.database(), QStringLiteral("UPDATE 製品情報 SET ItemType = 1 WHERE ID = 5"));
        editorResult = QStringLiteral("複数");
        menu.openEditor();
        QVERIFY(menu.printModelButton->isEnabled());
        menu.printAdditional2x6();
        QCOMPARE(calls.back(), (PrintCall{5, LabelKind::Additional2x6, true}));
        // An empty name keeps everything; another name is checked.
        editorResult.clear();
        menu.openEditor();
        QCOMPARE(menu.productNameEdit->text(), QStringLiteral("複数"));
        editorResult = QStringLiteral("単一");
        menu.openEditor();
        QCOMPARE(currentId(menu), 3);
        QVERIFY(menu.printModelButton->isEnabled());
    }

    // The program's own printing: a product whose substances the master all lacks gets a
    // message that says so, never the preview of a label without their hazards.
    void printingWithoutAnySubstanceOfTheMasterExplainsInsteadOfPreviewing()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        auto db = folder.open();
        const int id = **catalogue::registerProduct(*db, QStringLiteral("全部がない製品"));
        catalogue::addEntries(*db, id, {99998, 99999});
        MessageRecorder messages;
        QTimer closer; // a preview that opened all the same is closed, so the test ends
        closer.setSingleShot(true);
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget *open = QApplication::activeModalWidget())
                open->close();
        });
        closer.start(3000);
        printWithPreview(nullptr, *db, id, LabelKind::Normal, false);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts()[0].contains(QStringLiteral("ラベルを印刷しません")), qPrintable(messages.texts()[0]));
    }

    void missingDatabaseEndsTheStartWithAMessage()
    {
        ProgramFolder folder;
        QVERIFY(QFile::remove(folder.databasePath()));
        if (folder.server()) // a database the server does not have
            setDatabaseOption(folder.server()->withDatabase(QStringLiteral("missing")).uri());
        saveName(folder, QStringLiteral("keep"));
        MessageRecorder messages;
        {
            MainMenu menu(recordingActions());
            QVERIFY(!menu.open());
            QCOMPARE(messages.messages().size(), 1);
            QVERIFY(messages.texts().front().contains(folder.server() ? QStringLiteral("サーバー /")
                                                                      : QStringLiteral("Data.mde")));
            menu.close();
        }
        QVERIFY(!QFile::exists(folder.databasePath()));
        QCOMPARE(savedName(folder), QStringLiteral("keep"));
    }
};

QTEST_MAIN(TestMainMenu)
#include "tst_mainmenu.moc"
