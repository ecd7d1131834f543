#include "ReportDocument.h"

namespace corvane {

FilledPage::FilledPage(std::shared_ptr<const ReportDefinition> report) : m_report(std::move(report))
{
    m_texts.reserve(m_report->fields.size());
    m_rects.reserve(m_report->fields.size());
    for (const FieldDefinition &field : m_report->fields) {
        m_texts.append(field.defaultText);
        m_rects.append(field.rect);
    }
}

bool FilledPage::setText(const QString &fieldName, const QString &text)
{
    const auto index = m_report->fieldIndex(fieldName);
    if (!index)
        return false;
    m_texts[*index] = text;
    return true;
}

bool FilledPage::setRect(const QString &fieldName, const QRect &rect)
{
    const auto index = m_report->fieldIndex(fieldName);
    if (!index)
        return false;
    m_rects[*index] = rect;
    return true;
}

std::optional<QString> FilledPage::text(const QString &fieldName) const
{
    const auto index = m_report->fieldIndex(fieldName);
    return index ? std::optional<QString>(m_texts[*index]) : std::nullopt;
}

std::optional<QRect> FilledPage::rect(const QString &fieldName) const
{
    const auto index = m_report->fieldIndex(fieldName);
    return index ? std::optional<QRect>(m_rects[*index]) : std::nullopt;
}

std::optional<QString> pictureReference(const TextStyle &style, const QString &fieldText)
{
    if (!style.picture || !fieldText.startsWith(kPicturePrefix, Qt::CaseInsensitive))
        return std::nullopt;
    return fieldText.mid(kPicturePrefix.size()).trimmed();
}

} // namespace corvane
