#include "Profile.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;

class TestProfile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file(const QString &name = QStringLiteral("corvane.ini")) const { return dir.filePath(name); }
    static void writeBytes(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray readBytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QString read(const QString &path)
    {
        return readProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), QString(), 256, path);
    }

private slots:
    void missingFileSectionOrKeyReadEmpty()
    {
        QCOMPARE(read(file(QStringLiteral("none.ini"))), QString());
        writeBytes(file(QStringLiteral("other.ini")), "[other]\r\nProductName=x\r\n");
        QCOMPARE(read(file(QStringLiteral("other.ini"))), QString());
        writeBytes(file(QStringLiteral("nokey.ini")), "[init]\r\nName=x\r\n");
        QCOMPARE(read(file(QStringLiteral("nokey.ini"))), QString());
        QVERIFY(!QFile::exists(file(QStringLiteral("none.ini"))));
    }

    void roundTripInCodePage932_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("ascii") << QStringLiteral("Acme 100");
        QTest::newRow("japanese") << QStringLiteral("塗料用シンナー（Ａ）～①");
        QTest::newRow("quotes and backslash") << QStringLiteral("\"A\" B\\C'");
        QTest::newRow("blanks kept") << QStringLiteral("  name  ");
        QTest::newRow("quoted") << QStringLiteral("\"whole\"");
        QTest::newRow("empty") << QString();
    }
    void roundTripInCodePage932()
    {
        QFETCH(QString, value);
        const QString path = file(QStringLiteral("round.ini"));
        QVERIFY(writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), value, path));
        QCOMPARE(read(path), value);
    }

    void fileIsWrittenInCodePage932AsWindowsDoes()
    {
        const QString path = file(QStringLiteral("sjis.ini"));
        QVERIFY(
            writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), QStringLiteral("製品"), path));
        QCOMPARE(readBytes(path), QByteArray("[init]\r\nProductName=\x90\xbb\x95\x69\r\n"));
        // And a file written by Windows reads back in Unicode.
        writeBytes(path, "[INIT]\r\nproductname = \x83\x67\x83\x8b\x83\x47\x83\x93 \r\n");
        QCOMPARE(read(path), QStringLiteral("トルエン"));
    }

    void valueIsCutAt255BytesWithoutHalfCharacters()
    {
        const QString path = file(QStringLiteral("long.ini"));
        writeBytes(path, "[init]\r\nProductName=" + QByteArray(300, 'a') + "\r\n");
        QCOMPARE(read(path), QString(255, QLatin1Char('a')));
        // 200 two-byte characters: 127 of them fill 254 bytes, the 128th would not fit.
        QStringEncoder encoder("windows-31j");
        writeBytes(path, "[init]\r\nProductName=" + QByteArray(encoder.encode(QString(200, QChar(0x6F22)))) + "\r\n");
        QCOMPARE(read(path), QString(127, QChar(0x6F22)));
    }

    void writingKeepsOtherSectionsAndKeys()
    {
        const QString path = file(QStringLiteral("keep.ini"));
        writeBytes(
            path,
            "; comment\r\n[Window]\r\nLeft=10\r\n\r\n[init]\r\nProductName=old\r\nOther=1\r\n\r\n[Last]\nX=\x83\x67\r\n");
        QVERIFY(writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), QStringLiteral("new"), path));
        QCOMPARE(
            readBytes(path),
            QByteArray(
                "; comment\r\n[Window]\r\nLeft=10\r\n\r\n[init]\r\nProductName=new\r\nOther=1\r\n\r\n[Last]\r\nX=\x83\x67\r\n"));
        // A missing key goes to the end of its section, a missing section to the end of the file.
        QVERIFY(writeProfileString(QStringLiteral("Window"), QStringLiteral("Top"), QStringLiteral("5"), path));
        QVERIFY(writeProfileString(QStringLiteral("New"), QStringLiteral("K"), QStringLiteral("v"), path));
        QCOMPARE(
            readBytes(path),
            QByteArray(
                "; comment\r\n[Window]\r\nLeft=10\r\nTop=5\r\n\r\n[init]\r\nProductName=new\r\nOther=1\r\n\r\n[Last]\r\nX=\x83\x67\r\n[New]\r\nK=v\r\n"));
    }

    void nameOutsideCodePage932NeverComesBackAsAnotherName_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("emoji") << QStringLiteral("製品😀");
        QTest::newRow("line break") << QStringLiteral("a\r\nProductName=b");
    }
    void nameOutsideCodePage932NeverComesBackAsAnotherName()
    {
        QFETCH(QString, value);
        const QString path = file(QStringLiteral("lossy.ini"));
        QVERIFY(writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), QStringLiteral("old"), path));
        writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), value, path);
        QCOMPARE(read(path), QString());
    }

    void garbageFilesAreReadWithoutHarm()
    {
        const QString path = file(QStringLiteral("garbage.ini"));
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(static_cast<char>((i * 7919) & 0xFF));
        writeBytes(path, garbage);
        QCOMPARE(read(path), QString());
        writeBytes(path, "[init]\r\nProductName=" + QByteArray(10 * 1024 * 1024, 'x'));
        QCOMPARE(read(path).size(), 255);
        QVERIFY(writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), QStringLiteral("ok"), path));
        QCOMPARE(read(path), QStringLiteral("ok"));
    }

    void largeFileIsKeptWholeOnWrite()
    {
        const QString path = file(QStringLiteral("large.ini"));
        const QByteArray head = "[Big]\r\nData=" + QByteArray(20 * 1024 * 1024, 'x') + "\r\n[init]\r\nProductName=";
        const QByteArray tail = "\r\n[Last]\r\nKey=kept\r\n";
        writeBytes(path, head + "old" + tail);
        QCOMPARE(read(path), QStringLiteral("old"));
        QVERIFY(writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), QStringLiteral("new"), path));
        QVERIFY(readBytes(path) == head + "new" + tail);
    }

    void unwritableFileIsReported()
    {
        QVERIFY(!writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), QStringLiteral("x"),
                                    dir.filePath(QStringLiteral("no/such/folder/x.ini"))));
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
