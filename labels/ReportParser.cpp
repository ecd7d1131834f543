#include "ReportParser.h"

#include "ReportAttributes.h"
#include "ReportTokenizer.h"

#include <QHash>
#include <QRegularExpression>

#include <optional>

namespace corvane {

namespace {

constexpr int kMaxCoordinate = 20000; // 2 m: far beyond any page we print
constexpr int kMaxGridSlots = 200;
constexpr int kMaxSafeMargin = 200; // 20 mm
constexpr int kMaxErrors = 50;
constexpr qreal kMinPointSize = 1.0;
constexpr qreal kMaxPointSize = 300.0;
const QString kSlotPlaceholder = QStringLiteral("{n}");

bool isValidFieldName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,63}$"));
    return pattern.match(name).hasMatch();
}

// A cell of a grid, or the whole page outside any grid.
struct Origin {
    QPoint offset;
    int slot = 0; // 0 outside a grid
};

struct Grid {
    int line = 0;
    int columns = 1;
    int rows = 1;
    QPoint origin;
    QPoint pitch;
    int safe = 0; // fields keep this far from the paper's edge

    QList<Origin> cells() const
    {
        QList<Origin> result;
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                result.append({origin + QPoint(column * pitch.x(), row * pitch.y()), row * columns + column + 1});
        return result;
    }
};

class ReportParser {
public:
    explicit ReportParser(const QString &fileName) { m_result.report.fileName = fileName; }

    ReportParseResult run(const QString &text);
    static void keepPicturesOfEarlierFiles(ReportDefinition &report);

private:
    void parseLine(const QList<ReportToken> &tokens);
    void parsePage(const QList<ReportToken> &tokens);
    void parseGuides(const QList<ReportToken> &tokens);
    void parseStyle(const QList<ReportToken> &tokens);
    void parseField(const QList<ReportToken> &tokens);
    void parseText(const QList<ReportToken> &tokens);
    void parseLineShape(const QList<ReportToken> &tokens);
    void parseRectangle(const QList<ReportToken> &tokens);
    void parseGrid(const QList<ReportToken> &tokens);
    void parseEnd(const QList<ReportToken> &tokens);

    bool requirePage(const ReportToken &keyword);
    std::optional<LineAttributes> attributesOf(const QList<ReportToken> &tokens, qsizetype first);
    bool readTextStyle(LineAttributes &attributes, TextStyle *style);
    bool readRect(LineAttributes &attributes, const ReportToken &keyword, QRect *rect);
    bool readShapeStroke(LineAttributes &attributes, ShapeDefinition *shape);
    bool finish(LineAttributes &attributes);
    bool fitsPage(const QRect &rect, const ReportToken &keyword);
    QList<Origin> origins() const;

    void fail(int column, const QString &message);
    void fail(const AttributeFault &fault) { fail(fault.column, fault.message); }

    ReportParseResult m_result;
    QHash<QString, TextStyle> m_styles;
    QHash<QString, int> m_fieldLines; // case-folded name -> defining line
    std::optional<Grid> m_grid;
    bool m_pageSeen = false;
    int m_line = 0;
};

void ReportParser::fail(int column, const QString &message)
{
    if (m_result.errors.size() < kMaxErrors)
        m_result.errors.append({m_line, column, message});
}

ReportParseResult ReportParser::run(const QString &text)
{
    QString body = text;
    if (body.startsWith(u'\uFEFF'))
        body.remove(0, 1);
    const QStringList lines = body.split(u'\n');
    for (qsizetype i = 0; i < lines.size() && m_result.errors.size() < kMaxErrors; ++i) {
        m_line = int(i) + 1;
        const TokenizedLine tokenized = tokenizeReportLine(lines[i]);
        if (!tokenized.error.isEmpty()) {
            fail(tokenized.errorColumn, tokenized.error);
            continue;
        }
        if (!tokenized.tokens.isEmpty())
            parseLine(tokenized.tokens);
    }
    if (m_grid) {
        m_line = m_grid->line;
        fail(0, QStringLiteral("grid が end で閉じられていません"));
    }
    if (!m_pageSeen && m_result.errors.isEmpty()) {
        m_line = 1;
        fail(0, QStringLiteral("page 行（例: page a4 portrait）がありません"));
    }
    keepPicturesOfEarlierFiles(m_result.report);
    m_result.report.indexFields();
    return std::move(m_result);
}

