#include "Catalogue.h"
#include "Database.h"
#include "DialogDriver.h"
#include "Fixture.h"
#include "MessageRecorder.h"
#include "ProductNameDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace corvane;

namespace {

using Registration = std::pair<int, QString>;

// The whole catalogue as "ID:name" entries, to show that a refused or cancelled name wrote nothing.
QString catalogueText(Database &db)
{
    return rowsOf(db, QStringLiteral("SELECT ID || ':' || 製品名 FROM 製品情報 ORDER BY ID")).join(QLatin1Char('|'));
}

void retype(ProductNameDialog &dialog, const QString &name)
{
    dialog.nameEdit->clear();
    commitText(dialog.nameEdit, name);
}

// Opens the dialog, runs steps in it and gives what ask returned; the caller's name
// variable holds a stale value beforehand.
template <class Steps>
Registration run(ProductNameDialog &dialog, Database &db, Steps steps,
                 const std::optional<QString> &oldName = std::nullopt)
{
    onNextModal(dialog, steps);
    QString name = QStringLiteral("前の値");
    const int id = dialog.ask(db, name, oldName);
    return {id, name};
}

Registration typeAndEnter(ProductNameDialog &dialog, Database &db, const QString &name)
{
    return run(dialog, db, [&] {
        retype(dialog, name);
        QTest::keyClick(dialog.nameEdit, Qt::Key_Return);
    });
}

} // namespace

