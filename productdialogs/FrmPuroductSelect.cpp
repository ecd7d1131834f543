#include "FrmPuroductSelect.h"
#include "Catalogue.h"
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

FrmPuroductSelect::FrmPuroductSelect(QWidget *parent) : QDialog(parent)
{
    buildControls();
}

void FrmPuroductSelect::buildControls()
{
    setWindowTitle(QStringLiteral("製品名選択"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(gothicFont(10.5));
    resize(388, 403);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(16, 8, 16, 8);
    m_layout->setSpacing(8);

    Label1[0] = new QLabel(QStringLiteral("製品名を選択してください。"), this);
    m_layout->addWidget(Label1[0]);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(23);
    for (auto [index, caption] : {std::pair{0, QStringLiteral("ＯＫ")}, std::pair{1, QStringLiteral("キャンセル")}}) {
        auto *button = new QPushButton(caption, this);
        button->setFixedSize(105, 33);
        connect(button, &QPushButton::clicked, this, [this, index = index] { Command1_Click(index); });
        Command1[index] = button;
        buttons->addWidget(button);
    }
    buttons->addStretch();
    Command1[0]->setDefault(true);
    m_layout->addLayout(buttons);
}

bool FrmPuroductSelect::Form_Load()
{
    // Every opening starts with a fresh list: unsorted, no heading remembering an order.
    delete ListView1;
    ListView1 = new ListView(this);
    m_layout->insertWidget(1, ListView1, 1);
    // The ID is what corvane-print --product takes; it stands after the name, where typed
    // letters still find a product by its name.
    ListView1->addColumn(QStringLiteral("ID"), ListView1->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    ListView1->addColumn(QStringLiteral("製品名"), 20);
    ListView1->header()->moveSection(1, 0);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(ListView1, &ListView::itemClick, this, &FrmPuroductSelect::ListView1_ItemClick);
    connect(ListView1, &ListView::dblClick, this, &FrmPuroductSelect::ListView1_DblClick);
    connect(ListView1, &ListView::columnClick, this, &FrmPuroductSelect::ListView1_ColumnClick);
    setTabOrder(ListView1, Command1[0]);
    setTabOrder(Command1[0], Command1[1]);
    ListView1->setFocus();

    if (!guarded(this, [this] { ProductList(); }))
        return false;
    // Opens in name order, so the product is found where its name puts it.
    sortByClickedColumn(ListView1->items(), ListView1->items().column(2));
    ListView1->showSortOrder();
    if (ListView1->items().count() > 0)
        ListView1_ItemClick(0);
    return true;
}

void FrmPuroductSelect::ProductList()
{
    std::vector<ListItem> items;
    for (const ProductRecord &product : catalogue::allProducts(*dbSelect))
        items.push_back({idText(product.id), product.nameText(), 0, {}, product.nameText()});
    ListView1->items().setItems(std::move(items));
}

int FrmPuroductSelect::Start(Database &dbs, QString &name)
{
    dbSelect = &dbs;
    // Only ＯＫ sets a choice; any other ending returns -1, never an earlier opening's choice.
    lngSelectedID = -1;
    strSelectedName.clear();
    if (Form_Load())
        exec();
    if (lngSelectedID > 0)
        name = strSelectedName;
    return lngSelectedID;
}

void FrmPuroductSelect::Command1_Click(int index)
{
    if (index == 1) {
        reject();
        return;
    }
    const int selected = ListView1->selectedItem();
    if (selected < 0) {
        MsgBox(this, QStringLiteral("製品名を選択してください。"));
        return;
    }
    const ListItem &item = ListView1->items().item(selected);
    lngSelectedID = item.text.toInt();
    strSelectedName = item.subItem;
    accept();
}

void FrmPuroductSelect::ListView1_ItemClick(int position)
{
    ListView1->setSelectedItem(position);
    ListView1->items().setDropHighlight(position);
}

void FrmPuroductSelect::ListView1_DblClick()
{
    if (ListView1->selectedItem() >= 0)
        Command1_Click(0);
}

void FrmPuroductSelect::ListView1_ColumnClick(int index1Based)
{
    ListModel &items = ListView1->items();
    sortByClickedColumn(items, items.column(index1Based));
}

} // namespace corvane
