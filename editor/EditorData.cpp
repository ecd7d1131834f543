// Loading a product into the editor and saving it back.
#include "Catalogue.h"
#include "ErrorBoundary.h"
#include "MessageBox.h"
#include "ProductEditor.h"

#include <QRadioButton>

#include <algorithm>

namespace corvane {

void ProductEditor::readProduct(qint32 productId)
{
    // Leaving a product for another saves it first; reloading the same one drops changes.
    if (m_state.productId.value_or(-1) != productId)
        writeProduct(m_state.productId);
    loadProduct(productId);
}

void ProductEditor::loadProduct(qint32 productId)
{
    const std::optional<ProductWithEntries> stored = catalogue::productWithEntries(*m_database, productId);
    if (!stored) {
        m_state.revision = 0;
        setProductName(QString());
        setText(notesBox, QString());
        setText(ingredientsBox, QString());
        multipleSubstancesRadio->setChecked(true);
    } else {
        const ProductRecord &product = stored->product;
        m_state.revision = product.revision;
        setProductName(product.nameText());
        setText(notesBox, product.notesText());
        setText(ingredientsBox, product.ingredientsText());
        // Only 0 is the several-substance mode; any other stored kind shows as single.
        (product.itemType.value_or(0) == 0 ? multipleSubstancesRadio : singleSubstanceRadio)->setChecked(true);
    }

    // A number that names no substance of this master is not shown, but kept: a newer
    // master may know it, and a save must not lose it. 0 and below mark an empty slot.
    m_state.ticks.clear();
    m_state.unlisted.clear();
    if (stored)
        for (int number : stored->substanceNumbers()) {
            if (m_state.ticks.contains(number))
                m_state.ticks.setChecked(number, true);
            else if (number >= 1)
                m_state.unlisted.push_back(number);
        }
    m_state.mixture = stored ? catalogue::productMixture(*m_database, productId) : ProductMixture{};
    m_state.unreadContents.clear();
    m_state.storedNumbers = numbersToSave();
    m_state.storedFields = {m_state.storedName, m_state.notes, m_state.ingredients, m_state.singleSubstance ? 1 : 0};
    m_state.storedMixture = m_state.mixture;
    refillList();
    showProperties();
    showContents();
}

std::vector<int> ProductEditor::numbersToSave() const
{
    std::vector<int> numbers = m_state.ticks.ticked();
    numbers.insert(numbers.end(), m_state.unlisted.begin(), m_state.unlisted.end());
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

void ProductEditor::writeProduct(std::optional<int> productId)
{
    if (!productId || *productId < 1)
        return;
    const std::vector<int> numbers = numbersToSave();
    const catalogue::ProductFields fields{m_state.nameToSave(), m_state.notes, m_state.ingredients,
                                          m_state.singleSubstance ? 1 : 0};
    const catalogue::SaveResult saved = savedOrThrow(
        catalogue::saveProduct(*m_database, *productId, numbers, fields, m_state.revision, &m_state.mixture));
    if (saved.outcome == catalogue::SaveResult::Saved) {
        m_state.revision = saved.revision;
        m_state.storedFields = fields;
        m_state.storedMixture = m_state.mixture;
        m_state.storedNumbers = numbers;
    } else if (numbers == m_state.storedNumbers && fields == m_state.storedFields
               && m_state.mixture == m_state.storedMixture) {
        // Nothing was changed here: the other program's version stands and is shown.
        if (saved.outcome == catalogue::SaveResult::DeletedElsewhere)
            m_state.productId.reset();
        loadProduct(m_state.productId.value_or(-1));
        m_state.nameAwaitsLookup = false;
    } else {
        keepBothVersions(numbers, fields, saved.outcome == catalogue::SaveResult::DeletedElsewhere);
    }
}

void ProductEditor::keepBothVersions(const std::vector<int> &numbers, catalogue::ProductFields fields,
                                     bool deletedElsewhere)
{
    const QString copyName = catalogue::freeCopyName(*m_database, fields.name);
    const bool reload =
        MsgBox(this,
               QStringLiteral("この製品はほかの画面で変更されました。\n\n"
                              "「OK」: 保存されている内容を読み込み直します（この画面の変更は保存されません）。\n"
                              "「キャンセル」: この画面の内容を新しい製品「%1」として保存します。")
                   .arg(copyName),
               MsgIcon::Question, MsgButtons::OkCancel)
        == MsgResult::Ok;
    if (reload) {
        if (deletedElsewhere)
            m_state.productId.reset();
        loadProduct(m_state.productId.value_or(-1));
    } else {
        // Another PC may take the name first: then the next free one.
        const QString original = fields.name;
        std::optional<int> copy;
        for (QString name = copyName; !copy; name = catalogue::freeCopyName(*m_database, original)) {
            copy = savedOrThrow(catalogue::registerProduct(*m_database, name));
            fields.name = name;
        }
        m_state.revision =
            savedOrThrow(catalogue::saveProduct(*m_database, *copy, numbers, fields, std::nullopt, &m_state.mixture))
                .revision;
        m_state.productId = *copy;
        setProductName(fields.name);
    }
    m_state.nameAwaitsLookup = false;
}

} // namespace corvane
