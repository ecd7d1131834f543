#include "Catalogue.h"
#include "CompanyForm.h"
#include "Database.h"
#include "DialogDriver.h"
#include "Fixture.h"
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

class TestCompanyForm : public QObject {
    Q_OBJECT

    CompanyForm form;

    template <class Steps>
    void run(Database &db, Steps steps)
    {
        onNextModal(form, steps);
        form.edit(db);
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
            QVERIFY(form.headingLabel->font().pointSizeF() > form.companyNameLabel->font().pointSizeF());
            QCOMPARE(stored(*db), QStringLiteral("1:1|<null>|<null>|<null>"));
            for (QLineEdit *box : {form.companyNameEdit, form.addressEdit, form.phoneEdit})
                QCOMPARE(box->text(), QString());
            form.backButton->click();
        });
        QCOMPARE(stored(*db), QStringLiteral("1:1|<null>|<null>|<null>"));

        // A box emptied by the user stores Null again, not an empty text.
        execOrFail(*db, QStringLiteral("UPDATE 会社情報 SET 会社 = '株式会社 例', 住所 = '東京都', TEL = '03'"));
        run(*db, [&] {
            QCOMPARE(form.companyNameEdit->text(), QStringLiteral("株式会社 例"));
            form.addressEdit->clear();
            form.backButton->click();
        });
        QCOMPARE(stored(*db), QStringLiteral("1:1|株式会社 例|<null>|03"));
    }

    void everyWayOfClosingSaves()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        run(*db, [&] {
            retype(form.companyNameEdit, QStringLiteral("有限会社 戻る"));
            retype(form.addressEdit, QStringLiteral("大阪府"));
            retype(form.phoneEdit, QStringLiteral("TEL 06-0000-0000, FAX 06-0000-0001"));
            form.backButton->click();
        });
        QCOMPARE(stored(*db), QStringLiteral("1:1|有限会社 戻る|大阪府|TEL 06-0000-0000, FAX 06-0000-0001"));
        run(*db, [&] {
            retype(form.companyNameEdit, QStringLiteral("閉じるボタン"));
            form.close();
        });
        run(*db, [&] {
            // Escape cancels an input-method conversion, never the form.
            retype(form.addressEdit, QStringLiteral("エスケープ"));
            QTest::keyClick(form.addressEdit, Qt::Key_Escape);
            QVERIFY(form.isVisible());
            form.backButton->click();
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
                retype(form.companyNameEdit, QStringLiteral("この画面"));
                QString error;
                auto other = openAnother(*db, &error);
                QVERIFY2(other, qPrintable(error));
                QVERIFY(catalogue::writeCompany(*other, {QStringLiteral("ほかの画面"), {}, {}},
                                                catalogue::company(*other)->revision));
                form.backButton->click();
            });
            QCOMPARE(messages.messages().size(), 1);
            QCOMPARE(catalogue::company(*db)->company,
                     answer == MsgResult::Ok ? QStringLiteral("ほかの画面") : QStringLiteral("この画面"));
        }
    }

    void cancelInputAsksBeforeItDiscardsTypedText_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("answer");    // MsgResult to the question, when one is asked
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
        execOrFail(*db,
                   QStringLiteral("INSERT INTO 会社情報 (id, 会社, 住所, TEL) VALUES (1, '保存済み', NULL, 'TEL 1')"));
        MessageRecorder messages;
        messages.answerNext(MsgResult(answer));
        run(*db, [&] {
            if (typed) {
                retype(form.companyNameEdit, QStringLiteral("打ちかけ"));
                form.phoneEdit->clear();
            }
            form.undoButton->click();
            QCOMPARE(messages.texts().size(), typed ? 1 : 0);
            QCOMPARE(form.companyNameEdit->text(), shown);
            QCOMPARE(form.phoneEdit->text(), shown == u"保存済み" ? QStringLiteral("TEL 1") : QString());
            QVERIFY(form.isVisible());
            form.undoButton->setFocus();
            QTest::keyClick(form.backButton, Qt::Key_Escape); // does not close the form
            form.backButton->click();
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
            for (QLineEdit *box : {form.companyNameEdit, form.addressEdit, form.phoneEdit}) {
                commitText(box, full + QStringLiteral("所"));
                QTest::keyClick(box, Qt::Key_Y);
                QCOMPARE(box->text(), full);
            }
            form.backButton->click();
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
            QSignalSpy cancelInput(form.undoButton, &QPushButton::clicked);
            QCOMPARE(QApplication::focusWidget(), form.companyNameEdit);
            commitText(form.companyNameEdit, QStringLiteral("会社\a\x1b名\u2028本社"));
            QCOMPARE(form.companyNameEdit->text(), QStringLiteral("会社名 本社"));
            QTest::keyClick(form.companyNameEdit, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), form.addressEdit);
            QTest::keyClick(form.addressEdit, Qt::Key_Enter, Qt::KeypadModifier);
            QCOMPARE(QApplication::focusWidget(), form.phoneEdit);
            commitText(form.phoneEdit, QStringLiteral("TEL 03"));
            QTest::keyClick(form.phoneEdit, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), form.backButton);
            QTest::keyClick(form.backButton, Qt::Key_Return);
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
        execOrFail(
            *db, QStringLiteral("INSERT INTO 会社情報 (id, 会社, 住所, TEL) VALUES (1, '元の会社', '元の住所', NULL)"));
        setReadOnly(*db, true);
        MessageRecorder messages;
        // A failed save is reported and the form closes all the same.
        run(*db, [&] {
            QCOMPARE(form.companyNameEdit->text(), QStringLiteral("元の会社"));
            retype(form.companyNameEdit, QStringLiteral("書けない"));
            form.backButton->click();
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
        CompanyForm fresh;
        onNextModal(fresh, [] { QFAIL("the form opened without the record"); });
        fresh.edit(*db);
        QCOMPARE(messages.messages().size(), 1);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT 会社 || '|' || 所在地 FROM 会社情報")).toString(),
                 QStringLiteral("元の会社|元の住所"));
    }
};

QTEST_MAIN(TestCompanyForm)
#include "tst_companyform.moc"
