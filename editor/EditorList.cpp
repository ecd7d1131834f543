// Opening and closing the editor, the substance list, the modes and the list's events.
#include "Catalogue.h"
#include "ErrorBoundary.h"
#include "ListView.h"
#include "MessageBox.h"
#include "ProductEditor.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <numeric>

namespace corvane {
namespace {

// The boxes keep line breaks as CR LF, as they are stored.
QString toStored(QString text) { return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")); }
QString toShown(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

QString substanceNumberText(int i) { return QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')); }

} // namespace

ProductEditor::ProductEditor(EditorActions actions, QWidget *parent) : QDialog(parent), m_actions(std::move(actions))
{
    buildControls();
}

ProductEditor::~ProductEditor() { qDeleteAll(m_focusWatchers); }

QString ProductEditor::edit(Database &database, const QString &productName)
{
    m_database = &database;
    m_productName = productName;
    if (guarded(this, [this] { load(); }))
        exec();
    return m_productName;
}

QString ProductEditor::text(const QPlainTextEdit *box) const { return toStored(box->toPlainText()); }

void ProductEditor::setText(QLineEdit *box, const QString &value)
{
    if (box->text() != value) // the same text again is no change
        box->setText(value);
}

void ProductEditor::setText(QPlainTextEdit *box, const QString &value)
{
    if (text(box) != value)
        box->setPlainText(toShown(value));
}

void ProductEditor::setProductName(const QString &name)
{
    m_state.storedName = name;
    setText(productNameEdit, name);
}

void ProductEditor::load()
{
    substanceList->setSelectedItem(-1);
    substanceList->addColumn(QStringLiteral("番号"), 72);
    substanceList->addColumn(QStringLiteral("物質名"), 300);
    // Wide enough for the longest CAS RN, ten digits (「1234567-89-0」).
    substanceList->addColumn(QStringLiteral("CAS RN"),
                             substanceList->fontMetrics().horizontalAdvance(QStringLiteral("0000000-00-0")) + 24);
    substanceList->header()->setStretchLastSection(false);
    substanceList->header()->setSectionResizeMode(1, QHeaderView::Stretch);

    std::vector<SubstanceRecord> master = catalogue::allSubstances(*m_database); // by number
    // The list holds at most 32,767 substances.
    master.resize(std::min<size_t>(master.size(), 32767));
    std::vector<int> numbers;
    numbers.reserve(master.size());
    m_state.searchKeys.clear();
    m_state.searchKeys.reserve(master.size());
    for (const SubstanceRecord &substance : master) {
        numbers.push_back(substance.id);
        m_state.searchKeys.push_back(SearchKey::of(substance, substance.id));
    }
    m_state.ticks.reset(std::move(numbers));
    m_state.master = std::move(master);
    m_mixtureMaster = MixtureMaster(*m_database); // each substance read when first classified
    fillList(false);

    printNormalButton->setText(QStringLiteral("通常のラベル\n(取扱上の注意等表記)"));
    chooseMultipleSubstances();
    m_state.productId.reset();
    setProductName(m_productName);
    if (!m_state.name.isEmpty())
        checkProductName();
    else
        m_state.nameAwaitsLookup = false;
    showContents();
}

void ProductEditor::saveOnClosing()
{
    if (m_closed)
        return;
    m_closed = true;
    // A name typed but not yet looked up is looked up first, as when the box is left, so
    // the product on screen is never saved under the typed text.
    if (m_state.nameAwaitsLookup)
        guarded(this, [this] { checkProductName(); });
    guarded(this, [this] { writeProduct(m_state.productId); });
    m_productName = m_state.name;
}

void ProductEditor::closeEvent(QCloseEvent *event)
{
    saveOnClosing();
    QDialog::closeEvent(event);
}

void ProductEditor::reject()
{
    saveOnClosing();
    QDialog::reject();
}

void ProductEditor::setTicks(const std::vector<int> &positions, bool checked)
{
    ListModel &items = substanceList->items();
    for (int position : positions)
        m_state.ticks.setChecked(items.item(position).tag, checked);
    items.checkMarksChanged();
    showContents();
}

void ProductEditor::fillList(bool tickedOnly)
{
    std::vector<ListItem> items;
    items.reserve(m_state.master.size());
    for (size_t i = 0; i < m_state.master.size(); ++i) {
        const SubstanceRecord &substance = m_state.master[i];
        if (tickedOnly && !m_state.ticks.isChecked(substance.id))
            continue;
        if (!m_state.searchKeys[i].matches(m_state.search))
            continue;
        const QString number = substanceNumberText(substance.id);
        items.push_back({number, substance.name, substance.id, substance.cas,
                         QStringLiteral("番号: %1\n物質名: %2\nCAS RN: %3\n出典: %4")
                             .arg(number, substance.name, substance.cas,
                                  substance.source.isEmpty() ? QStringLiteral("未確認") : substance.source)});
    }
    substanceList->items().setItems(std::move(items));
    noMatch->setVisible(substanceList->items().count() == 0 && !m_state.master.empty());
    if (substanceList->items().count() == 0) {
        setText(hazardsBox, QString());
        setText(precautionsBox, QString());
    } else {
        substanceList->setSelectedItem(0);
        showSubstance(0);
    }
}

void ProductEditor::chooseMultipleSubstances()
{
    m_state.singleSubstance = false;
    printModelButton->setEnabled(false);
    printAdditional2x6Button->setText(QStringLiteral("複数物質追加ラベル\n(2×6物質)"));
    printAdditional3x7Button->setText(QStringLiteral("複数物質追加ラベル\n(3×7物質)"));
}

void ProductEditor::chooseSingleSubstance()
{
    m_state.singleSubstance = true;
    printModelButton->setEnabled(true);
    printAdditional2x6Button->setText(QStringLiteral("単一物質追加ラベル\n(1物質12ラベル)"));
    printAdditional3x7Button->setText(QStringLiteral("単一物質追加ラベル\n(1物質21ラベル)"));
    // Only the first ticked substance in display order stays selected.
    const ListModel &items = substanceList->items();
    std::vector<int> later;
    bool seen = false;
    for (int position = 0; position < items.count(); ++position) {
        if (!items.isChecked(position))
            continue;
        if (seen)
            later.push_back(position);
        seen = true;
    }
    setTicks(later, false);
}

void ProductEditor::refillList() { fillList(tickedOnlyBox->isChecked()); }

void ProductEditor::searchChanged(const QString &typed)
{
    m_state.search = typed;
    refillList();
}

void ProductEditor::substanceTicked(int position)
{
    // The list has already written the user's tick into the store.
    const ListModel &items = substanceList->items();
    if (items.isChecked(position) && m_state.singleSubstance) {
        std::vector<int> others;
        for (int other = 0; other < items.count(); ++other)
            if (other != position)
                others.push_back(other);
        setTicks(others, false);
    }
    showContents();
}

void ProductEditor::showSubstance(int position)
{
    const SubstanceRecord &substance = m_state.substance(substanceList->items().item(position).tag);
    setText(hazardsBox, substance.hazards);
    setText(precautionsBox, substance.precautions);
    substanceList->items().setDropHighlight(position);
}

void ProductEditor::showTickMenu(Qt::MouseButton button, const QPoint &globalPosition)
{
    if (button == Qt::RightButton && substanceList->items().count() > 0 && !m_state.singleSubstance)
        tickMenu->popup(globalPosition);
}

namespace {
std::vector<int> allPositions(const ListModel &items)
{
    std::vector<int> positions(static_cast<size_t>(items.count()));
    std::iota(positions.begin(), positions.end(), 0);
    return positions;
}
} // namespace

void ProductEditor::untickAll() { setTicks(allPositions(substanceList->items()), false); }

void ProductEditor::tickAll() { setTicks(allPositions(substanceList->items()), true); }

void ProductEditor::invertTicks()
{
    const ListModel &items = substanceList->items();
    std::vector<int> ticked, unticked;
    for (int position = 0; position < items.count(); ++position)
        (items.isChecked(position) ? ticked : unticked).push_back(position);
    setTicks(ticked, false);
    setTicks(unticked, true);
}

void ProductEditor::sortList(int index1Based)
{
    ListModel &items = substanceList->items();
    sortByClickedColumn(items, items.column(index1Based));
}

void ProductEditor::productNameEdited()
{
    m_state.nameAwaitsLookup = true;
    m_state.name = productNameEdit->text();
}

void ProductEditor::checkProductName()
{
    if (m_state.nameAwaitsLookup) {
        const bool done = guarded(this, [this] {
            std::optional<int> newId;
            if (!m_state.name.isEmpty())
                newId = catalogue::productIdByName(*m_database, m_state.name);
            // As the main menu says it: the screen empties, and the user knows why.
            if (!m_state.name.isEmpty() && !newId)
                MsgBox(this, QStringLiteral("製品名：") + m_state.name + QStringLiteral("は登録されていません。"));
            readProduct(newId.value_or(-1));
            m_state.productId = newId;
        });
        // The product on screen could not be saved: it stays, under its own name.
        if (!done)
            setProductName(m_state.storedName);
    }
    m_state.nameAwaitsLookup = false;
}

} // namespace corvane
