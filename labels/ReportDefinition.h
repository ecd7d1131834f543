#pragma once

#include <QColor>
#include <QHash>
#include <QLine>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvane {

// All lengths in a report are integers in 0.1 mm; font sizes are in points.

enum class HorizontalAlignment { Left, Center, Right };
enum class VerticalAlignment { Top, Middle, Bottom };

struct TextStyle {
    QStringList fontFamilies;
    qreal pointSize = 9.0;
    qreal minimumPointSize = 9.0; // equal to pointSize: never shrinks
    bool bold = false;
    QColor color = Qt::black;
    HorizontalAlignment horizontalAlignment = HorizontalAlignment::Left;
    VerticalAlignment verticalAlignment = VerticalAlignment::Top;
    bool wrap = false;
    bool picture = false;     // "#BMP=…" shows a picture; in any other field all text is text
    int columns = 1;          // a long list may flow into up to this many columns to stay larger
    qreal lineSpacing = 1.15; // line pitch as a multiple of the font size
    // Text that does not fit: with wholeParagraphs a paragraph (one statement) is shown whole
    // or not at all; with a moreMark the last line shown ends, at a word, with that mark.
    bool wholeParagraphs = false;
    QString moreMark;
    int horizontalPadding = 0; // between the frame and the text
    int verticalPadding = 0;
    Qt::Edges frameEdges;
    int frameWidth = 3;
    QColor frameColor = Qt::black;
    QColor fill; // invalid: no background
};

struct FieldDefinition {
    QString name;
    QRect rect;
    TextStyle style;
    QString defaultText;
};

struct StaticText {
    QRect rect;
    TextStyle style;
    QString text;
    bool guide = false;
};

struct ShapeDefinition {
    enum class Kind { Line, Rectangle };
    Kind kind = Kind::Line;
    QLine line;
    QRect rect;
    int width = 3;
    QColor color = Qt::black;
    QColor fill;
    bool guide = false; // drawn only when guides are shown (label outlines on pre-cut stock)
};

struct ReportDefinition {
    QString fileName;
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    bool guides = false;
    QList<FieldDefinition> fields;
    QList<StaticText> texts;
    QList<ShapeDefinition> shapes;

    // Page extent in 0.1 mm, orientation applied.
    QSize pageExtent() const;
    // Field lookup ignores letter case, as the printing program always has.
    std::optional<qsizetype> fieldIndex(const QString &name) const;
    const FieldDefinition *field(const QString &name) const;
    void indexFields();

private:
    QHash<QString, qsizetype> m_fieldIndex; // by case-folded name
    QHash<QString, qsizetype> m_exactIndex; // by name as written
};

} // namespace corvane