class TestProductNameDialog : public QObject {
    Q_OBJECT

private slots:
    // Names that read the same after Unicode NFKC normalisation and case folding are one
    // name, for a new product, a rename and a copy; the name is kept as typed.
    void lookAlikeNamesAreOneName_data()
    {
        QTest::addColumn<QString>("registered");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("taken");
        QTest::newRow("full-width letters and dash") << "洗浄剤ＸＹ－１００"
                                                     << "洗浄剤XY-100" << true;
        QTest::newRow("half-width katakana") << "センジョウザイ"
                                             << "ｾﾝｼﾞｮｳｻﾞｲ" << true;
        QTest::newRow("case of Latin letters") << "Cleaner A"
                                               << "cLEANER a" << true;
        QTest::newRow("case of full-width letters") << "ＡＢＣ液"
                                                    << "ａｂｃ液" << true;
        QTest::newRow("compatibility characters") << "㈱化学 Ⅱ号"
                                                  << "(株)化学 II号" << true;
        QTest::newRow("another name") << "洗浄剤ＸＹ－１００"
                                      << "洗浄剤XY-200" << false;
    }
    void lookAlikeNamesAreOneName()
    {
        QFETCH(QString, registered);
        QFETCH(QString, typed);
        QFETCH(bool, taken);
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        auto db = folder.open();
        QVERIFY(db);
        MessageRecorder messages;
        ProductNameDialog dialog;
        QCOMPARE(typeAndEnter(dialog, *db, registered).second, registered);
        const QString before = catalogueText(*db);
        const QString refusal =
            QStringLiteral("製品名：%1 は既に登録されています。\n登録済みの製品名：%2").arg(typed, registered);

        // A new product.
        const Registration added = run(dialog, *db, [&] {
            retype(dialog, typed);
            dialog.okButton->click();
            if (dialog.isVisible())
                dialog.cancelButton->click();
        });
        QCOMPARE(added.second, taken ? QString() : typed);
        QCOMPARE(messages.texts(), taken ? QStringList{refusal} : QStringList());
        if (!taken)
            return;
        QCOMPARE(catalogueText(*db), before);
        QCOMPARE(catalogue::productIdByName(*db, typed), 1);

        // A rename of another product to the look-alike.
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("別の製品")).first, 2);
        const Registration renamed = run(
            dialog, *db,
            [&] {
                retype(dialog, typed);
                dialog.okButton->click();
                if (dialog.isVisible())
                    dialog.cancelButton->click();
            },
            QStringLiteral("別の製品"));
        QCOMPARE(renamed.second, QString());
        QCOMPARE(messages.texts().size(), 2);

        // A copy's name passes over the look-alike of the first free one.
        execOrFail(*db, QStringLiteral("INSERT INTO 製品情報 (ID, 製品名) VALUES (3, ?)")
                            .replace(u'?', u'\'' + registered + QStringLiteral("（コピー）'")));
        QCOMPARE(catalogue::freeCopyName(*db, typed), typed + QStringLiteral("（コピー2）"));
    }

    // A catalogue that holds look-alike names from before finds each by its own spelling.
    void storedLookAlikesKeepWorking()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        auto db = folder.open();
        QVERIFY(db);
        execOrFail(*db, QStringLiteral(
                            "INSERT INTO 製品情報 (ID, 製品名) VALUES (1, '洗浄剤ＸＹ－１００'), (2, '洗浄剤XY-100')"));
        QCOMPARE(catalogue::productIdByName(*db, QStringLiteral("洗浄剤ＸＹ－１００")), 1);
        QCOMPARE(catalogue::productIdByName(*db, QStringLiteral("洗浄剤XY-100")), 2);
        QCOMPARE(catalogue::productIdByName(*db, QStringLiteral("洗浄剤xy-100")), 2);
        QCOMPARE(catalogue::productIdByName(*db, QStringLiteral("洗浄剤ｘｙ－１００")), 1);
    }

    void newIdIsTheHighestPlusOne()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        auto db = folder.open();
        QVERIFY(db);
        MessageRecorder messages;
        ProductNameDialog dialog;
        const Registration first = run(dialog, *db, [&] {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("製品名登録"));
            QCOMPARE(dialog.nameEdit->text(), QString());
            QCOMPARE(QApplication::focusWidget(), dialog.nameEdit);
            commitText(dialog.nameEdit, QStringLiteral("最初の製品"));
            dialog.okButton->click();
        });
        QCOMPARE(first, Registration(1, QStringLiteral("最初の製品")));

        execOrFail(*db, QStringLiteral("INSERT INTO 製品情報 (ID, 製品名) VALUES (2, '二'), (7, '七')"));
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("八")), Registration(8, QStringLiteral("八")));
        // The highest ID, once deleted, is given again.
        execOrFail(*db, QStringLiteral("DELETE FROM 製品情報 WHERE ID = 8"));
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("また八")), Registration(8, QStringLiteral("また八")));
        // A name of blanks and names with quotation marks are taken as typed.
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("   ")), Registration(9, QStringLiteral("   ")));
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("Say \"hi\" 'there'")),
                 Registration(10, QStringLiteral("Say \"hi\" 'there'")));
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
        ProductNameDialog dialog;
        const Registration result = run(dialog, *db, [&] {
            dialog.okButton->click();
            retype(dialog, QStringLiteral("ACETONE"));
            dialog.okButton->click();
            retype(dialog, QStringLiteral("Say \"hi\""));
            QTest::keyClick(dialog.nameEdit, Qt::Key_Return);
            QCOMPARE(messages.texts(), (QStringList{QStringLiteral("製品名を入力してください。"),
                                                    QStringLiteral("製品名：ACETONE は既に登録されています。\n"
                                                                   "登録済みの製品名：Acetone"),
                                                    QStringLiteral("製品名：Say \"hi\" は既に登録されています。")}));
            for (const MessageRecord &message : messages.messages())
                QVERIFY(message.icon == MsgIcon::Exclamation && message.buttons == MsgButtons::Ok);
            QCOMPARE(dialog.nameEdit->text(), QStringLiteral("Say \"hi\"")); // kept for correcting
            dialog.cancelButton->click();
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
        ProductNameDialog dialog;
        const Registration renamed = run(
            dialog, *db,
            [&] {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("製品名変更"));
                QCOMPARE(dialog.nameEdit->text(), QStringLiteral("旧名"));
                QCOMPARE(QApplication::focusWidget(), dialog.nameEdit);
                dialog.okButton->click();
                retype(dialog, QStringLiteral("他の製品"));
                dialog.okButton->click();
                QCOMPARE(messages.texts(), (QStringList{QStringLiteral("製品名を変更してください。"),
                                                        QStringLiteral("製品名：他の製品 は既に登録されています。")}));
                retype(dialog, QStringLiteral("新名"));
                dialog.okButton->click();
            },
            QStringLiteral("旧名"));
        QCOMPARE(renamed.second, QStringLiteral("新名"));
        QCOMPARE(catalogueText(*db), before);

        // Without an old name the next opening is new mode again.
        run(dialog, *db, [&] {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("製品名登録"));
            QCOMPARE(dialog.nameEdit->text(), QString());
            dialog.cancelButton->click();
        });
    }

    void nameBoxTakesAtMostFiftyCharacters()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        ProductNameDialog dialog;
        const QString fifty = QString(49, QChar(u'製')) + QLatin1Char('x');
        const Registration result = run(dialog, *db, [&] {
            commitText(dialog.nameEdit, fifty + QStringLiteral("品"));
            QTest::keyClicks(dialog.nameEdit, QStringLiteral("yz"));
            QCOMPARE(dialog.nameEdit->text(), fifty);
            dialog.okButton->click();
        });
        QCOMPARE(result, Registration(1, fifty));
    }

    void everyOtherWayOutGivesAnEmptyNameAfterAnEarlierSuccess()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        ProductNameDialog dialog;
        QCOMPARE(typeAndEnter(dialog, *db, QStringLiteral("登録済み")), Registration(1, QStringLiteral("登録済み")));
        const QString before = catalogueText(*db);

        const auto escape = [&] {
            retype(dialog, QStringLiteral("未登録"));
            QTest::keyClick(dialog.nameEdit, Qt::Key_Escape);
        };
        QCOMPARE(run(dialog, *db, escape).second, QString());
        QCOMPARE(run(dialog, *db, escape, QStringLiteral("登録済み")).second, QString());
        const Registration closed = run(dialog, *db, [&] {
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
        ProductNameDialog dialog;
        const Registration result = run(dialog, *db, [&] {
            commitText(dialog.nameEdit, QStringLiteral("新製品"));
            dialog.okButton->click();
            QCOMPARE(messages.messages().size(), 1);
            QVERIFY(messages.texts().front().startsWith(QStringLiteral("データベースのエラーです。")));
            QVERIFY(dialog.isVisible());
            dialog.cancelButton->click();
        });
        QCOMPARE(result.second, QString());
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 製品情報")).toInt(), 0);
    }
};

QTEST_MAIN(TestProductNameDialog)
#include "tst_productnamedialog.moc"
