#include "FontLibrary.h"
#include "TextFitter.h"

#include <QSet>
#include <QTest>

using namespace corvane;

namespace {

// Kinsoku as a Japanese typesetter states it, independent of the engine's tables.
const QString kNeverAtLineStart = QStringLiteral("、。，．・：；！？」』）】〕ーぁぃぅぇぉっゃゅょァィゥェォッャュョ");
const QString kNeverAtLineEnd = QStringLiteral("「『（【〔");

TextStyle wrappingStyle(qreal size, qreal minimum)
{
    TextStyle style;
    style.pointSize = size;
    style.minimumPointSize = minimum;
    style.wrap = true;
    return style;
}

// Every line lies wholly inside the box.
void verifyInsideBox(const FittedText &fitted, const QSizeF &box)
{
    for (const FittedLine &line : fitted.lines) {
        QVERIFY2(line.origin.x() >= -1e-6, qPrintable(line.text));
        QVERIFY2(line.origin.x() + line.width <= box.width() + 1e-3, qPrintable(line.text));
        QVERIFY2(line.origin.y() - fitted.ascent >= -1e-6, qPrintable(line.text));
        QVERIFY2(line.origin.y() + fitted.descent <= box.height() + 1e-3, qPrintable(line.text));
    }
}

} // namespace

class TextFitterTest : public QObject {
    Q_OBJECT

private slots:
    void keepsKinsokuAtEveryWidth_data();
    void keepsKinsokuAtEveryWidth();
    void keepsGivenLineBreaks();
    void keepsWordsWhole_data();
    void keepsWordsWhole();
    void leavesOutWhatDoesNotFitVisibly_data();
    void leavesOutWhatDoesNotFitVisibly();
    void shrinksToTheLargestSizeThatFits_data();
    void shrinksToTheLargestSizeThatFits();
    void neverGoesBelowTheMinimum();
    void flowsLongListsIntoColumns();
    void alignsWithinTheBox_data();
    void alignsWithinTheBox();
    void paintedLinesAreAsWideAsFitted_data();
    void paintedLinesAreAsWideAsFitted();

private:
    FontLibrary m_fonts;
    TextFitter m_fitter{m_fonts};
};

void TextFitterTest::keepsKinsokuAtEveryWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("punctuation") << QStringLiteral(
        "眼に入った場合：水で数分間注意深く洗うこと。次にコンタクトレンズを着用していて容易に外せる場合は外すこと。その"
        "後も洗浄を続けること。");
    QTest::newRow("brackets") << QStringLiteral("臓器の障害（中枢神経系、視覚器、全身毒性）「注意」『警告』【保管】〔廃"
                                                "棄〕長期にわたる、又は反復ばく露による臓器の障害（肝臓、腎臓）");
    QTest::newRow("small kana and long vowels")
        << QStringLiteral("ジメチルスルホキシドとエチレングリコールモノブチルエーテルのシャッフル、ジェット、チョッキ、"
                          "キャッシュ、ぴょんぴょん");
    QTest::newRow("chemical name") << QStringLiteral(
        "２－（ジメチルアミノ）エチル＝メタクリレート！？ポリ（オキシエチレン）＝アルキルエーテル。");
}

void TextFitterTest::keepsKinsokuAtEveryWidth()
{
    QFETCH(QString, text);
    const TextStyle style = wrappingStyle(10, 10);
    const qreal em = 10 * kUnitsPerPoint;
    for (qreal width = 4 * em; width <= 30 * em; width += em / 3) {
        const FittedText &fitted = m_fitter.fit(text, style, QSizeF(width, 100000));
        QVERIFY(!fitted.clipped);
        QString joined;
        for (qsizetype i = 0; i < fitted.lines.size(); ++i) {
            const QString &line = fitted.lines[i].text;
            QVERIFY(!line.isEmpty());
            if (i > 0)
                QVERIFY2(!kNeverAtLineStart.contains(line.front()),
                         qPrintable(QStringLiteral("%1 at width %2").arg(line).arg(width)));
            if (i + 1 < fitted.lines.size())
                QVERIFY2(!kNeverAtLineEnd.contains(line.back()),
                         qPrintable(QStringLiteral("%1 at width %2").arg(line).arg(width)));
            joined += line;
        }
        QCOMPARE(joined, text);
        verifyInsideBox(fitted, QSizeF(width, 100000));
    }
}

