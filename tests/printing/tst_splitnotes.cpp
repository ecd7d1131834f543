#include "PrintLabels.h"

#include <QTest>

using namespace corvane;

namespace {
QString lines(int count, int width = 5)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QString(width, QLatin1Char('a' + (i % 26))) + QStringLiteral("\r\n");
    return text;
}
} // namespace

class TestSplitNotes : public QObject {
    Q_OBJECT
private slots:
    void splits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("firstLength");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("no line break, any length") << QString(500, QLatin1Char('x')) << 500;
        QTest::newRow("23 short lines") << lines(23) << 23 * 7;
        QTest::newRow("25 short lines: 23 in the first part") << lines(25) << 23 * 7;
        QTest::newRow("last line without break") << lines(3) + QStringLiteral("end") << 3 * 7 + 3;
        // A long 22nd line counts twice and closes the first part after the whole line.
        QTest::newRow("long 22nd line") << lines(21) + QString(40, QLatin1Char('L')) + QStringLiteral("\r\n") + lines(3)
                                        << 21 * 7 + 42;
        // A long 23rd line is cut where a word ends within its first 30 characters; after the
        // 30th only when none does.
        QTest::newRow("long 23rd line, one word")
            << lines(22) + QString(40, QLatin1Char('L')) + QStringLiteral("\r\n") + lines(2) << 22 * 7 + 30;
        QTest::newRow("long 23rd line, cut at a word")
            << lines(22)
                   + QStringLiteral(
                       "必ず、容器を密閉し、換気の良い場所で保管すること。アレルギー性皮膚反応に注意すること。\r\n")
                   + lines(2)
            << 22 * 7 + 25; // before 「アレルギー性」, whose fifth character is the 30th
        // A 30-character line with its CR LF is 32 characters: it counts as two lines.
        QTest::newRow("line of 28 plus break is 30: one line") << lines(24, 28) << 23 * 30;
        QTest::newRow("line of 29 plus break is 31: two lines") << lines(24, 29) << 11 * 31 + 30;
    }
    void splits()
    {
        QFETCH(QString, text);
        QFETCH(int, firstLength);
        QString first = QStringLiteral("junk"), rest = QStringLiteral("junk");
        SplitNotes(text, first, rest);
        QCOMPARE(first.size(), firstLength);
        QCOMPARE(first + rest, text);
    }
};

QTEST_GUILESS_MAIN(TestSplitNotes)
#include "tst_splitnotes.moc"
