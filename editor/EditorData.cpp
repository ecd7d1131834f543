// Loading a product into the editor and saving it back.
#include "Catalogue.h"
#include "FrmPuroductDataInput.h"

#include <QRadioButton>

#include <algorithm>

namespace corvane {

void FrmPuroductDataInput::ReadData(qint32 ProductID)
{
    // Leaving a product for another saves it first; reloading the same one drops changes.
    if (m_state.productId.value_or(-1) != ProductID)
        WriteData(m_state.productId);
    loadProduct(ProductID);
}

void FrmPuroductDataInput::loadProduct(qint32 productId)
{
    const std::optional<ProductWithEntries> stored = catalogue::productWithEntries(*dbs, productId);
    if (!stored) {
        setProductName(QString());
        setText(3, QString());
        setText(4, QString());
        Option1[0]->setChecked(true);
    } else {
        const ProductRecord &product = stored->product;
        setProductName(product.nameText());
        setText(3, product.notesText());
        setText(4, product.ingredientsText());
        // Only 0 is the several-substance mode; any other stored kind shows as single.
        Option1[product.itemType.value_or(0) == 0 ? 0 : 1]->setChecked(true);
    }

    // A number that names no substance of this master is not shown, but kept: a newer
    // master may know it, and a save must not lose it.
    m_state.ticks.clear();
    m_state.unlisted.clear();
    if (stored)
        for (int number : stored->substanceNumbers()) {
            if (number >= 1 && number <= m_state.ticks.count())
                m_state.ticks.setChecked(number, true);
            else if (number > m_state.ticks.count())
                m_state.unlisted.push_back(number);
        }
    Check1_Click();
}

void FrmPuroductDataInput::WriteData(std::optional<int> productId)
{
    if (!productId || *productId < 1)
        return;
    std::vector<int> numbers = m_state.ticks.ticked();
    numbers.insert(numbers.end(), m_state.unlisted.begin(), m_state.unlisted.end());
    std::sort(numbers.begin(), numbers.end());
    catalogue::saveProduct(*dbs, *productId, numbers,
                           {m_state.nameToSave(), m_state.notes, m_state.ingredients,
                            m_state.singleSubstance ? 1 : 0});
}

} // namespace corvane
