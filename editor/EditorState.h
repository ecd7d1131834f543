#pragma once
#include "Catalogue.h"
#include "ListModel.h"
#include "Records.h"
#include "SubstanceSearch.h"

#include <QString>

#include <optional>
#include <vector>

namespace corvane {

// The ticks of the product on screen, one per substance number (1 to count): the only place
// they are kept. The list shows them; saving writes them.
class TickStore : public CheckMarks {
public:
    void reset(int substanceCount) { m_ticks.assign(static_cast<size_t>(substanceCount) + 1, false); }
    int count() const { return m_ticks.empty() ? 0 : static_cast<int>(m_ticks.size()) - 1; }
    void clear() { std::fill(m_ticks.begin(), m_ticks.end(), false); }

    bool isChecked(int number) const override { return contains(number) && m_ticks[static_cast<size_t>(number)]; }
    void setChecked(int number, bool checked) override
    {
        if (contains(number))
            m_ticks[static_cast<size_t>(number)] = checked;
    }
    // The ticked substance numbers, ascending.
    std::vector<int> ticked() const
    {
        std::vector<int> numbers;
        for (int number = 1; number <= count(); ++number)
            if (m_ticks[static_cast<size_t>(number)])
                numbers.push_back(number);
        return numbers;
    }

private:
    bool contains(int number) const { return number >= 1 && number <= count(); }
    std::vector<bool> m_ticks;
};

// Everything the editor knows; its controls show this and write their changes into it.
struct EditorState {
    std::vector<SubstanceRecord> master; // substance number i at i - 1
    std::vector<SearchKey> searchKeys;   // the same order
    QString search;                      // the substance search as typed
    TickStore ticks;
    std::vector<int> unlisted;           // stored numbers this master lacks, saved back as they are
    std::optional<int> productId;        // the product on screen, stored under storedName
    int revision = 0;                    // of the product as loaded or last saved
    catalogue::ProductFields storedFields; // what that revision holds, to tell whether the
    std::vector<int> storedNumbers;        // screen has changed anything since
    QString storedName;
    QString name, notes, ingredients;    // the three boxes as typed (line breaks as CR LF)
    bool singleSubstance = false;        // the label mode
    qint16 intChangedIndex = -1;         // the box changed since it was last left, -1 for none

    const SubstanceRecord &substance(int number) const { return master[static_cast<size_t>(number - 1)]; }
    // The name a save writes: while a typed name waits for its lookup, the box holds a
    // search key, not a new name.
    const QString &nameToSave() const { return intChangedIndex == 0 ? storedName : name; }
};

} // namespace corvane
