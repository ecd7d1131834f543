#pragma once

#include "ReportDefinition.h"
#include "ReportTokenizer.h"

#include <QList>
#include <QString>

#include <optional>

namespace corvane {

struct AttributeFault {
    int column = 0;
    QString message;
};

// The attributes of one line, each to be taken at most once; whatever is
// left over at the end is an unknown attribute.
class LineAttributes {
public:
    explicit LineAttributes(QList<ReportToken> tokens) : m_tokens(std::move(tokens)) {}

    std::optional<AttributeFault> duplicate() const
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i)
            for (qsizetype j = 0; j < i; ++j)
                if (m_tokens[i].key.compare(m_tokens[j].key, Qt::CaseInsensitive) == 0)
                    return AttributeFault{m_tokens[i].column,
                                          QStringLiteral("同じ属性が二度あります: '%1'").arg(m_tokens[i].key)};
        return std::nullopt;
    }

    std::optional<ReportToken> take(const QString &key)
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            if (m_tokens[i].key.compare(key, Qt::CaseInsensitive) == 0)
                return m_tokens.takeAt(i);
        }
        return std::nullopt;
    }

    std::optional<AttributeFault> leftover() const
    {
        if (m_tokens.isEmpty())
            return std::nullopt;
        return AttributeFault{m_tokens.first().column,
                              QStringLiteral("不明な属性です: '%1'").arg(m_tokens.first().key)};
    }

private:
    QList<ReportToken> m_tokens;
};

// Readers of attribute values; each returns the fault, or stores the value.
std::optional<AttributeFault> requireValue(const ReportToken &token);
std::optional<AttributeFault> readInteger(const ReportToken &token, int min, int max, int *out);
std::optional<AttributeFault> readDecimal(const ReportToken &token, qreal min, qreal max, qreal *out);
std::optional<AttributeFault> readSwitch(const ReportToken &token, bool *out);
std::optional<AttributeFault> readColor(const ReportToken &token, QColor *out);
std::optional<AttributeFault> readAlignment(const ReportToken &token, TextStyle *style);
std::optional<AttributeFault> readFrame(const ReportToken &token, Qt::Edges *out);
std::optional<AttributeFault> readPadding(const ReportToken &token, TextStyle *style);

} // namespace corvane
