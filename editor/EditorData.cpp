// Loading a product into the editor and saving it back.
#include "Catalogue.h"
#include "FocusMoves.h"
#include "FrmPuroductDataInput.h"
#include "Module1.h"

#include <QRadioButton>

#include <cmath>

namespace corvane {

void FrmPuroductDataInput::ReadData(qint32 ProductID)
{
    // Leaving a product for another saves it first; reloading the same one drops changes.
    if (ValOrDefault(tagOf(Text1[0]), 0) != ProductID)
        WriteData(tagOf(Text1[0]));

    const std::vector<ProductEntryRow> rows = catalogue::productWithEntries(*dbs, ProductID);
    if (rows.empty()) {
        setProductName(QString());
        setText(3, QString());
        setText(4, QString());
        Option1[0]->setChecked(true);
    } else {
        const ProductRecord &product = rows.front().product;
        setProductName(NullToStr(product.name, QString()));
        setText(3, NullToStr(product.notes, QString()));
        setText(4, NullToStr(product.ingredients, QString()));
        // Only 0 is the several-substance mode; any other stored kind shows as single.
        const int kind = ValOrDefault(product.itemType, 0) == 0 ? 0 : 1;
        Option1[static_cast<size_t>(kind)]->setChecked(true);
    }

    const int n = substanceCount();
    for (int i = 1; i <= n; ++i)
        strSubstance[static_cast<size_t>(i)][0].clear();
    for (const ProductEntryRow &row : rows) {
        for (const QVariant &slot : row.entry.itemId) {
            const double number = ValOrDefault(slot, -1);
            // A value that names no substance of this master is skipped.
            if (number >= 1 && number <= n && number == std::floor(number))
                strSubstance[static_cast<size_t>(number)][0] = QStringLiteral("1");
        }
    }
    Check1_Click();
}

QString FrmPuroductDataInput::nameToSave() const
{
    // While a typed name waits for its lookup, the box holds a search key, not a new name.
    return intChangedIndex == 0 ? m_loadedName : text(0);
}

void FrmPuroductDataInput::WriteData(const QVariant &varProductID)
{
    const double number = ValOrDefault(varProductID, -1);
    if (number < 1 || number > INT32_MAX)
        return;
    const auto id = static_cast<qint32>(number);

    std::vector<int> selected;
    const int n = substanceCount();
    for (int i = 1; i <= n; ++i)
        if (strSubstance[static_cast<size_t>(i)][0] == QLatin1String("1"))
            selected.push_back(i);

    catalogue::saveProduct(*dbs, id, selected, StrToNull(nameToSave()), StrToNull(text(3)), StrToNull(text(4)),
                           Option1[1]->isChecked() ? 1 : 0);
}

} // namespace corvane
