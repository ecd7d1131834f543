// Loading a product into the editor and saving it back.
#include "Catalogue.h"
#include "FrmPuroductDataInput.h"

#include <QRadioButton>

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

    // A number that names no substance of this master is not shown.
    m_state.ticks.clear();
    if (stored)
        for (int number : stored->substanceNumbers())
            m_state.ticks.setChecked(number, true);
    Check1_Click();
}

void FrmPuroductDataInput::WriteData(std::optional<int> productId)
{
    if (!productId || *productId < 1)
        return;
    catalogue::saveProduct(*dbs, *productId, m_state.ticks.ticked(),
                           {m_state.nameToSave(), m_state.notes, m_state.ingredients,
                            m_state.singleSubstance ? 1 : 0});
}

} // namespace corvane
