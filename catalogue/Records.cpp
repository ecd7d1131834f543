#include "Records.h"

#include <QVariant>

#include <cmath>
#include <limits>

namespace corvane {

namespace {

// The value as a number: a number, or text that reads as a finite one; else NaN.
double numberIn(const QVariant &value)
{
    if (value.isNull())
        return std::nan("");
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long: return value.toDouble();
    default: break;
    }
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    return ok && std::isfinite(number) ? number : std::nan("");
}

} // namespace

std::optional<int> wholeNumber(const QVariant &value)
{
    const double number = numberIn(value);
    if (std::isnan(number) || number != std::floor(number) || number < std::numeric_limits<int>::min()
        || number > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(number);
}

std::vector<int> ProductWithEntries::substanceNumbers() const
{
    std::vector<int> numbers;
    for (const EntryRecord &entry : entries)
        for (const std::optional<int> &slot : entry.itemId)
            if (slot)
                numbers.push_back(*slot);
    return numbers;
}

} // namespace corvane
