#include "ReportParser.h"

#include <QRandomGenerator>
#include <QTest>

using namespace corvane;

class ReportParserTest : public QObject {
    Q_OBJECT

private slots:
    void readsFieldsTextsAndShapes();
    void stylesAreInheritedAndOverridden();
    void gridNamesSlotsRowByRow();
    void reportsEachFaultWithLineAndColumn_data();
    void reportsEachFaultWithLineAndColumn();
    void describesErrorsWithFileAndLine();
    void survivesMangledInput();
};

void ReportParserTest::readsFieldsTextsAndShapes()
{
    const QString text = QStringLiteral(
        "\uFEFF# コメント\n"
        "page a4 portrait\r\n"
        "guides on\n"
        "field CopName x=140 y=2625 w=1820 h=65 font=\"ＭＳ Ｐゴシック, IPAGothic\" size=11 bold shrink=8 "
        "color=#c00000 align=right,bottom wrap frame=left,bottom framewidth=4 pad=20,5 spacing=1.3 "
        "text=\"株式会社\\n本社\"\n"
        "text x=10 y=20 w=300 h=40 text=\"供給者\" fill=#e6e6e6 guide  # 見出し\n"
        "line x1=0 y1=5 x2=2100 y2=5 width=2 color=red\n"
        "rect x=150 y=150 w=1800 h=2670 width=6 fill=#ffffff guide=off\n");
    const ReportParseResult result = parseReport(text, QStringLiteral("T.PRP"));
    QVERIFY2(result.ok(), qPrintable(result.errors.value(0).message));
    const ReportDefinition &report = result.report;
    QCOMPARE(report.pageExtent(), QSize(2100, 2970));
    QVERIFY(report.guides);

    QCOMPARE(report.fields.size(), 1);
    const FieldDefinition *field = report.field(QStringLiteral("copname"));
    QVERIFY(field);
    QCOMPARE(field->rect, QRect(140, 2625, 1820, 65));
    QCOMPARE(field->style.fontFamilies, QStringList({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAGothic")}));
    QCOMPARE(field->style.pointSize, 11.0);
    QCOMPARE(field->style.minimumPointSize, 8.0);
    QVERIFY(field->style.bold);
    QVERIFY(field->style.wrap);
    QCOMPARE(field->style.color, QColor(0xc0, 0, 0));
    QCOMPARE(field->style.horizontalAlignment, HorizontalAlignment::Right);
    QCOMPARE(field->style.verticalAlignment, VerticalAlignment::Bottom);
    QCOMPARE(field->style.frameEdges, Qt::LeftEdge | Qt::BottomEdge);
    QCOMPARE(field->style.frameWidth, 4);
    QCOMPARE(field->style.horizontalPadding, 20);
    QCOMPARE(field->style.verticalPadding, 5);
    QCOMPARE(field->style.lineSpacing, 1.3);
    QCOMPARE(field->defaultText, QStringLiteral("株式会社\n本社"));

    QCOMPARE(report.texts.size(), 1);
    QCOMPARE(report.texts[0].text, QStringLiteral("供給者"));
    QVERIFY(report.texts[0].guide);
    QCOMPARE(report.texts[0].style.fill, QColor(0xe6, 0xe6, 0xe6));

    QCOMPARE(report.shapes.size(), 2);
    QCOMPARE(report.shapes[0].kind, ShapeDefinition::Kind::Line);
    QCOMPARE(report.shapes[0].line, QLine(0, 5, 2100, 5));
    QCOMPARE(report.shapes[0].color, QColor(Qt::red));
    QCOMPARE(report.shapes[1].kind, ShapeDefinition::Kind::Rectangle);
    QCOMPARE(report.shapes[1].rect, QRect(150, 150, 1800, 2670));
    QVERIFY(!report.shapes[1].guide);
}

void ReportParserTest::stylesAreInheritedAndOverridden()
{
    const QString text = QStringLiteral("page a4\n"
                                        "style fixed size=9\n"
                                        "style shrinking style=fixed shrink=6 bold\n"
                                        "field A x=0 y=0 w=10 h=10 style=fixed size=12\n"
                                        "field B x=0 y=0 w=10 h=10 style=shrinking size=5\n"
                                        "field C x=0 y=0 w=10 h=10 style=shrinking bold=off\n");
    const ReportParseResult result = parseReport(text, QStringLiteral("T.PRP"));
    QVERIFY(result.ok());
    // A style that never shrank does not start shrinking at a new size.
    QCOMPARE(result.report.field(QStringLiteral("A"))->style.minimumPointSize, 12.0);
    QCOMPARE(result.report.field(QStringLiteral("B"))->style.minimumPointSize, 5.0);
    QVERIFY(result.report.field(QStringLiteral("B"))->style.bold);
    QVERIFY(!result.report.field(QStringLiteral("C"))->style.bold);
    QCOMPARE(result.report.field(QStringLiteral("C"))->style.minimumPointSize, 6.0);
}

void ReportParserTest::gridNamesSlotsRowByRow()
{
    const QString text = QStringLiteral("page a4 portrait\n"
                                        "grid cols=2 rows=3 x=100 y=200 pitchx=900 pitchy=400\n"
                                        "  rect x=0 y=0 w=900 h=400 guide\n"
                                        "  field Mark{n}1 x=10 y=20 w=150 h=150\n"
                                        "end\n"
                                        "field Notes x=0 y=0 w=10 h=10\n");
    const ReportParseResult result = parseReport(text, QStringLiteral("G.PRP"));
    QVERIFY2(result.ok(), qPrintable(result.errors.value(0).message));
    QStringList names;
    for (const FieldDefinition &field : result.report.fields)
        names.append(field.name);
    QCOMPARE(names, QStringList({"Mark11", "Mark21", "Mark31", "Mark41", "Mark51", "Mark61", "Notes"}));
    QCOMPARE(result.report.field(QStringLiteral("Mark11"))->rect, QRect(110, 220, 150, 150));
    QCOMPARE(result.report.field(QStringLiteral("Mark21"))->rect, QRect(1010, 220, 150, 150));
    QCOMPARE(result.report.field(QStringLiteral("Mark31"))->rect, QRect(110, 620, 150, 150));
    QCOMPARE(result.report.field(QStringLiteral("Mark61"))->rect, QRect(1010, 1020, 150, 150));
    QCOMPARE(result.report.shapes.size(), 6);
    QCOMPARE(result.report.shapes.last().rect, QRect(1000, 1000, 900, 400));

    // A file of an earlier release marks no picture field: its Mark fields still show pictures,
    // no other field does. Once any field is marked, only the marked ones do.
    QVERIFY(result.report.field(QStringLiteral("Mark61"))->style.picture);
    QVERIFY(!result.report.field(QStringLiteral("Notes"))->style.picture);
    const ReportParseResult marked = parseReport(
        QStringLiteral("page a4 portrait\nfield Mark11 x=0 y=0 w=10 h=10\nfield Logo x=0 y=0 w=10 h=10 picture\n"),
        QStringLiteral("M.PRP"));
    QVERIFY(marked.ok());
    QVERIFY(!marked.report.field(QStringLiteral("Mark11"))->style.picture);
    QVERIFY(marked.report.field(QStringLiteral("Logo"))->style.picture);
}

void ReportParserTest::reportsEachFaultWithLineAndColumn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("message");

    const QString page = QStringLiteral("page a4 portrait\n");
    QTest::newRow("no page line") << "field A x=0 y=0 w=1 h=1" << 1 << 1 << "page";
    QTest::newRow("empty file") << "" << 1 << 0 << "page";
    QTest::newRow("page twice") << page + "page a4" << 2 << 1 << "一度";
    QTest::newRow("unknown paper") << "page a7 portrait" << 1 << 6 << "a7";
    QTest::newRow("unknown command") << page + "feild A x=0" << 2 << 1 << "feild";
    QTest::newRow("line starts with attribute") << page + "x=1" << 2 << 1 << "命令";
    QTest::newRow("field without name") << page + "field x=1 y=1 w=1 h=1" << 2 << 1 << "項目名";
    QTest::newRow("missing height") << page + "field A x=0 y=0 w=10" << 2 << 1 << "'h'";
    QTest::newRow("not a number") << page + "field A x=1O y=0 w=10 h=10" << 2 << 11 << "1O";
    QTest::newRow("negative width") << page + "field A x=0 y=0 w=-5 h=10" << 2 << 19 << "範囲外";
    QTest::newRow("outside the page") << page + "field A x=2000 y=0 w=200 h=10" << 2 << 1 << "はみ出し";
    QTest::newRow("unknown attribute") << page + "field A x=0 y=0 w=1 h=1 sise=9" << 2 << 25 << "sise";
    QTest::newRow("attribute twice") << page + "field A x=0 y=0 w=1 h=1 x=2" << 2 << 25 << "二度";
    QTest::newRow("value missing") << page + "field A x=0 y=0 w=1 h=1 size=" << 2 << 25 << "値";
    QTest::newRow("duplicate field") << page + "field A x=0 y=0 w=1 h=1\nfield a x=0 y=0 w=1 h=1" << 3 << 7 << "2 行目";
    QTest::newRow("bad field name") << page + "field 1A x=0 y=0 w=1 h=1" << 2 << 7 << "1A";
    QTest::newRow("open quote") << page + "field A x=0 y=0 w=1 h=1 text=\"abc" << 2 << 30 << "引用符";
    QTest::newRow("quote inside word") << page + "field A x=0 y=0 w=1 h=1 text=a\"b" << 2 << 31 << "引用符";
    QTest::newRow("bad colour") << page + "field A x=0 y=0 w=1 h=1 color=#12345" << 2 << 31 << "#12345";
    QTest::newRow("bad alignment") << page + "field A x=0 y=0 w=1 h=1 align=up" << 2 << 31 << "up";
    QTest::newRow("bad frame") << page + "field A x=0 y=0 w=1 h=1 frame=around" << 2 << 31 << "around";
    QTest::newRow("bad switch") << page + "field A x=0 y=0 w=1 h=1 bold=maybe" << 2 << 30 << "maybe";
    QTest::newRow("bad padding") << page + "field A x=0 y=0 w=1 h=1 pad=1,2,3" << 2 << 25 << "pad";
    QTest::newRow("size too large") << page + "field A x=0 y=0 w=1 h=1 size=900" << 2 << 30 << "範囲外";
    QTest::newRow("shrink above size") << page + "field A x=0 y=0 w=1 h=1 size=8 shrink=9" << 2 << 39 << "shrink";
    QTest::newRow("unknown style") << page + "field A x=0 y=0 w=1 h=1 style=body" << 2 << 31 << "body";
    QTest::newRow("style without name") << page + "style size=9" << 2 << 1 << "名前";
    QTest::newRow("text without content") << page + "text x=0 y=0 w=1 h=1" << 2 << 1 << "text";
    QTest::newRow("line without end") << page + "line x1=0 y1=0 x2=5" << 2 << 1 << "y2";
    QTest::newRow("guides value") << page + "guides maybe" << 2 << 1 << "guides";
    QTest::newRow("grid not closed") << page + "grid cols=2 rows=2 x=0 y=0 pitchx=10 pitchy=10\n" << 2 << 0 << "end";
    QTest::newRow("end without grid") << page + "end" << 2 << 1 << "grid";
    QTest::newRow("grid in grid")
        << page + "grid cols=1 rows=1 x=0 y=0 pitchx=0 pitchy=0\ngrid cols=1 rows=1 x=0 y=0 pitchx=0 pitchy=0" << 3 << 1
        << "grid";
    QTest::newRow("grid field without slot number")
        << page + "grid cols=2 rows=1 x=0 y=0 pitchx=10 pitchy=0\nfield A x=0 y=0 w=1 h=1\nend" << 3 << 7 << "{n}";
    QTest::newRow("grid too big") << page + "grid cols=50 rows=50 x=0 y=0 pitchx=1 pitchy=1\nend" << 2 << 1 << "多すぎ";
    QTest::newRow("grid slot off the page")
        << page + "grid cols=3 rows=1 x=0 y=0 pitchx=900 pitchy=0\nfield A{n} x=0 y=0 w=800 h=10\nend" << 3 << 1
        << "はみ出し";
}

void ReportParserTest::reportsEachFaultWithLineAndColumn()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, message);
    const ReportParseResult result = parseReport(text, QStringLiteral("BAD.PRP"));
    QVERIFY(!result.ok());
    const ReportParseError &error = result.errors.first();
    QVERIFY2(error.message.contains(message), qPrintable(error.message));
    QCOMPARE(error.line, line);
    QCOMPARE(error.column, column);
}

