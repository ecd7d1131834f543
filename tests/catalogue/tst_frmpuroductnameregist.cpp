#include "Database.h"
#include "DialogDriver.h"
#include "Fixture.h"
#include "FrmPuroductNameRegist.h"
#include "MessageRecorder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace corvane;

namespace {

using Result = std::pair<int, QString>;

// The whole catalogue as "ID:name" entries, to show that a refused or cancelled name wrote nothing.
QString catalogueText(Database &db)
{
    return rowsOf(db, QStringLiteral("SELECT ID || ':' || 製品名 FROM 製品情報 ORDER BY ID")).join(QLatin1Char('|'));
}

void retype(FrmPuroductNameRegist &dialog, const QString &name)
{
    dialog.Text1[0]->clear();
    commitText(dialog.Text1[0], name);
}

// Opens the dialog, runs steps in it and gives what Start returned; the caller's name
// variable holds a stale value beforehand.
template <class Steps>
Result run(FrmPuroductNameRegist &dialog, Database &db, Steps steps,
           const std::optional<QString> &oldName = std::nullopt)
{
    onNextModal(dialog, steps);
    QString name = QStringLiteral("前の値");
    const int id = dialog.Start(db, name, oldName);
    return {id, name};
}

Result typeAndEnter(FrmPuroductNameRegist &dialog, Database &db, const QString &name)
{
    return run(dialog, db, [&] {
        retype(dialog, name);
        QTest::keyClick(dialog.Text1[0], Qt::Key_Return);
    });
}

} // namespace

