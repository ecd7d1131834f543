// Awkward input everywhere a user can type: quotation marks, backslashes, wildcards, emoji,
// control characters, names at and over the 50-character limit, notes of 100 KB. Each is
// stored and shown exactly as typed, or refused cleanly; no crash, no other product's data.
#include "Catalogue.h"
#include "Database.h"
#include "Fixture.h"
#include "ListView.h"
#include "MessageRecorder.h"
#include "PrintLabels.h"
#include "ProductEditor.h"
#include "ProductNameDialog.h"
#include "ProductSelectDialog.h"
#include "Program.h"
#include "ReportEngine.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace corvane;

namespace {

// Opens dialog through ask and types name into its box, then ＯＫ.
int registerThroughDialog(ProductNameDialog &dialog, Database &db, const QString &typed, QString &accepted)
{
    QTimer::singleShot(0, &dialog, [&] {
        dialog.nameEdit->setText(typed);
        dialog.okButton->click();
        if (dialog.isVisible())
            dialog.cancelButton->click();
    });
    return dialog.ask(db, accepted);
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void namesAreStoredFoundAndListedExactlyAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name"); // as stored, found and listed
        for (const auto &[tag, typed, name] : std::initializer_list<std::tuple<const char *, QString, QString>>{
                 {"double quotes", QStringLiteral("塗料 \"特級\""), QStringLiteral("塗料 \"特級\"")},
                 {"single quotes", QStringLiteral("O'Brien's 'A'"), QStringLiteral("O'Brien's 'A'")},
                 {"backslash", QStringLiteral("C:\\製品\\"), QStringLiteral("C:\\製品\\")},
                 {"wildcards", QStringLiteral("100%_純度"), QStringLiteral("100%_純度")},
                 {"emoji", QStringLiteral("製品😀🧪"), QStringLiteral("製品😀🧪")},
                 // A tab is a space in a one-line box; other control characters go as they come in.
                 {"control characters",
                  QStringLiteral("a\tb\x01"
                                 "c"),
                  QStringLiteral("a bc")},
                 {"SQL", QStringLiteral("x'); DROP TABLE 製品情報; --"),
                  QStringLiteral("x'); DROP TABLE 製品情報; --")},
                 {"exactly 50", QString(50, QChar(0x6F22)), QString(50, QChar(0x6F22))}})
            QTest::newRow(tag) << typed << name;
    }
    void namesAreStoredFoundAndListedExactlyAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        ProgramFolder folder;
        auto db = folder.open();
        QVERIFY(db);
        const int other = **catalogue::registerProduct(*db, QStringLiteral("ほかの製品"));
        QVERIFY(
            catalogue::saveProduct(*db, other, {1, 2}, {QStringLiteral("ほかの製品"), QStringLiteral("他"), {}, 0}));
        MessageRecorder messages;

        ProductNameDialog dialog;
        QString accepted;
        const int id = registerThroughDialog(dialog, *db, typed, accepted);
        QVERIFY2(messages.messages().isEmpty(), qPrintable(messages.texts().join('/')));
        QCOMPARE(accepted, name);
        QCOMPARE(catalogue::productById(*db, id)->nameText(), name);
        QCOMPARE(catalogue::productIdByName(*db, name), id);

        // Typed twice: refused with the name in the message.
        registerThroughDialog(dialog, *db, typed, accepted);
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("製品名：") + name + QStringLiteral(" は既に登録されています。")});

        // The list shows it as stored and hands it back.
        ProductSelectDialog select;
        QString chosen;
        QTimer::singleShot(0, &select, [&] {
            ListModel &items = select.productList->items();
            for (int i = 0; i < items.count(); ++i)
                if (items.item(i).subItem == name)
                    select.productList->setSelectedItem(i);
            select.okButton->click();
        });
        QCOMPARE(select.choose(*db, chosen), id);
        QCOMPARE(chosen, name);

        // The other product is untouched.
        QCOMPARE(catalogue::productById(*db, other)->notesText(), QStringLiteral("他"));
        QCOMPARE(catalogue::entries(*db, other).size(), size_t(1));
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 製品情報")).toInt(), 2);
    }

    void the51stCharacterCannotBeTyped()
    {
        ProgramFolder folder;
        auto db = folder.open();
        ProductNameDialog dialog;
        QString accepted;
        registerThroughDialog(dialog, *db, QString(51, QLatin1Char('x')), accepted);
        QCOMPARE(accepted, QString(50, QLatin1Char('x')));
    }

    void hugeNotesAreKeptAndPrinted()
    {
        ProgramFolder folder;
        auto db = folder.open();
        QString notes;
        while (notes.size() < 100 * 1024)
            notes += QStringLiteral("換気の良い場所で取り扱うこと。\"引用\" 'x' \\ 100% 😀\r\n");
        const int id = **catalogue::registerProduct(*db, QStringLiteral("長い注意"));
        QVERIFY(catalogue::saveProduct(*db, id, {1, 2, 3, 4, 5, 6, 7}, {QStringLiteral("長い注意"), notes, notes, 0}));

        ProductEditor editor({});
        QTimer::singleShot(0, &editor, [&] {
            QCOMPARE(editor.text(editor.notesBox), notes);
            QCOMPARE(editor.text(editor.ingredientsBox), notes);
            editor.backButton->click();
        });
        editor.edit(*db, QStringLiteral("長い注意"));
        QCOMPARE(catalogue::productById(*db, id)->notesText(), notes);

        for (const bool single : {false, true}) {
            MessageRecorder messages;
            ReportEngine engine;
            engine.setBaseFolder(folder.path());
            const QString pdf = QDir(folder.path()).filePath(QStringLiteral("notes%1.pdf").arg(single ? 1 : 0));
            engine.setPdfOutput(pdf);
            QVERIFY(PrintLabels(*db, id, LabelKind::Normal, single, engine).outcome.ok());
            QVERIFY(messages.messages().isEmpty());
            QVERIFY(QFileInfo(pdf).size() > 0);
        }
    }

    void aNameTheSettingsFileCannotHoldComesBackEmpty()
    {
        ProgramFolder folder;
        {
            auto db = folder.open();
            QVERIFY(catalogue::registerProduct(*db, QStringLiteral("製品😀")));
        }
        {
            Program program([](QWidget *, Database &, int, LabelKind, bool) {});
            QVERIFY(program.menu().open());
            program.menu().productNameEdit->setText(QStringLiteral("製品😀"));
            program.menu().checkProductName();
            program.menu().close();
        }
        MessageRecorder messages;
        Program program([](QWidget *, Database &, int, LabelKind, bool) {});
        QVERIFY(program.menu().open());
        QCOMPARE(program.menu().productNameEdit->text(), QString());
        QVERIFY(messages.messages().isEmpty());
    }
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