// Report files of earlier releases mark no picture field: there the pictogram fields
// (Mark…) keep showing pictures, and every other field still prints its text as text.
void ReportParser::keepPicturesOfEarlierFiles(ReportDefinition &report)
{
    for (const FieldDefinition &field : report.fields)
        if (field.style.picture)
            return;
    for (FieldDefinition &field : report.fields)
        if (field.name.startsWith(QStringLiteral("Mark"), Qt::CaseInsensitive))
            field.style.picture = true;
}

void ReportParser::parseLine(const QList<ReportToken> &tokens)
{
    const ReportToken &keyword = tokens.first();
    if (keyword.hasValue) {
        fail(keyword.column, QStringLiteral("行は命令（page, field など）で始めてください"));
        return;
    }
    const QString command = keyword.key.toLower();
    if (command == u"page")
        parsePage(tokens);
    else if (command == u"guides")
        parseGuides(tokens);
    else if (command == u"style")
        parseStyle(tokens);
    else if (command == u"field")
        parseField(tokens);
    else if (command == u"text")
        parseText(tokens);
    else if (command == u"line")
        parseLineShape(tokens);
    else if (command == u"rect")
        parseRectangle(tokens);
    else if (command == u"grid")
        parseGrid(tokens);
    else if (command == u"end")
        parseEnd(tokens);
    else
        fail(keyword.column, QStringLiteral("不明な命令です: '%1'").arg(keyword.key));
}

bool ReportParser::requirePage(const ReportToken &keyword)
{
    if (m_pageSeen)
        return true;
    fail(keyword.column, QStringLiteral("%1 より前に page 行が必要です").arg(keyword.key));
    return false;
}

std::optional<LineAttributes> ReportParser::attributesOf(const QList<ReportToken> &tokens, qsizetype first)
{
    LineAttributes attributes(tokens.mid(first));
    if (auto fault = attributes.duplicate()) {
        fail(*fault);
        return std::nullopt;
    }
    return attributes;
}

void ReportParser::parsePage(const QList<ReportToken> &tokens)
{
    if (m_pageSeen) {
        fail(tokens.first().column, QStringLiteral("page 行は一度だけ書けます"));
        return;
    }
    if (m_grid) {
        fail(tokens.first().column, QStringLiteral("grid の中に page は書けません"));
        return;
    }
    static const QHash<QString, QPageSize::PageSizeId> sizes = {
        {QStringLiteral("a3"), QPageSize::A3},    {QStringLiteral("a4"), QPageSize::A4},
        {QStringLiteral("a5"), QPageSize::A5},    {QStringLiteral("b4"), QPageSize::JisB4},
        {QStringLiteral("b5"), QPageSize::JisB5}, {QStringLiteral("letter"), QPageSize::Letter},
    };
    bool sizeSeen = false;
    bool orientationSeen = false;
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        const ReportToken &token = tokens[i];
        const QString word = token.key.toLower();
        if (!token.hasValue && sizes.contains(word) && !sizeSeen) {
            m_result.report.pageSize = sizes.value(word);
            sizeSeen = true;
        } else if (!token.hasValue && (word == u"portrait" || word == u"landscape") && !orientationSeen) {
            m_result.report.orientation = word == u"portrait" ? QPageLayout::Portrait : QPageLayout::Landscape;
            orientationSeen = true;
        } else {
            fail(token.column, QStringLiteral("page には用紙サイズ（a3 a4 a5 b4 b5 letter）と向き（portrait landscape）"
                                              "を書いてください: '%1'")
                                   .arg(token.key));
            return;
        }
    }
    if (!sizeSeen) {
        fail(tokens.first().column, QStringLiteral("page に用紙サイズがありません"));
        return;
    }
    m_pageSeen = true;
}

