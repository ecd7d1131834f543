#include "Records.h"
#include "Module1.h"

#include <QVariant>

#include <cmath>
#include <limits>

namespace corvane {

std::optional<int> wholeNumber(const QVariant &value)
{
    const double number = ValOrDefault(value, std::nan(""));
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
