#include "ProductSelectDialog.h"
#include "Catalogue.h"
#include "DialogButtons.h"
#include "ErrorBoundary.h"
#include "Fonts.h"
#include "ListView.h"
#include "MessageBox.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {
namespace {

// IDs are listed with at least three digits: 7 as 007, 1234 as 1234.
QString idText(int id)
{
    const auto number = static_cast<qint64>(id);
    const QString digits = QString::number(qAbs(number)).rightJustified(3, QLatin1Char('0'));
    return number < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

ProductSelectDialog::ProductSelectDialog(QWidget *parent) : QDialog(parent) { buildControls(); }

void ProductSelectDialog::buildControls()
{
    setWindowTitle(QStringLiteral("製品名選択"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(gothicFont(10.5));
    resize(388, 403);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(16, 8, 16, 8);
    m_layout->setSpacing(8);

    promptLabel = new QLabel(QStringLiteral("製品名を選択してください。"), this);
    m_layout->addWidget(promptLabel);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(23);
    okButton = addDialogButton(this, buttons, QStringLiteral("ＯＫ"));
    cancelButton = addDialogButton(this, buttons, QStringLiteral("キャンセル"));
    connect(okButton, &QPushButton::clicked, this, &ProductSelectDialog::acceptChoice);
    connect(cancelButton, &QPushButton::clicked, this, &ProductSelectDialog::reject);
    buttons->addStretch();
    okButton->setDefault(true);
    m_layout->addLayout(buttons);
}

bool ProductSelectDialog::buildList()
{
    // Every opening starts with a fresh list: unsorted, no heading remembering an order.
    delete productList;
    productList = new ListView(this);
    m_layout->insertWidget(1, productList, 1);
    // The ID is what corvane-print --product takes; it stands after the name, where typed
    // letters still find a product by its name.
    productList->addColumn(QStringLiteral("ID"),
                           productList->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    productList->addColumn(QStringLiteral("製品名"), 20);
    productList->header()->moveSection(1, 0);
    productList->header()->setStretchLastSection(false);
    productList->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(productList, &ListView::itemClick, this, &ProductSelectDialog::markRow);
    connect(productList, &ListView::dblClick, this, &ProductSelectDialog::chooseOnDoubleClick);
    connect(productList, &ListView::columnClick, this, &ProductSelectDialog::sortByColumn);
    setTabOrder(productList, okButton);
    setTabOrder(okButton, cancelButton);
    productList->setFocus();

    if (!guarded(this, [this] { readProducts(); }))
        return false;
    // Opens in name order, so the product is found where its name puts it.
    sortByClickedColumn(productList->items(), productList->items().column(2));
    productList->showSortOrder();
    if (productList->items().count() > 0)
        markRow(0);
    return true;
}

void ProductSelectDialog::readProducts()
{
    std::vector<ListItem> items;
    for (const ProductRecord &product : catalogue::allProducts(*m_database))
        items.push_back({idText(product.id), product.nameText(), 0, {}, product.nameText()});
    productList->items().setItems(std::move(items));
}

int ProductSelectDialog::choose(Database &database, QString &name)
{
    m_database = &database;
    // Only ＯＫ sets a choice; any other ending returns -1, never an earlier opening's choice.
    m_selectedProductId = -1;
    m_selectedName.clear();
    if (buildList())
        exec();
    if (m_selectedProductId > 0)
        name = m_selectedName;
    return m_selectedProductId;
}

void ProductSelectDialog::acceptChoice()
{
    const int selected = productList->selectedItem();
    if (selected < 0) {
        MsgBox(this, QStringLiteral("製品名を選択してください。"));
        return;
    }
    const ListItem &item = productList->items().item(selected);
    m_selectedProductId = item.text.toInt();
    m_selectedName = item.subItem;
    accept();
}

void ProductSelectDialog::markRow(int position)
{
    productList->setSelectedItem(position);
    productList->items().setDropHighlight(position);
}

void ProductSelectDialog::chooseOnDoubleClick()
{
    if (productList->selectedItem() >= 0)
        acceptChoice();
}

void ProductSelectDialog::sortByColumn(int index1Based)
{
    ListModel &items = productList->items();
    sortByClickedColumn(items, items.column(index1Based));
}

} // namespace corvane