void ReportParser::parseGuides(const QList<ReportToken> &tokens)
{
    if (tokens.size() != 2 || tokens[1].hasValue
        || (tokens[1].key.toLower() != u"on" && tokens[1].key.toLower() != u"off")) {
        fail(tokens.first().column, QStringLiteral("guides は on か off で書いてください"));
        return;
    }
    m_result.report.guides = tokens[1].key.toLower() == u"on";
}

bool ReportParser::readTextStyle(LineAttributes &attributes, TextStyle *style)
{
    if (auto token = attributes.take(QStringLiteral("style"))) {
        if (auto fault = requireValue(*token)) {
            fail(*fault);
            return false;
        }
        const auto base = m_styles.constFind(token->value.toLower());
        if (base == m_styles.constEnd()) {
            fail(token->valueColumn, QStringLiteral("スタイル '%1' は定義されていません").arg(token->value));
            return false;
        }
        *style = *base;
    }

    std::optional<AttributeFault> fault;
    if (auto token = attributes.take(QStringLiteral("font"))) {
        fault = requireValue(*token);
        if (!fault) {
            QStringList families;
            for (const QString &family : token->value.split(u','))
                if (!family.trimmed().isEmpty())
                    families.append(family.trimmed());
            style->fontFamilies = families;
        }
    }
    std::optional<ReportToken> shrink;
    if (!fault) {
        if (auto token = attributes.take(QStringLiteral("size"))) {
            // A style that never shrank keeps not shrinking at its new size.
            const bool couldShrink = style->minimumPointSize < style->pointSize;
            fault = readDecimal(*token, kMinPointSize, kMaxPointSize, &style->pointSize);
            if (!fault)
                style->minimumPointSize =
                    couldShrink ? qMin(style->minimumPointSize, style->pointSize) : style->pointSize;
        }
    }
    if (!fault && (shrink = attributes.take(QStringLiteral("shrink"))))
        fault = readDecimal(*shrink, kMinPointSize, kMaxPointSize, &style->minimumPointSize);
    if (!fault && shrink && style->minimumPointSize > style->pointSize)
        fault =
            AttributeFault{shrink->valueColumn, QStringLiteral("shrink の最小サイズ %1 が文字サイズ %2 より大きいです")
                                                    .arg(style->minimumPointSize)
                                                    .arg(style->pointSize)};
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("bold")))
            fault = readSwitch(*token, &style->bold);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("wrap")))
            fault = readSwitch(*token, &style->wrap);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("picture")))
            fault = readSwitch(*token, &style->picture);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("columns")))
            fault = readInteger(*token, 1, 4, &style->columns);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("whole")))
            fault = readSwitch(*token, &style->wholeParagraphs);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("more"))) {
            fault = requireValue(*token);
            if (!fault) // `more=off` takes back a mark a style gave
                style->moreMark = token->value.compare(u"off", Qt::CaseInsensitive) == 0 ? QString() : token->value;
        }
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("color")))
            fault = readColor(*token, &style->color);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("align")))
            fault = readAlignment(*token, style);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("spacing")))
            fault = readDecimal(*token, 0.5, 5.0, &style->lineSpacing);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("pad")))
            fault = readPadding(*token, style);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("frame")))
            fault = readFrame(*token, &style->frameEdges);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("framewidth")))
            fault = readInteger(*token, 1, 100, &style->frameWidth);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("framecolor")))
            fault = readColor(*token, &style->frameColor);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("fill")))
            fault = readColor(*token, &style->fill);
    if (fault) {
        fail(*fault);
        return false;
    }
    return true;
}

