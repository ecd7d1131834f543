#include "DataLocation.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;

Q_DECLARE_METATYPE(DataFacts)
Q_DECLARE_METATYPE(DataLocation)

class TestDataLocation : public QObject {
    Q_OBJECT

    static DataFacts facts(const QString &folder, bool dataBeside, bool share, const QString &dataOption = {},
                           const QString &xdgData = {}, const QString &xdgConfig = {})
    {
        return {folder, dataOption, dataBeside, share, QStringLiteral("/home/u"), xdgData, xdgConfig};
    }
    static DataLocation build(const QString &data, const QString &ini)
    {
        return {DataLocation::Mode::BuildFolder, data, data + QStringLiteral("/Data.mde"), data, QString(), ini};
    }
    static DataLocation installed(const QString &data, const QString &share, const QString &templ, const QString &ini)
    {
        return {DataLocation::Mode::Installed, data, data + QStringLiteral("/Data.mde"), share, templ, ini};
    }

private slots:
    void decide_data()
    {
        QTest::addColumn<DataFacts>("facts");
        QTest::addColumn<DataLocation>("expected");
        const QString usr = QStringLiteral("/usr/share/corvane");
        const QString userData = QStringLiteral("/home/u/.local/share/corvane/Data");
        const QString userIni = QStringLiteral("/home/u/.config/corvane/corvane.ini");

        QTest::newRow("build folder") << facts(QStringLiteral("/src/build/bin"), true, false)
                                      << build(QStringLiteral("/src/build/bin/Data"),
                                               QStringLiteral("/src/build/bin/corvane.ini"));
        QTest::newRow("build folder, --data")
            << facts(QStringLiteral("/src/build/bin"), true, false, QStringLiteral("/tmp/d/"))
            << build(QStringLiteral("/tmp/d"), QStringLiteral("/src/build/bin/corvane.ini"));
        QTest::newRow("Data folder beside wins over a share folder")
            << facts(QStringLiteral("/opt/c/bin"), true, true)
            << build(QStringLiteral("/opt/c/bin/Data"), QStringLiteral("/opt/c/bin/corvane.ini"));
        QTest::newRow("neither: the build folder's paths, reported as missing")
            << facts(QStringLiteral("/tmp/x"), false, false)
            << build(QStringLiteral("/tmp/x/Data"), QStringLiteral("/tmp/x/corvane.ini"));
        QTest::newRow("installed, XDG unset")
            << facts(QStringLiteral("/usr/bin"), false, true)
            << installed(userData, usr, usr + QStringLiteral("/template/Data.mde"), userIni);
        QTest::newRow("installed, XDG set")
            << facts(QStringLiteral("/usr/bin"), false, true, {}, QStringLiteral("/xd"), QStringLiteral("/xc/"))
            << installed(QStringLiteral("/xd/corvane/Data"), usr, usr + QStringLiteral("/template/Data.mde"),
                         QStringLiteral("/xc/corvane/corvane.ini"));
        QTest::newRow("installed, relative XDG ignored")
            << facts(QStringLiteral("/usr/bin"), false, true, {}, QStringLiteral("xd"), QStringLiteral("xc"))
            << installed(userData, usr, usr + QStringLiteral("/template/Data.mde"), userIni);
        QTest::newRow("installed, --data: no template, share folder serves the reports")
            << facts(QStringLiteral("/usr/bin"), false, true, QStringLiteral("/mnt/Data"))
            << installed(QStringLiteral("/mnt/Data"), usr, QString(), userIni);
        QTest::newRow("unpacked anywhere: prefix from the executable's folder")
            << facts(QStringLiteral("/tmp/root/usr/bin"), false, true)
            << installed(userData, QStringLiteral("/tmp/root/usr/share/corvane"),
                         QStringLiteral("/tmp/root/usr/share/corvane/template/Data.mde"), userIni);
    }

    void decide()
    {
        QFETCH(DataFacts, facts);
        QFETCH(DataLocation, expected);
        const DataLocation actual = decideDataLocation(facts);
        QCOMPARE(actual.mode, expected.mode);
        QCOMPARE(actual.dataFolder, expected.dataFolder);
        QCOMPARE(actual.database, expected.database);
        QCOMPARE(actual.resourceFolder, expected.resourceFolder);
        QCOMPARE(actual.templateFile, expected.templateFile);
        QCOMPARE(actual.settingsFile, expected.settingsFile);
    }

    // The first start copies the template; later starts leave the user's file as it is.
    void templateCopiedOnceNeverOverwritten()
    {
        QTemporaryDir dir;
        const QString templ = dir.filePath(QStringLiteral("template.mde"));
        QFile file(templ);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("template");
        file.close();
        const DataLocation location = installed(dir.filePath(QStringLiteral("data/corvane/Data")), dir.path(), templ,
                                                dir.filePath(QStringLiteral("config/corvane/corvane.ini")));
        Outcome prepared = prepareUserData(location);
        QVERIFY2(prepared, qPrintable(prepared.errorText()));
        QFile copy(location.database);
        QVERIFY(copy.open(QIODevice::ReadWrite));
        QCOMPARE(copy.readAll(), QByteArray("template"));
        copy.write(" and the user's products");
        copy.close();
        QVERIFY(QFileInfo(location.settingsFile).absoluteDir().exists());

        prepared = prepareUserData(location);
        QVERIFY2(prepared, qPrintable(prepared.errorText()));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("template and the user's products"));
        QVERIFY(!QFile::exists(location.database + QStringLiteral(".new")));

        QVERIFY(QFile::remove(location.database));
        QVERIFY(QFile::remove(templ));
        prepared = prepareUserData(location);
        QVERIFY(!prepared);
        QVERIFY(prepared.errorText().contains(templ));
        QVERIFY(!QFile::exists(location.database));
    }
};

QTEST_GUILESS_MAIN(TestDataLocation)
#include "tst_datalocation.moc"
