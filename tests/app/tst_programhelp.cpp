// Every program answers --help in Japanese, Qt's own words ("Usage:", "Options:", the help
// option's description) included, and without a display.
#include <QProcess>
#include <QTest>

class TestProgramHelp : public QObject {
    Q_OBJECT
private slots:
    void helpIsJapanese_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("corvane") << QStringLiteral(CORVANE_APP);
        QTest::newRow("corvane-print") << QStringLiteral(CORVANE_PRINT);
        QTest::newRow("corvane-master") << QStringLiteral(CORVANE_MASTER);
        QTest::newRow("corvane-db") << QStringLiteral(CORVANE_DB);
    }
    void helpIsJapanese()
    {
        QFETCH(QString, program);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        process.setProcessEnvironment(environment);
        process.start(program, {QStringLiteral("--help")});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        const QString help = QString::fromUtf8(process.readAllStandardOutput());
        QVERIFY2(help.contains(QStringLiteral("使い方:")) && help.contains(QStringLiteral("オプション:")),
                 qPrintable(help));
        for (const char *english : {"Usage:", "Options:", "Displays", "Arguments:"})
            QVERIFY2(!help.contains(QLatin1String(english)), qPrintable(help));
    }
};

QTEST_GUILESS_MAIN(TestProgramHelp)
#include "tst_programhelp.moc"