bool ReportParser::readRect(LineAttributes &attributes, const ReportToken &keyword, QRect *rect)
{
    int values[4] = {0, 0, 0, 0};
    const char *names[4] = {"x", "y", "w", "h"};
    for (int i = 0; i < 4; ++i) {
        const auto token = attributes.take(QString::fromLatin1(names[i]));
        if (!token) {
            fail(keyword.column, QStringLiteral("%1 に '%2' がありません（x, y, w, h が必要です）")
                                     .arg(keyword.key, QString::fromLatin1(names[i])));
            return false;
        }
        if (auto fault = readInteger(*token, i < 2 ? 0 : 1, kMaxCoordinate, &values[i])) {
            fail(*fault);
            return false;
        }
    }
    *rect = QRect(values[0], values[1], values[2], values[3]);
    return true;
}

bool ReportParser::readShapeStroke(LineAttributes &attributes, ShapeDefinition *shape)
{
    std::optional<AttributeFault> fault;
    if (auto token = attributes.take(QStringLiteral("width")))
        fault = readInteger(*token, 1, 100, &shape->width);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("color")))
            fault = readColor(*token, &shape->color);
    if (!fault)
        if (auto token = attributes.take(QStringLiteral("guide")))
            fault = readSwitch(*token, &shape->guide);
    if (fault) {
        fail(*fault);
        return false;
    }
    return true;
}

bool ReportParser::finish(LineAttributes &attributes)
{
    if (auto fault = attributes.leftover()) {
        fail(*fault);
        return false;
    }
    return true;
}

bool ReportParser::fitsPage(const QRect &rect, const ReportToken &keyword)
{
    const QRect page(QPoint(0, 0), m_result.report.pageExtent());
    if (page.contains(rect))
        return true;
    fail(keyword.column, QStringLiteral("%1 が用紙からはみ出しています（%2, %3, %4, %5）")
                             .arg(keyword.key)
                             .arg(rect.x())
                             .arg(rect.y())
                             .arg(rect.width())
                             .arg(rect.height()));
    return false;
}

QList<Origin> ReportParser::origins() const
{
    if (m_grid)
        return m_grid->cells();
    return {Origin{}};
}

void ReportParser::parseStyle(const QList<ReportToken> &tokens)
{
    if (tokens.size() < 2 || tokens[1].hasValue) {
        fail(tokens.first().column, QStringLiteral("style には名前が必要です（例: style body size=8）"));
        return;
    }
    if (m_grid) {
        fail(tokens.first().column, QStringLiteral("grid の中に style は書けません"));
        return;
    }
    std::optional<LineAttributes> read = attributesOf(tokens, 2);
    if (!read)
        return;
    LineAttributes &attributes = *read;
    TextStyle style;
    if (!readTextStyle(attributes, &style) || !finish(attributes))
        return;
    m_styles.insert(tokens[1].key.toLower(), style);
}

void ReportParser::parseField(const QList<ReportToken> &tokens)
{
    const ReportToken &keyword = tokens.first();
    if (!requirePage(keyword))
        return;
    if (tokens.size() < 2 || tokens[1].hasValue) {
        fail(keyword.column, QStringLiteral("field には項目名が必要です（例: field CopName x=…）"));
        return;
    }
    const ReportToken &nameToken = tokens[1];
    if (m_grid && !nameToken.key.contains(kSlotPlaceholder)) {
        fail(nameToken.column, QStringLiteral("grid の中の項目名には枠番号 {n} が必要です: '%1'").arg(nameToken.key));
        return;
    }
    std::optional<LineAttributes> read = attributesOf(tokens, 2);
    if (!read)
        return;
    LineAttributes &attributes = *read;
    FieldDefinition field;
    if (!readRect(attributes, keyword, &field.rect) || !readTextStyle(attributes, &field.style))
        return;
    if (auto token = attributes.take(QStringLiteral("text")))
        field.defaultText = token->value;
    if (!finish(attributes))
        return;

    for (const Origin &origin : origins()) {
        FieldDefinition placed = field;
        placed.name = QString(nameToken.key).replace(kSlotPlaceholder, QString::number(origin.slot));
        placed.rect.translate(origin.offset);
        if (m_grid && m_grid->safe > 0) {
            // Labels on the sheet's edge give up the strip the printer cannot reach.
            const int safe = m_grid->safe;
            const QSize page = m_result.report.pageExtent();
            placed.rect = placed.rect.intersected(QRect(safe, safe, page.width() - 2 * safe, page.height() - 2 * safe));
            if (placed.rect.isEmpty()) {
                fail(nameToken.column,
                     QStringLiteral("%1 が印刷できる範囲（用紙の端から safe=%2）に入りません")
                         .arg(QString(nameToken.key).replace(kSlotPlaceholder, QString::number(origin.slot)))
                         .arg(safe));
                return;
            }
        }
        if (!isValidFieldName(placed.name)) {
            fail(nameToken.column,
                 QStringLiteral("項目名に使えない文字があります（英字で始まる英数字と _）: '%1'").arg(placed.name));
            return;
        }
        const QString key = placed.name.toCaseFolded();
        if (m_fieldLines.contains(key)) {
            fail(nameToken.column,
                 QStringLiteral("項目名 '%1' は %2 行目で定義済みです").arg(placed.name).arg(m_fieldLines.value(key)));
            return;
        }
        if (!fitsPage(placed.rect, keyword))
            return;
        m_fieldLines.insert(key, m_line);
        m_result.report.fields.append(placed);
    }
}