void ReportParserTest::describesErrorsWithFileAndLine()
{
    const QString description = describeParseError(QStringLiteral("Data/SULABEL.PRP"),
                                                   ReportParseError{12, 5, QStringLiteral("不明な属性です")});
    QCOMPARE(description, QStringLiteral("Data/SULABEL.PRP 12行 5桁目: 不明な属性です"));
    QCOMPARE(describeParseError(QStringLiteral("A.PRP"), ReportParseError{3, 0, QStringLiteral("x")}),
             QStringLiteral("A.PRP 3行: x"));
}

// Cuts, repeats and garbles a good file at random: every result is either a
// report or errors that point at lines of the file.
void ReportParserTest::survivesMangledInput()
{
    const QString good = QStringLiteral("page a4 portrait\n"
                                        "style s font=\"IPAGothic\" size=9 shrink=6 wrap align=left,top\n"
                                        "grid cols=2 rows=6 x=186 y=212 pitchx=864 pitchy=423\n"
                                        "  rect x=0 y=0 w=864 h=423 guide\n"
                                        "  field Element{n} x=25 y=20 w=620 h=62 style=s text=\"名前\"\n"
                                        "end\n"
                                        "line x1=0 y1=0 x2=100 y2=100\n");
    const QString noise = QStringLiteral("=\"\\{}#\n\r\t 0-9xyz漢ａ\u3000\U0001F600");
    QRandomGenerator random(20240607);
    for (int round = 0; round < 3000; ++round) {
        QString text = good;
        const int edits = 1 + random.bounded(6);
        for (int e = 0; e < edits; ++e) {
            const int at = random.bounded(int(text.size()) + 1);
            switch (random.bounded(3)) {
            case 0: text.insert(at, noise.mid(random.bounded(int(noise.size())), 1 + random.bounded(3))); break;
            case 1: text.remove(at, random.bounded(8)); break;
            default: text.insert(at, text.mid(random.bounded(int(text.size()) + 1), random.bounded(40)));
            }
        }
        const ReportParseResult result = parseReport(text, QStringLiteral("FUZZ.PRP"));
        const int lineCount = int(text.count(u'\n')) + 1;
        for (const ReportParseError &error : result.errors) {
            QVERIFY2(error.line >= 1 && error.line <= lineCount, qPrintable(text));
            QVERIFY(!error.message.isEmpty());
        }
        if (result.ok())
            for (const FieldDefinition &field : result.report.fields)
                QVERIFY(QRect(QPoint(0, 0), result.report.pageExtent()).contains(field.rect));
    }
}

QTEST_GUILESS_MAIN(ReportParserTest)
#include "tst_reportparser.moc"
