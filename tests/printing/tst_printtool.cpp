// corvane-print run as a user runs it: it refuses what it must not overwrite and never
// deletes or changes a file it refused or failed to print into.
#include "Catalogue.h"
#include "Database.h"
#include "Fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace corvane;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestPrintTool : public QObject {
    Q_OBJECT
private slots:
    // {data} is the Data folder, {work} a folder outside it; watched is a file that must keep
    // its bytes (and its kind) whatever the tool does.
    void run_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("watched");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QStringList print{QStringLiteral("--product"), QStringLiteral("-1"),     QStringLiteral("--kind"),
                                QStringLiteral("4"),         QStringLiteral("--data"), QStringLiteral("{data}")};
        const auto output = [&](const QString &path) { return print + QStringList{QStringLiteral("--output"), path}; };
        QTest::newRow("the database") << output(QStringLiteral("{data}/Data.mde")) << QStringLiteral("{data}/Data.mde")
                                      << 1 << QStringLiteral("Data フォルダの中");
        QTest::newRow("a report file") << output(QStringLiteral("{data}/SULABEL.PRP"))
                                       << QStringLiteral("{data}/SULABEL.PRP") << 1
                                       << QStringLiteral("Data フォルダの中");
        QTest::newRow("a new name in the Data folder")
            << output(QStringLiteral("{data}/new.pdf")) << QStringLiteral("{data}/new.pdf") << 1
            << QStringLiteral("Data フォルダの中");
        QTest::newRow("a link to the database")
            << output(QStringLiteral("{work}/link.pdf")) << QStringLiteral("{data}/Data.mde") << 1
            << QStringLiteral("Data フォルダの中");
        QTest::newRow("a folder") << output(QStringLiteral("{work}/folder")) << QStringLiteral("{work}/folder/inside")
                                  << 1 << QStringLiteral("通常のファイルではありません");
        QTest::newRow("a pipe") << output(QStringLiteral("{work}/pipe")) << QStringLiteral("{data}/Data.mde") << 1
                                << QStringLiteral("通常のファイルではありません");
        QTest::newRow("a failed print keeps the old file")
            << QStringList{QStringLiteral("--product"), QStringLiteral("999"),           QStringLiteral("--kind"),
                           QStringLiteral("1"),         QStringLiteral("--data"),        QStringLiteral("{data}"),
                           QStringLiteral("--output"),  QStringLiteral("{work}/old.pdf")}
            << QStringLiteral("{work}/old.pdf") << 1 << QStringLiteral("製品情報が登録されていません");
        QTest::newRow("a repeated option")
            << output(QStringLiteral("{work}/old.pdf")) + QStringList{QStringLiteral("--kind"), QStringLiteral("1")}
            << QStringLiteral("{work}/old.pdf") << 1 << QStringLiteral("--kind が2回以上");
        QTest::newRow("an extra argument")
            << output(QStringLiteral("{work}/old.pdf")) + QStringList{QStringLiteral("extra")}
            << QStringLiteral("{work}/old.pdf") << 1 << QStringLiteral("余分な引数");
        // Other names of the same files: compared as files, not as names.
        QTest::newRow("a hard link to the database")
            << output(QStringLiteral("{work}/hard.pdf")) << QStringLiteral("{data}/Data.mde") << 1
            << QStringLiteral("ファイルそのもの");
        QTest::newRow("the file a linked Data.mde points to")
            << output(QStringLiteral("{work}/elsewhere/real.mde")) << QStringLiteral("{work}/elsewhere/real.mde") << 1
            << QStringLiteral("Data フォルダの中");
        QTest::newRow("a new name beside the file a linked Data.mde points to")
            << output(QStringLiteral("{work}/elsewhere/new.pdf")) << QStringLiteral("{work}/elsewhere/new.pdf") << 1
            << QStringLiteral("Data フォルダの中");
        QTest::newRow("the program's own Data.mde while --data names another folder")
            << QStringList{QStringLiteral("{bin}")} + output(QStringLiteral("{bin}/Data/Data.mde"))
            << QStringLiteral("{bin}/Data/Data.mde") << 1 << QStringLiteral("Data フォルダの中");
        QTest::newRow("a file that is not a PDF")
            << output(QStringLiteral("{work}/notes.txt")) << QStringLiteral("{work}/notes.txt") << 1
            << QStringLiteral("PDF ではない");
        // Every program reads corvane.ini, which here names a server that is not there.
        QTest::newRow("the server corvane.ini names")
            << QStringList{QStringLiteral("{bin}")} + output(QStringLiteral("{work}/new.pdf"))
            << QStringLiteral("{work}/new.pdf") << 1 << QStringLiteral("サーバー");
        // Product 1 holds substance 1 and one the master lacks; product 2 only such ones.
        const auto product = [&](int id) {
            return QStringList{QStringLiteral("--product"), QString::number(id),        QStringLiteral("--kind"),
                               QStringLiteral("3"),         QStringLiteral("--single"), QStringLiteral("0"),
                               QStringLiteral("--data"),    QStringLiteral("{data}")};
        };
        QTest::newRow("a substance the master lacks")
            << product(1) + QStringList{QStringLiteral("--output"), QStringLiteral("{work}/new.pdf")}
            << QStringLiteral("{data}/Data.mde") << 4 << QStringLiteral("物質番号 99999 は物質マスタにない");
        QTest::newRow("only substances the master lacks")
            << product(2) + QStringList{QStringLiteral("--output"), QStringLiteral("{work}/old.pdf")}
            << QStringLiteral("{work}/old.pdf") << 4 << QStringLiteral("ラベルを印刷しません");
        // The list of all target substances prints whole but for the fields the master's longest
        // names and statements overflow (tests/printing/whole-master-cut.tsv): status 3, each named.
        QTest::newRow("printed") << output(QStringLiteral("{work}/new.pdf")) << QStringLiteral("{data}/Data.mde") << 3
                                 << QStringLiteral("次の文字が枠に収まりませんでした");
        QTest::newRow("printed over an earlier PDF")
            << output(QStringLiteral("{work}/old.pdf")) << QStringLiteral("{data}/Data.mde") << 3 << QString();
        // {product}: toluene and acetone, no supplier entered.
        const auto productAs = [](const char *kind) {
            return QStringList{QStringLiteral("--product"), QStringLiteral("{product}"),     QStringLiteral("--kind"),
                               QString::fromLatin1(kind),   QStringLiteral("--data"),        QStringLiteral("{data}"),
                               QStringLiteral("--output"),  QStringLiteral("{work}/new.pdf")};
        };
        QTest::newRow("printed without a substance that does not fit")
            << productAs("5") << QStringLiteral("{data}/Data.mde") << 3
            << QStringLiteral(
                   "（トルエン）: 危険有害性情報が最小の文字でもラベルに入らないため、印刷していません。12面の追加ラベルには入ります。");
        QTest::newRow("printed without a supplier")
            << productAs("1") << QStringLiteral("{data}/Data.mde") << 3 << QStringLiteral("供給者の欄が空です");
        QTest::newRow("no model label for several substances")
            << productAs("2") << QStringLiteral("{data}/Data.mde") << 1
            << QStringLiteral("モデルラベルは単一物質の製品だけに印刷できます。");
    }
    void run()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, watched);
        QFETCH(int, status);
        QFETCH(QString, message);
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        int product = 0;
        {
            const auto db = folder.open();
            QVERIFY(db);
            catalogue::addEntries(*db, **catalogue::registerProduct(*db, QStringLiteral("一部がない製品")), {1, 99999});
            catalogue::addEntries(*db, **catalogue::registerProduct(*db, QStringLiteral("全部がない製品")), {99998});
            std::vector<int> numbers;
            for (const SubstanceRecord &substance : catalogue::allSubstances(*db))
                if (substance.name == QStringLiteral("トルエン") || substance.name == QStringLiteral("アセトン"))
                    numbers.push_back(substance.id);
            QCOMPARE(numbers.size(), size_t(2));
            product = **catalogue::registerProduct(*db, QStringLiteral("トルエン製品"));
            catalogue::addEntries(*db, product, numbers);
            catalogue::writeProductRow(*db, product, {QStringLiteral("トルエン製品"), QString(), QString(), 0}, 2);
        }
        QTemporaryDir work;
        const auto place = [&](QString text) {
            return text.replace(QStringLiteral("{data}"), folder.dataFolder())
                .replace(QStringLiteral("{bin}"), work.path() + QStringLiteral("/bin"))
                .replace(QStringLiteral("{work}"), work.path())
                .replace(QStringLiteral("{product}"), QString::number(product));
        };
        QVERIFY(QDir(work.path()).mkdir(QStringLiteral("folder")));
        QFile inside(place(QStringLiteral("{work}/folder/inside")));
        QVERIFY(inside.open(QIODevice::WriteOnly));
        inside.close();
        QVERIFY(QFile::link(place(QStringLiteral("{data}/Data.mde")), place(QStringLiteral("{work}/link.pdf"))));
        QCOMPARE(mkfifo(QFile::encodeName(place(QStringLiteral("{work}/pipe"))).constData(), 0600), 0);
        QFile old(place(QStringLiteral("{work}/old.pdf")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("%PDF- the previous good labels");
        old.close();
        QFile notes(place(QStringLiteral("{work}/notes.txt")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("メモ");
        notes.close();
        QCOMPARE(::link(QFile::encodeName(place(QStringLiteral("{data}/Data.mde"))).constData(),
                        QFile::encodeName(place(QStringLiteral("{work}/hard.pdf"))).constData()),
                 0);
        // The same program copied into a folder of its own, with a Data folder and settings.
        QVERIFY(QDir().mkpath(place(QStringLiteral("{bin}/Data"))));
        QVERIFY(QFile::copy(QStringLiteral(CORVANE_PRINT), place(QStringLiteral("{bin}/corvane-print"))));
        QVERIFY(QFile::copy(folder.databasePath(), place(QStringLiteral("{bin}/Data/Data.mde"))));
        QFile settings(place(QStringLiteral("{bin}/corvane.ini")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[database]\r\nUri=postgresql://corvane@%2Fnonexistent%2Fsocket/corvane\r\n");
        settings.close();
        QString program = QStringLiteral(CORVANE_PRINT);
        if (arguments.value(0) == QLatin1String("{bin}"))
            program = place(arguments.takeFirst() + QStringLiteral("/corvane-print"));
        if (QTest::currentDataTag() == QLatin1String("the file a linked Data.mde points to")
            || QTest::currentDataTag() == QLatin1String("a new name beside the file a linked Data.mde points to")) {
            QVERIFY(QDir(work.path()).mkdir(QStringLiteral("elsewhere")));
            const QString real = place(QStringLiteral("{work}/elsewhere/real.mde"));
            QVERIFY(QFile::rename(folder.databasePath(), real));
            QVERIFY(QFile::link(real, folder.databasePath()));
        }
        for (QString &argument : arguments)
            argument = place(argument);
        watched = place(watched);
        const QByteArray before = fileBytes(watched);

        QProcess tool;
        tool.start(program, arguments);
        QVERIFY(tool.waitForFinished(60000));
        const QString errors = QString::fromUtf8(tool.readAllStandardError());
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QVERIFY2(tool.exitCode() == status, qPrintable(errors));
        QVERIFY2(errors.contains(message), qPrintable(errors));
        QCOMPARE(fileBytes(watched), before);
        const QFileInfo pipe(place(QStringLiteral("{work}/pipe")));
        QVERIFY(pipe.exists() && !pipe.isFile());
        QVERIFY(QFileInfo(place(QStringLiteral("{work}/folder"))).isDir());
        if (status == 0 || status == 3 || (status == 4 && !errors.contains(QStringLiteral("ラベルを印刷しません"))))
            QVERIFY(fileBytes(arguments.last()).startsWith("%PDF-1"));
    }

    // --list gives every product's ID and name, the IDs --product takes, read back line by line.
    void listsEveryProduct()
    {
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        QMap<int, QString> registered;
        {
            const auto db = folder.open();
            QVERIFY(db);
            for (const QString &name :
                 {QStringLiteral("ラッカーシンナー LT-200"), QStringLiteral("Ａ液　（試薬）"), QStringLiteral("b")})
                registered.insert(**catalogue::registerProduct(*db, name), name);
        }
        QProcess tool;
        tool.start(QStringLiteral(CORVANE_PRINT),
                   {QStringLiteral("--list"), QStringLiteral("--data"), folder.dataFolder()});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        QMap<int, QString> listed;
        for (const QString &line : QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList fields = line.split(u'\t');
            QCOMPARE(fields.size(), 2);
            listed.insert(fields[0].toInt(), fields[1]);
        }
        QCOMPARE(listed, registered);

        tool.start(QStringLiteral(CORVANE_PRINT),
                   {QStringLiteral("--list"), QStringLiteral("--output"), QStringLiteral("x.pdf"),
                    QStringLiteral("--data"), folder.dataFolder()});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1); // a list never prints, so an output given with it is a mistake
    }
};

QTEST_GUILESS_MAIN(TestPrintTool)
#include "tst_printtool.moc"