void TextFitterTest::keepsGivenLineBreaks()
{
    TextStyle style;
    style.pointSize = style.minimumPointSize = 9;
    // The Unicode line and paragraph separators break lines too; they never drop the rest.
    const FittedText &fitted = m_fitter.fit(
        QStringLiteral(
            "引火性の高い液体及び蒸気\r\n飲み込むと有害\n\n強い眼刺激\u2028皮膚刺激\u2029水生生物に毒性\r\n"),
        style, QSizeF(2000, 500));
    QStringList lines;
    for (const FittedLine &line : fitted.lines)
        lines.append(line.text);
    QCOMPARE(lines, QStringList({"引火性の高い液体及び蒸気", "飲み込むと有害", "", "強い眼刺激", "皮膚刺激",
                                 "水生生物に毒性"}));
    QVERIFY(fitted.lines[1].origin.y() > fitted.lines[0].origin.y());
}

void TextFitterTest::keepsWordsWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<qreal>("narrowest"); // ems: no narrower line holds the longest word
    QTest::newRow("Latin words and numbers")
        << QStringLiteral("CAS No. 67-68-5 ジメチルスルホキシド Dimethyl sulfoxide UN1993")
        << QStringList{"67-68-5", "Dimethyl", "sulfoxide", "UN1993"} << 9.0;
    QTest::newRow("Japanese words") << QStringLiteral(
        "引火性の高い液体及び蒸気。アレルギー性皮膚反応を引き起こすおそれ。"
        "吸入するとアレルギー、ぜん息又は呼吸困難を起こすおそれ。")
                                    << QStringList{"液体", "及び", "蒸気",     "アレルギー",
                                                   "皮膚", "反応", "呼吸困難", "引き起こす"}
                                    << 6.0;
    QTest::newRow("full-width product codes") << QStringLiteral("洗浄剤ＸＹ１００と洗浄剤ＡＢ２０００を混ぜないこと。")
                                              << QStringList{"ＸＹ１００", "ＡＢ２０００"} << 6.0;
}

// Lines end between words: a word is never divided where the line could end before it.
void TextFitterTest::keepsWordsWhole()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QFETCH(qreal, narrowest);
    const TextStyle style = wrappingStyle(9, 9);
    const qreal em = 9 * kUnitsPerPoint;
    for (qreal width = narrowest * em; width <= 20 * em; width += em / 3) {
        const FittedText &fitted = m_fitter.fit(text, style, QSizeF(width, 100000));
        for (const QString &word : words) {
            bool whole = false;
            for (const FittedLine &line : fitted.lines)
                whole = whole || line.text.contains(word);
            QVERIFY2(whole, qPrintable(QStringLiteral("%1 split at width %2").arg(word).arg(width)));
        }
    }
}

void TextFitterTest::leavesOutWhatDoesNotFitVisibly_data()
{
    QTest::addColumn<bool>("wholeParagraphs");
    QTest::addColumn<QString>("moreMark");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unprintable");
    const QString statements = QStringLiteral(
        "引火性の高い液体及び蒸気\r\n飲み込んで気道に侵入すると生命に危険のおそれ\r\n皮膚刺激\r\n"
        "長期にわたる、又は反復ばく露による中枢神経系、腎臓の障害\r\n水生生物に毒性\r\n"
        "アレルギー性皮膚反応を引き起こすおそれ\r\n吸入するとアレルギー、ぜん息又は呼吸困難を起こすおそれ");
    QTest::newRow("statements whole or not at all") << true << QString() << statements << QString();
    QTest::newRow("notes end with a mark, at a word")
        << false << QStringLiteral("（以下省略）") << statements << QString();
    QTest::newRow("characters no font has")
        << false << QString() << QStringLiteral("𠮷野家の🧪試薬") << QStringLiteral("𠮷🧪");
}

// Text that does not fit leaves out no half statement, marks what it leaves out where asked,
// and leaves out characters no font has instead of printing boxes; each is said.
void TextFitterTest::leavesOutWhatDoesNotFitVisibly()
{
    QFETCH(bool, wholeParagraphs);
    QFETCH(QString, moreMark);
    QFETCH(QString, text);
    QFETCH(QString, unprintable);
    TextStyle style = wrappingStyle(9, 9);
    style.wholeParagraphs = wholeParagraphs;
    style.moreMark = moreMark;
    style.columns = 2;
    const qreal em = 9 * kUnitsPerPoint;
    const QStringList paragraphs = text.split(QStringLiteral("\r\n"));
    for (qreal height = 1.2 * em; height <= 8 * em; height += em / 2) {
        const QSizeF box(16 * em, height);
        const FittedText &fitted = m_fitter.fit(text, style, box);
        verifyInsideBox(fitted, box);
        QCOMPARE(fitted.unprintable, unprintable);
        QString shown;
        for (const FittedLine &line : fitted.lines)
            shown += line.text;
        for (const QChar c : unprintable)
            QVERIFY(!shown.contains(c));
        if (!unprintable.isEmpty())
            continue;
        QVERIFY(fitted.clipped); // seven statements never fit 8 lines of two 8-em columns
        if (wholeParagraphs) {
            QString whole;
            for (const QString &paragraph : paragraphs)
                if (whole.size() < shown.size())
                    whole += paragraph;
            QCOMPARE(shown, whole);
        }
        if (!moreMark.isEmpty() && !fitted.lines.isEmpty()) {
            QVERIFY2(fitted.lines.last().text.endsWith(moreMark), qPrintable(fitted.lines.last().text));
            // The line ends at a word: never inside one of these.
            const QString before = shown.chopped(moreMark.size());
            for (const QString &word : {QStringLiteral("液体"), QStringLiteral("蒸気"), QStringLiteral("アレルギー"),
                                        QStringLiteral("中枢"), QStringLiteral("侵入"), QStringLiteral("呼吸困難")})
                for (qsizetype cut = 1; cut < word.size(); ++cut)
                    QVERIFY2(!before.endsWith(word.left(cut)), qPrintable(before));
        }
    }
}

