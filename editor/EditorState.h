#pragma once
#include "Catalogue.h"
#include "ListModel.h"
#include "ProductMixture.h"
#include "Records.h"
#include "SubstanceSearch.h"

#include <QString>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace corvane {

// The ticks of the product on screen, one per substance of the master, found by the
// substance's number (its ID, never its place in a list): the only place they are kept. The
// list shows them; saving writes them.
class TickStore : public CheckMarks {
public:
    // The master's substance numbers, ascending; every tick cleared.
    void reset(std::vector<int> numbers)
    {
        m_numbers = std::move(numbers);
        m_ticks.assign(m_numbers.size(), false);
    }
    int count() const { return static_cast<int>(m_numbers.size()); }
    void clear() { std::fill(m_ticks.begin(), m_ticks.end(), false); }
    // Whether the master has a substance of that number.
    bool contains(int number) const { return indexOf(number).has_value(); }

    bool isChecked(int number) const override
    {
        const auto index = indexOf(number);
        return index && m_ticks[*index];
    }
    void setChecked(int number, bool checked) override
    {
        if (const auto index = indexOf(number))
            m_ticks[*index] = checked;
    }
    // The ticked substance numbers, ascending.
    std::vector<int> ticked() const
    {
        std::vector<int> numbers;
        for (size_t i = 0; i < m_numbers.size(); ++i)
            if (m_ticks[i])
                numbers.push_back(m_numbers[i]);
        return numbers;
    }

private:
    std::optional<size_t> indexOf(int number) const
    {
        const auto at = std::lower_bound(m_numbers.begin(), m_numbers.end(), number);
        if (at == m_numbers.end() || *at != number)
            return std::nullopt;
        return static_cast<size_t>(at - m_numbers.begin());
    }
    std::vector<int> m_numbers;
    std::vector<bool> m_ticks;
};

// Everything the editor knows; its controls show this and write their changes into it.
struct EditorState {
    std::vector<SubstanceRecord> master; // in ascending substance number (ID)
    std::vector<SearchKey> searchKeys;   // the same order
    QString search;                      // the substance search as typed
    TickStore ticks;
    std::vector<int> unlisted;             // stored numbers this master lacks, saved back as they are
    std::optional<int> productId;          // the product on screen, stored under storedName
    int revision = 0;                      // of the product as loaded or last saved
    catalogue::ProductFields storedFields; // what that revision holds, to tell whether the
    ProductMixture storedMixture;          // screen has changed anything since
    std::vector<int> storedNumbers;        // screen has changed anything since
    QString storedName;
    QString name, notes, ingredients; // the three boxes as typed (line breaks as CR LF)
    bool singleSubstance = false;     // the label mode
    ProductMixture mixture;           // contents of the ticked substances and the product's data
    struct UnreadContent {
        QString typed, message;
    };
    std::map<int, UnreadContent> unreadContents; // typed contents that are no number, by substance
    QStringList propertyProblems;                // typed product data that is no number
    bool nameAwaitsLookup = false;               // the name box changed since it was last left

    // The substance of that number; the number must be one of the master's.
    const SubstanceRecord &substance(int number) const
    {
        return *std::lower_bound(master.begin(), master.end(), number,
                                 [](const SubstanceRecord &s, int n) { return s.id < n; });
    }
    // The name a save writes: while a typed name waits for its lookup, the box holds a
    // search key, not a new name.
    const QString &nameToSave() const { return nameAwaitsLookup ? storedName : name; }
};

} // namespace corvane
