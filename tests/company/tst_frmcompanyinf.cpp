#include "Catalogue.h"
#include "Database.h"
#include "DialogDriver.h"
#include "Fixture.h"
#include "FrmCompanyInf.h"
#include "MessageRecorder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace corvane;

namespace {

// The stored rows as "count:id|会社|住所|TEL", Null shown as <null>.
QString stored(Database &db)
{
    const QStringList rows = rowsOf(db, QStringLiteral("SELECT id, 会社, 住所, TEL FROM 会社情報 ORDER BY rowid"));
    return QString::number(rows.size()) + QLatin1Char(':') + rows.join(QLatin1Char(','));
}

void retype(QLineEdit *box, const QString &text)
{
    box->clear();
    commitText(box, text);
}

} // namespace

class TestFrmCompanyInf : public QObject {
    Q_OBJECT

    FrmCompanyInf form;

    template <class Steps>
    void run(Database &db, Steps steps)
    {
        onNextModal(form, steps);
        form.Start(db);
    }

private slots:
    void emptyTableGetsRecordOneAndEmptyBoxesStoreNull()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        auto db = folder.open();
        QVERIFY(db);
        run(*db, [&] {
            QCOMPARE(form.windowTitle(), QStringLiteral("会社情報入力"));
            QVERIFY(form.Label1[0]->font().pointSizeF() > form.Label1[1]->font().pointSizeF());
            QCOMPARE(stored(*db), QStringLiteral("1:1|<null>|<null>|<null>"));
            for (int i = 0; i < 3; ++i)
                QCOMPARE(form.Text1[i]->text(), QString());
            form.Command1[0]->click();
        });
        QCOMPARE(stored(*db), QStringLiteral("1:1|<null>|<null>|<null>"));