void TextFitterTest::shrinksToTheLargestSizeThatFits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSizeF>("box");
    QTest::addColumn<bool>("wrap");
    QTest::newRow("hazard list in a small label") << QStringLiteral(
        "引火性の高い液体及び蒸気\r\n飲み込むと有害\r\n皮膚に接触すると有毒\r\n重篤な皮膚の薬傷及び眼の損傷\r\n"
        "吸入するとアレルギー、喘息又は呼吸困難を起こすおそれ\r\n臓器の障害（中枢神経系、視覚器、全身毒性）")
                                                  << QSizeF(814, 160) << true;
    QTest::newRow("long substance name") << QStringLiteral(
        "ポリ（オキシエチレン）＝アルキルエーテル（アルキル基の炭素数が12から15までのもの及びその混合物に限る。）")
                                         << QSizeF(620, 62) << true;
    QTest::newRow("one line that must not wrap")
        << QStringLiteral("TEL 03-5201-7788　FAX 03-5201-7789　緊急連絡先 03-5201-7790") << QSizeF(700, 60) << false;
}

void TextFitterTest::shrinksToTheLargestSizeThatFits()
{
    QFETCH(QString, text);
    QFETCH(QSizeF, box);
    QFETCH(bool, wrap);
    TextStyle style = wrappingStyle(12, 3);
    style.wrap = wrap;
    const FittedText fitted = m_fitter.fit(text, style, box);
    QVERIFY(!fitted.clipped);
    QVERIFY(fitted.pointSize < 12);
    QVERIFY(fitted.pointSize >= 3);
    verifyInsideBox(fitted, box);

    // A little larger and it would no longer fit.
    TextStyle larger = style;
    larger.pointSize = larger.minimumPointSize = fitted.pointSize + 0.15;
    QVERIFY(m_fitter.fit(text, larger, box).clipped);
}

void TextFitterTest::neverGoesBelowTheMinimum()
{
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("長期にわたる、又は反復ばく露による臓器の障害（肝臓、腎臓、血液系）\n");
    const QSizeF box(800, 150);
    const FittedText &fitted = m_fitter.fit(text, wrappingStyle(8, 5), box);
    QCOMPARE(fitted.pointSize, 5.0);
    QVERIFY(fitted.clipped);
    QVERIFY(!fitted.lines.isEmpty());
    // Only whole lines are kept; none is cut at the bottom edge.
    verifyInsideBox(fitted, box);

    // A line that may not wrap keeps only the characters that fit, so nothing is hidden
    // under a clip (a PDF's text would still hold it).
    TextStyle unwrapped = wrappingStyle(8, 5);
    unwrapped.wrap = false;
    const QString address = QStringLiteral("東京都千代田区丸の内一丁目二番三号 化学ビルディング二十三階 総務部");
    const FittedText &cut = m_fitter.fit(address, unwrapped, QSizeF(300, 60));
    QVERIFY(cut.clipped);
    QCOMPARE(cut.lines.size(), 1);
    QVERIFY(address.startsWith(cut.lines[0].text) && cut.lines[0].text.size() < address.size());
    verifyInsideBox(cut, QSizeF(300, 60));
}

