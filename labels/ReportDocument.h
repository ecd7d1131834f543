#pragma once

#include "ReportDefinition.h"

#include <QList>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

namespace corvane {

// A report with the values the printing run gave its fields: the text (or
// "#BMP=" picture reference) and the placement of every field, in 0.1 mm.
class FilledPage {
public:
    explicit FilledPage(std::shared_ptr<const ReportDefinition> report);

    const ReportDefinition &report() const { return *m_report; }

    // Both return false, and change nothing, for a name the report lacks.
    bool setText(const QString &fieldName, const QString &text);
    bool setRect(const QString &fieldName, const QRect &rect);

    std::optional<QString> text(const QString &fieldName) const;
    std::optional<QRect> rect(const QString &fieldName) const;

    // By position in report().fields.
    const QString &textAt(qsizetype index) const { return m_texts[index]; }
    const QRect &rectAt(qsizetype index) const { return m_rects[index]; }

private:
    std::shared_ptr<const ReportDefinition> m_report;
    QList<QString> m_texts;
    QList<QRect> m_rects;
};

// One printed sheet: each played report is painted over the ones before.
struct ReportSheet {
    QList<FilledPage> layers;
};

struct ReportDocument {
    QString title;
    QList<ReportSheet> sheets;
};

// A field of a finished document: the sheet (from 0) and the field's name; for a field that
// could not be printed whole, the characters no font has (empty when it was only too long).
struct SheetField {
    int sheet = 0;
    QString field;
    QString unprintable;
};

inline constexpr QStringView kPicturePrefix = u"#BMP=";

// The picture a field's text names, as written ("Data\GHS02.svg"), if any. Only a field
// whose style takes pictures names one, so a product name or notes typed by a user that
// begin with "#BMP=" are printed as they are.
std::optional<QString> pictureReference(const TextStyle &style, const QString &fieldText);

} // namespace corvane
