#include "Catalogue.h"
#include "DailyBackup.h"
#include "Database.h"
#include "Fixture.h"
#include "RunDatabase.h"
#include "FrmMenu.h"
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

int currentId(const FrmMenu &menu) { return menu.state().productId.value_or(-1); }

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

class TestFrmMenu : public QObject {
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

    static bool labelButtonsEnabled(const FrmMenu &menu, std::initializer_list<int> indexes)
    {
        for (int i : indexes)
            if (!menu.Command1.at(i)->isEnabled())
                return false;
        return true;
    }

    // Types a name into the box and leaves it with Enter, as a user does.
    static void typeAndEnter(FrmMenu &menu, const QString &name)
    {
        menu.Text1->setFocus();
        menu.Text1->setText(name);
        QTest::keyClick(menu.Text1, Qt::Key_Return);
    }

private slots:
    void init() { calls.clear(); }

    void firstStartWithoutSettingsFile()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        MessageRecorder messages;
        FrmMenu menu(recordingActions());
        QVERIFY2(menu.Form_Load(), qPrintable(messages.texts().join(QLatin1Char('\n'))));
        QCOMPARE(menu.windowTitle(), QStringLiteral("Corvane"));
        QCOMPARE(menu.Text1->text(), QString());
        QCOMPARE(currentId(menu), -1);
        QCOMPARE(menu.state().intNameChanged, 0);
        for (int i : {3, 4, 5, 8})
            QVERIFY(!menu.Command1[i]->isEnabled());
        QVERIFY(labelButtonsEnabled(menu, {0, 1, 2, 6, 7}));
        QVERIFY(menu.Label1[7]->isHidden() && menu.Label1[9]->isHidden());
        QVERIFY(messages.messages().isEmpty());
        // Before a product is chosen the two sheets of additional labels are told apart, and the
        // disabled model label says why.
        QVERIFY(menu.Command1[5]->text() != menu.Command1[8]->text());
        QVERIFY(!menu.Command1[4]->toolTip().isEmpty());