void TextFitterTest::flowsLongListsIntoColumns()
{
    const QString statements =
        QStringLiteral("飲み込むと有害\n皮膚刺激\n強い眼刺激\n吸入すると有害\n発がんのおそれの疑い\n"
                       "金属腐食のおそれ\n眠気又はめまいのおそれ\n可燃性固体\n水生生物に毒性\n皮膚に接触すると有害");
    const QSizeF box(800, 150);
    TextStyle style = wrappingStyle(8, 3);
    const FittedText single = m_fitter.fit(statements, style, box);
    style.columns = 2;
    const FittedText twoColumns = m_fitter.fit(statements, style, box);
    QVERIFY(twoColumns.pointSize > single.pointSize + 1);
    verifyInsideBox(twoColumns, box);
    QSet<int> columnStarts;
    for (const FittedLine &line : twoColumns.lines)
        columnStarts.insert(qRound(line.origin.x()));
    QCOMPARE(columnStarts.size(), 2);
    QCOMPARE(twoColumns.lines.size(), 10);
    // A text that fits in one column stays in one column.
    const FittedText &shortList = m_fitter.fit(QStringLiteral("飲み込むと有害\n強い眼刺激"), style, box);
    QCOMPARE(shortList.pointSize, 8.0);
    QCOMPARE(shortList.lines[0].origin.x(), shortList.lines[1].origin.x());
    // A list too long even at the minimum keeps the columns that show the most of it.
    TextStyle tight = wrappingStyle(8, 6);
    tight.columns = 2;
    const FittedText &cut = m_fitter.fit(statements, tight, QSizeF(800, 60));
    tight.columns = 1;
    const FittedText &cutSingle = m_fitter.fit(statements, tight, QSizeF(800, 60));
    QVERIFY(cut.clipped && cutSingle.clipped);
    QVERIFY2(cut.lines.size() > cutSingle.lines.size(), qPrintable(QString::number(cut.lines.size())));
    verifyInsideBox(cut, QSizeF(800, 60));
}

void TextFitterTest::alignsWithinTheBox_data()
{
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<qreal>("expectedLeftShare"); // free width left of the text
    QTest::addColumn<qreal>("expectedTopShare");  // free height above the text
    QTest::newRow("left top") << int(HorizontalAlignment::Left) << int(VerticalAlignment::Top) << 0.0 << 0.0;
    QTest::newRow("centre middle") << int(HorizontalAlignment::Center) << int(VerticalAlignment::Middle) << 0.5 << 0.5;
    QTest::newRow("right bottom") << int(HorizontalAlignment::Right) << int(VerticalAlignment::Bottom) << 1.0 << 1.0;
}

void TextFitterTest::alignsWithinTheBox()
{
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    QFETCH(qreal, expectedLeftShare);
    QFETCH(qreal, expectedTopShare);
    TextStyle style;
    style.pointSize = style.minimumPointSize = 16;
    style.horizontalAlignment = HorizontalAlignment(horizontal);
    style.verticalAlignment = VerticalAlignment(vertical);
    const QSizeF box(600, 200);
    const FittedText &fitted = m_fitter.fit(QStringLiteral("危険"), style, box);
    QCOMPARE(fitted.lines.size(), 1);
    const FittedLine &line = fitted.lines.first();
    const qreal freeWidth = box.width() - line.width;
    const qreal freeHeight = box.height() - fitted.ascent - fitted.descent;
    QVERIFY(freeWidth > 100 && freeHeight > 50);
    QVERIFY(qAbs(line.origin.x() - expectedLeftShare * freeWidth) < 0.01);
    QVERIFY(qAbs(line.origin.y() - fitted.ascent - expectedTopShare * freeHeight) < 0.01);
}

void TextFitterTest::paintedLinesAreAsWideAsFitted_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("glyphPerCharacter"); // set without the shaper
    QTest::newRow("Japanese") << QStringLiteral("長期継続的影響によって水生生物に非常に強い毒性") << true;
    QTest::newRow("Latin and numbers") << QStringLiteral("硫酸ニッケル(II) CAS 7786-81-4, TEL 03-1234-5678") << true;
    QTest::newRow("combining mark") << QStringLiteral("ka\u0301ta") << false;
    QTest::newRow("outside the BMP") << QStringLiteral("𠮷野家") << false;
}

// A line is painted one glyph per character at the advances the fitter measured, so it is as
// wide on paper as when it was fitted; text that needs a shaper still goes through one.
void TextFitterTest::paintedLinesAreAsWideAsFitted()
{
    QFETCH(QString, line);
    QFETCH(bool, glyphPerCharacter);
    TextStyle style;
    const int face = m_fonts.faceId(style.fontFamilies, false);
    const ShapedLine &shaped = m_fonts.shape(face, line);
    QVERIFY(!shaped.runs.isEmpty());
    if (!glyphPerCharacter)
        return;
    QCOMPARE(shaped.runs.size(), 1);
    const QGlyphRun &run = shaped.runs.first();
    QCOMPARE(run.glyphIndexes().size(), line.size());
    QVERIFY(!run.glyphIndexes().contains(0u));
    qreal width = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        QCOMPARE(run.positions().at(i).x(), width);
        width += m_fonts.face(face).advance(line[i].unicode()) * kReferencePixelSize;
    }
    const FittedText &fitted = m_fitter.fit(line, style, QSizeF(100000, 1000));
    QCOMPARE(fitted.lines.size(), 1);
    QVERIFY(qAbs(fitted.lines.first().width / (style.pointSize * kUnitsPerPoint) * kReferencePixelSize - width) < 1e-6);
}

QTEST_MAIN(TextFitterTest)
#include "tst_textfitter.moc"