void ReportParser::parseText(const QList<ReportToken> &tokens)
{
    const ReportToken &keyword = tokens.first();
    if (!requirePage(keyword))
        return;
    std::optional<LineAttributes> read = attributesOf(tokens, 1);
    if (!read)
        return;
    LineAttributes &attributes = *read;
    StaticText text;
    if (!readRect(attributes, keyword, &text.rect) || !readTextStyle(attributes, &text.style))
        return;
    const auto content = attributes.take(QStringLiteral("text"));
    if (!content) {
        fail(keyword.column, QStringLiteral("text に文字列（text=\"…\"）がありません"));
        return;
    }
    text.text = content->value;
    if (auto token = attributes.take(QStringLiteral("guide"))) {
        if (auto fault = readSwitch(*token, &text.guide)) {
            fail(*fault);
            return;
        }
    }
    if (!finish(attributes))
        return;
    for (const Origin &origin : origins()) {
        StaticText placed = text;
        placed.rect.translate(origin.offset);
        if (!fitsPage(placed.rect, keyword))
            return;
        m_result.report.texts.append(placed);
    }
}

void ReportParser::parseLineShape(const QList<ReportToken> &tokens)
{
    const ReportToken &keyword = tokens.first();
    if (!requirePage(keyword))
        return;
    std::optional<LineAttributes> read = attributesOf(tokens, 1);
    if (!read)
        return;
    LineAttributes &attributes = *read;
    int values[4] = {0, 0, 0, 0};
    const char *names[4] = {"x1", "y1", "x2", "y2"};
    for (int i = 0; i < 4; ++i) {
        const auto token = attributes.take(QString::fromLatin1(names[i]));
        if (!token) {
            fail(keyword.column, QStringLiteral("line に '%1' がありません（x1, y1, x2, y2 が必要です）")
                                     .arg(QString::fromLatin1(names[i])));
            return;
        }
        if (auto fault = readInteger(*token, 0, kMaxCoordinate, &values[i])) {
            fail(*fault);
            return;
        }
    }
    ShapeDefinition shape;
    shape.kind = ShapeDefinition::Kind::Line;
    shape.line = QLine(values[0], values[1], values[2], values[3]);
    if (!readShapeStroke(attributes, &shape) || !finish(attributes))
        return;
    for (const Origin &origin : origins()) {
        ShapeDefinition placed = shape;
        placed.line.translate(origin.offset);
        // A line may run along the page's edge.
        const QRect page(QPoint(0, 0), m_result.report.pageExtent() + QSize(1, 1));
        if (!page.contains(placed.line.p1()) || !page.contains(placed.line.p2())) {
            fail(keyword.column, QStringLiteral("line が用紙からはみ出しています"));
            return;
        }
        m_result.report.shapes.append(placed);
    }
}

