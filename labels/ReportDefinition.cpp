#include "ReportDefinition.h"

namespace corvane {

QSize ReportDefinition::pageExtent() const
{
    const QSizeF millimetres = QPageSize(pageSize).size(QPageSize::Millimeter);
    QSize extent(qRound(millimetres.width() * 10), qRound(millimetres.height() * 10));
    if (orientation == QPageLayout::Landscape)
        extent.transpose();
    return extent;
}

std::optional<qsizetype> ReportDefinition::fieldIndex(const QString &name) const
{
    // Names come as the report writes them nearly always; folding the case of every name
    // looked up took 3 % of printing a long list.
    if (const auto exact = m_exactIndex.constFind(name); exact != m_exactIndex.constEnd())
        return *exact;
    const auto found = m_fieldIndex.constFind(name.toCaseFolded());
    if (found == m_fieldIndex.constEnd())
        return std::nullopt;
    return *found;
}

const FieldDefinition *ReportDefinition::field(const QString &name) const
{
    const auto index = fieldIndex(name);
    return index ? &fields[*index] : nullptr;
}

void ReportDefinition::indexFields()
{
    m_fieldIndex.clear();
    m_exactIndex.clear();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        m_fieldIndex.insert(fields[i].name.toCaseFolded(), i);
        m_exactIndex.insert(fields[i].name, i);
    }
}

} // namespace corvane