class TestFrmPuroductNameRegist : public QObject {
    Q_OBJECT

private slots:
    void newIdIsTheHighestPlusOne()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        auto db = folder.open();
        QVERIFY(db);
        MessageRecorder messages;
        FrmPuroductNameRegist dialog;
        const Result first = run(dialog, *db, [&] {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("製品名登録"));
            QCOMPARE(dialog.Text1[0]->text(), QString());
            QCOMPARE(QApplication::focusWidget(), dialog.Text1[0]);
            commitText(dialog.Text1[0], QStringLiteral("最初の製品"));
            dialog.Command1[0]->click();
        });
        QCOMPARE(first, Result(1, QStringLiteral("最初の製品")));

        execOrFail(*db, QStringLiteral("INSERT INTO 製品情報 (ID, 製品名) VALUES (2, '二'), (7, '七')"));
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("八")), Result(8, QStringLiteral("八")));
        // The highest ID, once deleted, is given again.
        execOrFail(*db, QStringLiteral("DELETE FROM 製品情報 WHERE ID = 8"));
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("また八")), Result(8, QStringLiteral("また八")));
        // A name of blanks and names with quotation marks are taken as typed.
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("   ")), Result(9, QStringLiteral("   ")));
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("Say \"hi\" 'there'")),
                 Result(10, QStringLiteral("Say \"hi\" 'there'")));
        QCOMPARE(catalogueText(*db), QStringLiteral("1:最初の製品|2:二|7:七|8:また八|9:   |10:Say \"hi\" 'there'"));
        QVERIFY(messages.messages().isEmpty());
    }

    void refusedNamesKeepTheDialogOpenAndWriteNothing()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        execOrFail(*db, QStringLiteral("INSERT INTO 製品情報 (ID, 製品名) VALUES (1, 'Acetone'), (2, 'Say \"hi\"')"));
        const QString before = catalogueText(*db);
        MessageRecorder messages;
        FrmPuroductNameRegist dialog;
        const Result result = run(dialog, *db, [&] {
            dialog.Command1[0]->click();
            retype(dialog, QStringLiteral("ACETONE"));
            dialog.Command1[0]->click();
            retype(dialog, QStringLiteral("Say \"hi\""));
            QTest::keyClick(dialog.Text1[0], Qt::Key_Return);
            QCOMPARE(messages.texts(), (QStringList{QStringLiteral("製品名を入力してください。"),
                                                    QStringLiteral("製品名：ACETONE は既に登録されています。"),
                                                    QStringLiteral("製品名：Say \"hi\" は既に登録されています。")}));
            for (const MessageRecord &message : messages.messages())
                QVERIFY(message.icon == MsgIcon::Exclamation && message.buttons == MsgButtons::Ok);
            QCOMPARE(dialog.Text1[0]->text(), QStringLiteral("Say \"hi\"")); // kept for correcting
            dialog.Command1[1]->click();
        });
        QCOMPARE(result.second, QString());
        QCOMPARE(catalogueText(*db), before);
    }

    void renameModeChecksTheNewNameAndWritesNothing()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        execOrFail(*db, QStringLiteral("INSERT INTO 製品情報 (ID, 製品名) VALUES (1, '旧名'), (2, '他の製品')"));
        const QString before = catalogueText(*db);
        MessageRecorder messages;
        FrmPuroductNameRegist dialog;
        const Result renamed = run(dialog, *db, [&] {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("製品名変更"));
            QCOMPARE(dialog.Text1[0]->text(), QStringLiteral("旧名"));
            QCOMPARE(QApplication::focusWidget(), dialog.Text1[0]);
            dialog.Command1[0]->click();
            retype(dialog, QStringLiteral("他の製品"));
            dialog.Command1[0]->click();
            QCOMPARE(messages.texts(), (QStringList{QStringLiteral("製品名を変更してください。"),
                                                    QStringLiteral("製品名：他の製品 は既に登録されています。")}));
            retype(dialog, QStringLiteral("新名"));
            dialog.Command1[0]->click();
        }, QStringLiteral("旧名"));
        QCOMPARE(renamed.second, QStringLiteral("新名"));
        QCOMPARE(catalogueText(*db), before);

        // Without an old name the next opening is new mode again.
        run(dialog, *db, [&] {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("製品名登録"));
            QCOMPARE(dialog.Text1[0]->text(), QString());
            dialog.Command1[1]->click();
        });
    }

    void nameBoxTakesAtMostFiftyCharacters()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        FrmPuroductNameRegist dialog;
        const QString fifty = QString(49, QChar(u'製')) + QLatin1Char('x');
        const Result result = run(dialog, *db, [&] {
            commitText(dialog.Text1[0], fifty + QStringLiteral("品"));
            QTest::keyClicks(dialog.Text1[0], QStringLiteral("yz"));
            QCOMPARE(dialog.Text1[0]->text(), fifty);
            dialog.Command1[0]->click();
        });
        QCOMPARE(result, Result(1, fifty));
    }

    void everyOtherWayOutGivesAnEmptyNameAfterAnEarlierSuccess()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        FrmPuroductNameRegist dialog;
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("登録済み")), Result(1, QStringLiteral("登録済み")));
        const QString before = catalogueText(*db);

        const auto escape = [&] {
            retype(dialog, QStringLiteral("未登録"));
            QTest::keyClick(dialog.Text1[0], Qt::Key_Escape);
        };
        QCOMPARE(run(dialog, *db, escape).second, QString());
        QCOMPARE(run(dialog, *db, escape, QStringLiteral("登録済み")).second, QString());
        const Result closed = run(dialog, *db, [&] {
            retype(dialog, QStringLiteral("未登録"));
            dialog.close();
        });
        QCOMPARE(closed.second, QString());
        QCOMPARE(catalogueText(*db), before);
    }

    void aDatabaseErrorIsReportedAndTheDialogStaysOpen()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        setReadOnly(*db, true);
        MessageRecorder messages;
        FrmPuroductNameRegist dialog;
        const Result result = run(dialog, *db, [&] {
            commitText(dialog.Text1[0], QStringLiteral("新製品"));
            dialog.Command1[0]->click();
            QCOMPARE(messages.messages().size(), 1);
            QVERIFY(messages.texts().front().startsWith(QStringLiteral("データベースのエラーです。")));
            QVERIFY(dialog.isVisible());
            dialog.Command1[1]->click();
        });
        QCOMPARE(result.second, QString());
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 製品情報")).toInt(), 0);
    }
};

QTEST_MAIN(TestFrmPuroductNameRegist)
#include "tst_frmpuroductnameregist.moc"
