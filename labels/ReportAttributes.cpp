#include "ReportAttributes.h"

#include <QRegularExpression>

#include <cmath>

namespace corvane {

std::optional<AttributeFault> requireValue(const ReportToken &token)
{
    if (!token.hasValue || token.value.isEmpty())
        return AttributeFault{token.column, QStringLiteral("'%1' には値が必要です").arg(token.key)};
    return std::nullopt;
}

std::optional<AttributeFault> readInteger(const ReportToken &token, int min, int max, int *out)
{
    if (auto fault = requireValue(token))
        return fault;
    bool ok = false;
    const int value = token.value.toInt(&ok);
    if (!ok)
        return AttributeFault{token.valueColumn,
                              QStringLiteral("'%1' は整数で書いてください: '%2'").arg(token.key, token.value)};
    if (value < min || value > max)
        return AttributeFault{
            token.valueColumn,
            QStringLiteral("'%1' の値 %2 が範囲外です（%3〜%4）").arg(token.key).arg(value).arg(min).arg(max)};
    *out = value;
    return std::nullopt;
}

std::optional<AttributeFault> readDecimal(const ReportToken &token, qreal min, qreal max, qreal *out)
{
    if (auto fault = requireValue(token))
        return fault;
    bool ok = false;
    const double value = token.value.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return AttributeFault{token.valueColumn,
                              QStringLiteral("'%1' は数値で書いてください: '%2'").arg(token.key, token.value)};
    if (value < min || value > max)
        return AttributeFault{
            token.valueColumn,
            QStringLiteral("'%1' の値 %2 が範囲外です（%3〜%4）").arg(token.key, token.value).arg(min).arg(max)};
    *out = value;
    return std::nullopt;
}

std::optional<AttributeFault> readSwitch(const ReportToken &token, bool *out)
{
    if (!token.hasValue) {
        *out = true;
        return std::nullopt;
    }
    const QString value = token.value.toLower();
    if (value == u"on" || value == u"yes" || value == u"true") {
        *out = true;
        return std::nullopt;
    }
    if (value == u"off" || value == u"no" || value == u"false") {
        *out = false;
        return std::nullopt;
    }
    return AttributeFault{token.valueColumn,
                          QStringLiteral("'%1' は on か off で書いてください: '%2'").arg(token.key, token.value)};
}

std::optional<AttributeFault> readColor(const ReportToken &token, QColor *out)
{
    if (auto fault = requireValue(token))
        return fault;
    static const QRegularExpression hex(QStringLiteral("^#([0-9a-fA-F]{3}|[0-9a-fA-F]{6})$"));
    static const QRegularExpression name(QStringLiteral("^[a-zA-Z]+$"));
    const QColor color(token.value);
    if ((!hex.match(token.value).hasMatch() && !name.match(token.value).hasMatch()) || !color.isValid())
        return AttributeFault{token.valueColumn, QStringLiteral("色の書き方が正しくありません: '%1'").arg(token.value)};
    *out = color;
    return std::nullopt;
}

std::optional<AttributeFault> readAlignment(const ReportToken &token, TextStyle *style)
{
    if (auto fault = requireValue(token))
        return fault;
    for (const QString &part : token.value.split(u',')) {
        const QString word = part.trimmed().toLower();
        if (word == u"left")
            style->horizontalAlignment = HorizontalAlignment::Left;
        else if (word == u"center" || word == u"centre")
            style->horizontalAlignment = HorizontalAlignment::Center;
        else if (word == u"right")
            style->horizontalAlignment = HorizontalAlignment::Right;
        else if (word == u"top")
            style->verticalAlignment = VerticalAlignment::Top;
        else if (word == u"middle")
            style->verticalAlignment = VerticalAlignment::Middle;
        else if (word == u"bottom")
            style->verticalAlignment = VerticalAlignment::Bottom;
        else
            return AttributeFault{token.valueColumn,
                                  QStringLiteral("揃えは left/center/right と top/middle/bottom で書いてください: '%1'")
                                      .arg(token.value)};
    }
    return std::nullopt;
}

std::optional<AttributeFault> readFrame(const ReportToken &token, Qt::Edges *out)
{
    if (auto fault = requireValue(token))
        return fault;
    Qt::Edges edges;
    for (const QString &part : token.value.split(u',')) {
        const QString word = part.trimmed().toLower();
        if (word == u"all")
            edges = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;
        else if (word == u"none")
            edges = {};
        else if (word == u"left")
            edges |= Qt::LeftEdge;
        else if (word == u"top")
            edges |= Qt::TopEdge;
        else if (word == u"right")
            edges |= Qt::RightEdge;
        else if (word == u"bottom")
            edges |= Qt::BottomEdge;
        else
            return AttributeFault{
                token.valueColumn,
                QStringLiteral("枠は all/none/left/top/right/bottom で書いてください: '%1'").arg(token.value)};
    }
    *out = edges;
    return std::nullopt;
}

// `pad=10` on all sides, or `pad=20,5` left and right, top and bottom.
std::optional<AttributeFault> readPadding(const ReportToken &token, TextStyle *style)
{
    const QStringList parts = token.value.split(u',');
    if (!token.hasValue || parts.size() > 2)
        return AttributeFault{token.column, QStringLiteral("pad は pad=10 か pad=20,5 の形で書いてください")};
    int values[2] = {0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        ReportToken part = token;
        part.value = parts[i].trimmed();
        if (auto fault = readInteger(part, 0, 1000, &values[i]))
            return fault;
    }
    style->horizontalPadding = values[0];
    style->verticalPadding = parts.size() == 2 ? values[1] : values[0];
    return std::nullopt;
}

} // namespace corvane