        // Disabled or not, the product buttons print nothing without a product; the list of
        // all target substances prints anyway.
        for (int i : {3, 5, 8, 6})
            menu.Command1_Click(i);
        QCOMPARE(calls, (std::vector<PrintCall>{{-1, LabelKind::AllSubstances, false}}));
        QCOMPARE(menu.strIniFile, folder.iniPath());
    }

    void closingWritesTheNameAndTheNextStartShowsIt()
    {
        ProgramFolder folder;
        addProducts(folder);
        {
            FrmMenu menu(recordingActions());
            QVERIFY(menu.Form_Load());
            // The day's copy, taken at start-up (a server is backed up where it runs).
            QVERIFY(folder.server() || !newestBackup(folder.databasePath()).isEmpty());
            menu.Text1->setText(QStringLiteral("単一"));
            menu.Command1_Click(7); // 終了
        }
        QCOMPARE(savedName(folder), QStringLiteral("単一"));
        {
            MessageRecorder messages;
            FrmMenu menu(recordingActions());
            QVERIFY(menu.Form_Load());
            QCOMPARE(menu.Text1->text(), QStringLiteral("単一"));
            QCOMPARE(currentId(menu), 3);
            QVERIFY(labelButtonsEnabled(menu, {3, 4, 5, 8}));
            QVERIFY(messages.messages().isEmpty());
            menu.Text1->clear();
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
            FrmMenu menu(recordingActions());
            QVERIFY(menu.Form_Load());
            menu.Text1->setText(QStringLiteral("製品"));
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
        FrmMenu menu(recordingActions());
        QVERIFY(menu.Form_Load());
        QVERIFY(!menu.isVisible());
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("製品名：消えた製品は登録されていません。")});
        QCOMPARE(messages.messages().front().title, QStringLiteral("Corvane"));
        QCOMPARE(messages.messages().front().icon, MsgIcon::Exclamation);
        QCOMPARE(menu.Text1->text(), QString());
        QVERIFY(!menu.state().productId);
        QCOMPARE(menu.state().intNameChanged, 0);
        for (int i : {3, 4, 5, 8})
            QVERIFY(!menu.Command1[i]->isEnabled());
    }

    void productCheckSetsTheLabelButtons()
    {
        ProgramFolder folder;
        addProducts(folder);
        MessageRecorder messages;
        FrmMenu menu(recordingActions());
        QVERIFY(menu.Form_Load());
        menu.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu));

        typeAndEnter(menu, QStringLiteral("単一"));
        QCOMPARE(QApplication::focusWidget(), menu.Command1[2]); // Enter moved on to 一覧
        QVERIFY(labelButtonsEnabled(menu, {3, 4, 5, 8}));
        QCOMPARE(menu.Command1[5]->text(), QStringLiteral("単一物質追加ラベル(2×6)"));
        QCOMPARE(menu.Command1[8]->text(), QStringLiteral("単一物質追加ラベル(3×7)"));
        QVERIFY(!menu.Label1[7]->isHidden() && !menu.Label1[9]->isHidden());
        QCOMPARE(currentId(menu), 3);

        typeAndEnter(menu, QStringLiteral("複数"));
        QVERIFY(labelButtonsEnabled(menu, {3, 5, 8}));
        QVERIFY(!menu.Command1[4]->isEnabled());
        QCOMPARE(menu.Command1[5]->text(), QStringLiteral("複数物質追加ラベル(2×6)"));
        QCOMPARE(menu.Command1[8]->text(), QStringLiteral("複数物質追加ラベル(3×7)"));
        QVERIFY(menu.Label1[7]->isHidden() && menu.Label1[9]->isHidden());
        QCOMPARE(currentId(menu), 5);

        // A name typed in another case of Latin letters, and one with quotation marks.
        typeAndEnter(menu, QStringLiteral("SAY \"HI\""));
        QCOMPARE(currentId(menu), 14);

        // ItemType Null counts as a single-substance product.
        typeAndEnter(menu, QStringLiteral("未保存"));
        QVERIFY(menu.Command1[4]->isEnabled());
        QVERIFY(!menu.Label1[7]->isHidden());
        QCOMPARE(currentId(menu), 12);
        QVERIFY(messages.messages().isEmpty());

        // An unregistered name: the message names it, the box is emptied, and the emptied
        // box prints nothing, not the earlier product.
        typeAndEnter(menu, QStringLiteral("ない"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("製品名：ないは登録されていません。")});
        QCOMPARE(menu.Text1->text(), QString());
        for (int i : {3, 4, 5, 8})
            QVERIFY(!menu.Command1[i]->isEnabled());
        const size_t printed = calls.size();
        menu.Command1_Click(3);
        QCOMPARE(calls.size(), printed);

        // Emptying the box by hand disables the label buttons.
        typeAndEnter(menu, QStringLiteral("複数"));
        typeAndEnter(menu, QString());
        for (int i : {3, 4, 5, 8})
            QVERIFY(!menu.Command1[i]->isEnabled());
        QCOMPARE(messages.messages().size(), 1);
    }

    void leavingAnUnchangedBoxLooksNothingUp()
    {
        ProgramFolder folder;
        addProducts(folder);
        MessageRecorder messages;
        FrmMenu menu(recordingActions());
        QVERIFY(menu.Form_Load());
        menu.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu));
        typeAndEnter(menu, QStringLiteral("単一"));
        // The product's kind changes behind the menu's back; leaving the box again does
        // not read it again.
        execOrFail(*menu.database(), QStringLiteral("UPDATE 製品情報 SET ItemType = 0 WHERE ID = 3"));
        menu.Text1->setFocus();
        QTest::keyClick(menu.Text1, Qt::Key_Tab);
        QVERIFY(menu.Command1[4]->isEnabled());
        QCOMPARE(menu.Command1[5]->text(), QStringLiteral("単一物質追加ラベル(2×6)"));
    }

    void labelButtonsPassKindAndFlag()
    {
        ProgramFolder folder;
        addProducts(folder);
        FrmMenu menu(recordingActions());
        QVERIFY(menu.Form_Load());
        menu.Text1->setText(QStringLiteral("単一"));
        menu.Text1_LostFocus();
        for (int i : {3, 4, 5, 8, 6})
            menu.Command1_Click(i);
        QCOMPARE(calls, (std::vector<PrintCall>{{3, LabelKind::Normal, true},
                                                {3, LabelKind::Model, true},
                                                {3, LabelKind::Additional2x6, true},
                                                {3, LabelKind::Additional3x7, true},
                                                {-1, LabelKind::AllSubstances, false}}));
        calls.clear();
        menu.Text1->setText(QStringLiteral("複数"));
        menu.Text1_LostFocus();
        for (int i : {3, 5, 8})
            menu.Command1_Click(i);
        QCOMPARE(calls, (std::vector<PrintCall>{{5, LabelKind::Normal, false},
                                                {5, LabelKind::Additional2x6, false},
                                                {5, LabelKind::Additional3x7, false}}));
    }

    void keypadSeparatorMovesTheFocusLikeTab()
    {
        ProgramFolder folder;
        addProducts(folder);
        FrmMenu menu(recordingActions());
        QVERIFY(menu.Form_Load());
        menu.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu));
        menu.Text1->setFocus();
        menu.Text1->setText(QStringLiteral("複数"));
        QTest::keyClick(menu.Text1, Qt::Key_Comma, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), menu.Command1[2]);
        QCOMPARE(menu.Text1->text(), QStringLiteral("複数"));
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
        actions.editorStart = [&](Database &, const QString &) { return editorResult; };
        actions.selectStart = [&](Database &, QString &name) {
            if (selectResult > 0)
                name = selectName;
            return selectResult;
        };
        FrmMenu menu(actions);
        QVERIFY(menu.Form_Load());

        // The selection dialog's choice becomes the current product.
        selectResult = 5;
        selectName = QStringLiteral("複数");
        menu.Command1_Click(2);
        QCOMPARE(menu.Text1->text(), QStringLiteral("複数"));
        QCOMPARE(currentId(menu), 5);
        QVERIFY(!menu.Command1[4]->isEnabled());

        // A cancelled selection changes nothing.
        selectResult = -1;
        menu.Command1_Click(2);
        QCOMPARE(menu.Text1->text(), QStringLiteral("複数"));

        // The editor returning the same name checks the product again: its kind may have
        // changed, and the label buttons must follow it.
        execOrFail(*menu.database(), QStringLiteral("UPDATE 製品情報 SET ItemType = 1 WHERE ID = 5"));
        editorResult = QStringLiteral("複数");
        menu.Command1_Click(1);
        QVERIFY(menu.Command1[4]->isEnabled());
        menu.Command1_Click(5);
        QCOMPARE(calls.back(), (PrintCall{5, LabelKind::Additional2x6, true}));
        // An empty name keeps everything; another name is checked.
        editorResult.clear();
        menu.Command1_Click(1);
        QCOMPARE(menu.Text1->text(), QStringLiteral("複数"));
        editorResult = QStringLiteral("単一");
        menu.Command1_Click(1);
        QCOMPARE(currentId(menu), 3);
        QVERIFY(menu.Command1[4]->isEnabled());
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
            FrmMenu menu(recordingActions());
            QVERIFY(!menu.Form_Load());
            QCOMPARE(messages.messages().size(), 1);
            QVERIFY(messages.texts().front().contains(folder.server() ? QStringLiteral("サーバー /") : QStringLiteral("Data.mde")));
            menu.close();
        }
        QVERIFY(!QFile::exists(folder.databasePath()));
        QCOMPARE(savedName(folder), QStringLiteral("keep"));
    }
};

QTEST_MAIN(TestFrmMenu)
#include "tst_frmmenu.moc"