        // A box emptied by the user stores Null again, not an empty text.
        execOrFail(*db, QStringLiteral("UPDATE 会社情報 SET 会社 = '株式会社 例', 住所 = '東京都', TEL = '03'"));
        run(*db, [&] {
            QCOMPARE(form.Text1[0]->text(), QStringLiteral("株式会社 例"));
            form.Text1[1]->clear();
            form.Command1[0]->click();
        });
        QCOMPARE(stored(*db), QStringLiteral("1:1|株式会社 例|<null>|03"));
    }

    void everyWayOfClosingSaves()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        run(*db, [&] {
            retype(form.Text1[0], QStringLiteral("有限会社 戻る"));
            retype(form.Text1[1], QStringLiteral("大阪府"));
            retype(form.Text1[2], QStringLiteral("TEL 06-0000-0000, FAX 06-0000-0001"));
            form.Command1[0]->click();
        });
        QCOMPARE(stored(*db), QStringLiteral("1:1|有限会社 戻る|大阪府|TEL 06-0000-0000, FAX 06-0000-0001"));
        run(*db, [&] {
            retype(form.Text1[0], QStringLiteral("閉じるボタン"));
            form.close();
        });
        run(*db, [&] {
            // Escape cancels an input-method conversion, never the form.
            retype(form.Text1[1], QStringLiteral("エスケープ"));
            QTest::keyClick(form.Text1[1], Qt::Key_Escape);
            QVERIFY(form.isVisible());
            form.Command1[0]->click();
        });
        QCOMPARE(stored(*db), QStringLiteral("1:1|閉じるボタン|エスケープ|TEL 06-0000-0000, FAX 06-0000-0001"));
    }

    void aRecordSavedByAnotherProgramIsNotOverwrittenUnasked()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        for (const MsgResult answer : {MsgResult::Ok, MsgResult::Cancel}) {
            MessageRecorder messages;
            messages.answerNext(answer);
            run(*db, [&] {
                retype(form.Text1[0], QStringLiteral("この画面"));
                QString error;
                auto other = openAnother(*db, &error);
                QVERIFY2(other, qPrintable(error));
                QVERIFY(catalogue::writeCompany(*other, {QStringLiteral("ほかの画面"), {}, {}}, catalogue::company(*other)->revision));
                form.Command1[0]->click();
            });
            QCOMPARE(messages.messages().size(), 1);
            QCOMPARE(catalogue::company(*db)->company,
                     answer == MsgResult::Ok ? QStringLiteral("ほかの画面") : QStringLiteral("この画面"));
        }
    }

    void cancelInputAsksBeforeItDiscardsTypedText_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("answer"); // MsgResult to the question, when one is asked
        QTest::addColumn<QString>("shown"); // the first box afterwards
        QTest::newRow("nothing typed: no question") << false << int(MsgResult::Ok) << "保存済み";
        QTest::newRow("typed, the user agrees") << true << int(MsgResult::Ok) << "保存済み";
        QTest::newRow("typed, the user keeps it") << true << int(MsgResult::Cancel) << "打ちかけ";
    }
    void cancelInputAsksBeforeItDiscardsTypedText()
    {
        QFETCH(bool, typed);
        QFETCH(int, answer);
        QFETCH(QString, shown);
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        execOrFail(*db, QStringLiteral("INSERT INTO 会社情報 (id, 会社, 住所, TEL) VALUES (1, '保存済み', NULL, 'TEL 1')"));
        MessageRecorder messages;
        messages.answerNext(MsgResult(answer));
        run(*db, [&] {
            if (typed) {
                retype(form.Text1[0], QStringLiteral("打ちかけ"));
                form.Text1[2]->clear();
            }
            form.Command1[1]->click();
            QCOMPARE(messages.texts().size(), typed ? 1 : 0);
            QCOMPARE(form.Text1[0]->text(), shown);
            QCOMPARE(form.Text1[2]->text(), shown == u"保存済み" ? QStringLiteral("TEL 1") : QString());
            QVERIFY(form.isVisible());
            form.Command1[1]->setFocus();
            QTest::keyClick(form.Command1[0], Qt::Key_Escape); // does not close the form
            form.Command1[0]->click();
        });
        QCOMPARE(stored(*db), shown == u"保存済み" ? QStringLiteral("1:1|保存済み|<null>|TEL 1")
                                                   : QStringLiteral("1:1|打ちかけ|<null>|<null>"));
    }

    void boxesTakeAtMostTwoHundredCharacters()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        const QString full = QString(199, QChar(u'住')) + QLatin1Char('x');
        run(*db, [&] {
            for (int i = 0; i < 3; ++i) {
                commitText(form.Text1[i], full + QStringLiteral("所"));
                QTest::keyClick(form.Text1[i], Qt::Key_Y);
                QCOMPARE(form.Text1[i]->text(), full);
            }
            form.Command1[0]->click();
        });
        QCOMPARE(stored(*db), QStringLiteral("1:1|%1|%1|%1").arg(full));
    }

    // Enter moves from box to box and then to "戻る", which saves: it never reaches
    // "入力取り消し", which used to wipe the three boxes on the next Enter. Control characters
    // typed or pasted are removed as they come in.
    void enterRunsThroughTheBoxesToTheButtonThatSaves()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        MessageRecorder messages;
        run(*db, [&] {
            QSignalSpy cancelInput(form.Command1[1], &QPushButton::clicked);
            QCOMPARE(QApplication::focusWidget(), form.Text1[0]);
            commitText(form.Text1[0], QStringLiteral("会社\a\x1b名\u2028本社"));
            QCOMPARE(form.Text1[0]->text(), QStringLiteral("会社名 本社"));
            QTest::keyClick(form.Text1[0], Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), form.Text1[1]);
            QTest::keyClick(form.Text1[1], Qt::Key_Enter, Qt::KeypadModifier);
            QCOMPARE(QApplication::focusWidget(), form.Text1[2]);
            commitText(form.Text1[2], QStringLiteral("TEL 03"));
            QTest::keyClick(form.Text1[2], Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), form.Command1[0]);
            QTest::keyClick(form.Command1[0], Qt::Key_Return);
            QVERIFY(cancelInput.isEmpty());
            QVERIFY(!form.isVisible());
        });
        QCOMPARE(stored(*db), QStringLiteral("1:1|会社名 本社|<null>|TEL 03"));
        QVERIFY(messages.texts().isEmpty());
    }

    void databaseErrorsAreReportedAndNeverBlankTheRecord()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        execOrFail(*db, QStringLiteral("INSERT INTO 会社情報 (id, 会社, 住所, TEL) VALUES (1, '元の会社', '元の住所', NULL)"));
        setReadOnly(*db, true);
        MessageRecorder messages;
        // A failed save is reported and the form closes all the same.
        run(*db, [&] {
            QCOMPARE(form.Text1[0]->text(), QStringLiteral("元の会社"));
            retype(form.Text1[0], QStringLiteral("書けない"));
            form.Command1[0]->click();
        });
        QVERIFY(!form.isVisible());
        QCOMPARE(messages.messages().size(), 1);
        QVERIFY(messages.texts().front().startsWith(QStringLiteral("データベースのエラーです。")));
        setReadOnly(*db, false);
        QCOMPARE(stored(*db), QStringLiteral("1:1|元の会社|元の住所|<null>"));

        // A record that cannot be read is reported and the form does not open, so closing
        // it cannot store empty boxes over the record.
        execOrFail(*db, QStringLiteral("ALTER TABLE 会社情報 RENAME COLUMN 住所 TO 所在地"));
        messages.clear();
        FrmCompanyInf fresh;
        onNextModal(fresh, [] { QFAIL("the form opened without the record"); });
        fresh.Start(*db);
        QCOMPARE(messages.messages().size(), 1);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT 会社 || '|' || 所在地 FROM 会社情報")).toString(),
                 QStringLiteral("元の会社|元の住所"));
    }
};

QTEST_MAIN(TestFrmCompanyInf)
#include "tst_frmcompanyinf.moc"