void ReportParser::parseRectangle(const QList<ReportToken> &tokens)
{
    const ReportToken &keyword = tokens.first();
    if (!requirePage(keyword))
        return;
    std::optional<LineAttributes> read = attributesOf(tokens, 1);
    if (!read)
        return;
    LineAttributes &attributes = *read;
    ShapeDefinition shape;
    shape.kind = ShapeDefinition::Kind::Rectangle;
    if (!readRect(attributes, keyword, &shape.rect) || !readShapeStroke(attributes, &shape))
        return;
    if (auto token = attributes.take(QStringLiteral("fill"))) {
        if (auto fault = readColor(*token, &shape.fill)) {
            fail(*fault);
            return;
        }
    }
    if (!finish(attributes))
        return;
    for (const Origin &origin : origins()) {
        ShapeDefinition placed = shape;
        placed.rect.translate(origin.offset);
        if (!fitsPage(placed.rect, keyword))
            return;
        m_result.report.shapes.append(placed);
    }
}

void ReportParser::parseGrid(const QList<ReportToken> &tokens)
{
    const ReportToken &keyword = tokens.first();
    if (!requirePage(keyword))
        return;
    if (m_grid) {
        fail(keyword.column,
             QStringLiteral("grid の中に grid は書けません（%1 行目の grid が閉じていません）").arg(m_grid->line));
        return;
    }
    std::optional<LineAttributes> read = attributesOf(tokens, 1);
    if (!read)
        return;
    LineAttributes &attributes = *read;
    Grid grid;
    grid.line = m_line;
    struct Setting {
        const char *name;
        int min;
        int max;
        int *target;
    };
    int originX = 0, originY = 0, pitchX = 0, pitchY = 0;
    const Setting settings[] = {
        {"cols", 1, 50, &grid.columns},         {"rows", 1, 50, &grid.rows},
        {"x", 0, kMaxCoordinate, &originX},     {"y", 0, kMaxCoordinate, &originY},
        {"pitchx", 0, kMaxCoordinate, &pitchX}, {"pitchy", 0, kMaxCoordinate, &pitchY},
    };
    for (const Setting &setting : settings) {
        const auto token = attributes.take(QString::fromLatin1(setting.name));
        if (!token) {
            fail(keyword.column,
                 QStringLiteral("grid に '%1' がありません（cols, rows, x, y, pitchx, pitchy が必要です）")
                     .arg(QString::fromLatin1(setting.name)));
            return;
        }
        if (auto fault = readInteger(*token, setting.min, setting.max, setting.target)) {
            fail(*fault);
            return;
        }
    }
    if (auto token = attributes.take(QStringLiteral("safe"))) {
        if (auto fault = readInteger(*token, 0, kMaxSafeMargin, &grid.safe)) {
            fail(*fault);
            return;
        }
    }
    if (!finish(attributes))
        return;
    if (grid.columns * grid.rows > kMaxGridSlots) {
        fail(keyword.column, QStringLiteral("grid の枠が多すぎます（%1 枠まで）").arg(kMaxGridSlots));
        return;
    }
    grid.origin = QPoint(originX, originY);
    grid.pitch = QPoint(pitchX, pitchY);
    m_grid = grid;
}

void ReportParser::parseEnd(const QList<ReportToken> &tokens)
{
    if (!m_grid) {
        fail(tokens.first().column, QStringLiteral("対応する grid のない end です"));
        return;
    }
    if (tokens.size() > 1) {
        fail(tokens[1].column, QStringLiteral("end の後には何も書けません"));
        return;
    }
    m_grid.reset();
}

} // namespace

QStringList defaultReportFontFamilies()
{
    return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
            QStringLiteral("IPAGothic")};
}

ReportParseResult parseReport(const QString &text, const QString &fileName) { return ReportParser(fileName).run(text); }

QString describeParseError(const QString &fileName, const ReportParseError &error)
{
    if (error.column > 0)
        return QStringLiteral("%1 %2行 %3桁目: %4").arg(fileName).arg(error.line).arg(error.column).arg(error.message);
    return QStringLiteral("%1 %2行: %3").arg(fileName).arg(error.line).arg(error.message);
}

} // namespace corvane
