// Opening and closing the editor, the substance list, the modes and the list's events.
#include "Catalogue.h"
#include "ErrorBoundary.h"
#include "FrmPuroductDataInput.h"
#include "ListView.h"
#include "MessageBox.h"

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

FrmPuroductDataInput::FrmPuroductDataInput(EditorActions actions, QWidget *parent)
    : QDialog(parent), m_actions(std::move(actions))
{
    buildControls();
}

FrmPuroductDataInput::~FrmPuroductDataInput() { qDeleteAll(m_focusWatchers); }

QString FrmPuroductDataInput::Start(Database &database, const QString &name)
{
    dbs = &database;
    strProductName = name;
    if (guarded(this, [this] { Form_Load(); }))
        exec();
    return strProductName;
}

QString FrmPuroductDataInput::text(int index) const
{
    const QWidget *box = Text1.at(index);
    if (const auto *line = qobject_cast<const QLineEdit *>(box))
        return line->text();
    return toStored(static_cast<const QPlainTextEdit *>(box)->toPlainText());
}

void FrmPuroductDataInput::setText(int index, const QString &value)
{
    if (text(index) == value)
        return; // the same text again is no change
    QWidget *box = Text1.at(index);
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setText(value);
    else
        static_cast<QPlainTextEdit *>(box)->setPlainText(toShown(value));
}

void FrmPuroductDataInput::setProductName(const QString &name)
{
    m_state.storedName = name;
    setText(0, name);
}

void FrmPuroductDataInput::Form_Load()
{
    ListView1->setSelectedItem(-1);
    ListView1->addColumn(QStringLiteral("番号"), 72);
    ListView1->addColumn(QStringLiteral("物質名"), 300);
    // Wide enough for the longest CAS RN, ten digits (「1234567-89-0」).
    ListView1->addColumn(QStringLiteral("CAS RN"), ListView1->fontMetrics().horizontalAdvance(QStringLiteral("0000000-00-0")) + 24);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionResizeMode(1, QHeaderView::Stretch);

    std::vector<SubstanceRecord> master = catalogue::allSubstances(*dbs); // by number
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
    m_mixtureMaster = MixtureMaster(*dbs); // each substance read when first classified
    SetList(0);

    Command1[5]->setText(QStringLiteral("通常のラベル\n(取扱上の注意等表記)"));
    Option1_Click(0);
    m_state.productId.reset();
    setProductName(strProductName);
    if (!m_state.name.isEmpty())
        Text1_LostFocus(0);
    else
        m_state.intChangedIndex = -1;
    showContents();
}

void FrmPuroductDataInput::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // A name typed but not yet looked up is looked up first, as when the box is left, so
    // the product on screen is never saved under the typed text.
    if (m_state.intChangedIndex == 0)
        guarded(this, [this] { Text1_LostFocus(0); });
    guarded(this, [this] { WriteData(m_state.productId); });
    strProductName = m_state.name;
}

void FrmPuroductDataInput::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    QDialog::closeEvent(event);
}

void FrmPuroductDataInput::reject()
{
    Form_Unload();
    QDialog::reject();
}

void FrmPuroductDataInput::setTicks(const std::vector<int> &positions, bool checked)
{
    ListModel &items = ListView1->items();
    for (int position : positions)
        m_state.ticks.setChecked(items.item(position).tag, checked);
    items.checkMarksChanged();
    showContents();
}

void FrmPuroductDataInput::SetList(qint16 mode)
{
    std::vector<ListItem> items;
    items.reserve(m_state.master.size());
    for (size_t i = 0; i < m_state.master.size(); ++i) {
        const SubstanceRecord &substance = m_state.master[i];
        if (!(mode == 0 || (mode == 1 && m_state.ticks.isChecked(substance.id))))
            continue;
        if (!m_state.searchKeys[i].matches(m_state.search))
            continue;
        const QString number = substanceNumberText(substance.id);
        items.push_back({number, substance.name, substance.id, substance.cas,
                         QStringLiteral("番号: %1\n物質名: %2\nCAS RN: %3\n出典: %4")
                             .arg(number, substance.name, substance.cas,
                                  substance.source.isEmpty() ? QStringLiteral("未確認") : substance.source)});
    }
    ListView1->items().setItems(std::move(items));
    noMatch->setVisible(ListView1->items().count() == 0 && !m_state.master.empty());
    if (ListView1->items().count() == 0) {
        setText(1, QString());
        setText(2, QString());
    } else {
        ListView1->setSelectedItem(0);
        ListView1_ItemClick(0);
    }
}

void FrmPuroductDataInput::Option1_Click(int index)
{
    if (index == 0) {
        m_state.singleSubstance = false;
        Command1[6]->setEnabled(false);
        Command1[7]->setText(QStringLiteral("複数物質追加ラベル\n(2×6物質)"));
        Command1[8]->setText(QStringLiteral("複数物質追加ラベル\n(3×7物質)"));
    } else if (index == 1) {
        m_state.singleSubstance = true;
        Command1[6]->setEnabled(true);
        Command1[7]->setText(QStringLiteral("単一物質追加ラベル\n(1物質12ラベル)"));
        Command1[8]->setText(QStringLiteral("単一物質追加ラベル\n(1物質21ラベル)"));
        // Only the first ticked substance in display order stays selected.
        const ListModel &items = ListView1->items();
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
}

void FrmPuroductDataInput::Check1_Click() { SetList(Check1->isChecked() ? 1 : 0); }

void FrmPuroductDataInput::searchChanged(const QString &typed)
{
    m_state.search = typed;
    Check1_Click();
}

void FrmPuroductDataInput::ListView1_ItemCheck(int position)
{
    // The list has already written the user's tick into the store.
    const ListModel &items = ListView1->items();
    if (items.isChecked(position) && m_state.singleSubstance) {
        std::vector<int> others;
        for (int other = 0; other < items.count(); ++other)
            if (other != position)
                others.push_back(other);
        setTicks(others, false);
    }
    showContents();
}

void FrmPuroductDataInput::ListView1_ItemClick(int position)
{
    const SubstanceRecord &substance = m_state.substance(ListView1->items().item(position).tag);
    setText(1, substance.hazards);
    setText(2, substance.precautions);
    ListView1->items().setDropHighlight(position);
}

void FrmPuroductDataInput::ListView1_MouseDown(Qt::MouseButton button, const QPoint &globalPosition)
{
    if (button == Qt::RightButton && ListView1->items().count() > 0 && !m_state.singleSubstance)
        MnSelect->popup(globalPosition);
}

namespace {
std::vector<int> allPositions(const ListModel &items)
{
    std::vector<int> positions(static_cast<size_t>(items.count()));
    std::iota(positions.begin(), positions.end(), 0);
    return positions;
}
} // namespace

void FrmPuroductDataInput::MnAllUnSelect_Click() { setTicks(allPositions(ListView1->items()), false); }

void FrmPuroductDataInput::MnALLSelect_Click() { setTicks(allPositions(ListView1->items()), true); }

void FrmPuroductDataInput::MnALLChange_Click()
{
    const ListModel &items = ListView1->items();
    std::vector<int> ticked, unticked;
    for (int position = 0; position < items.count(); ++position)
        (items.isChecked(position) ? ticked : unticked).push_back(position);
    setTicks(ticked, false);
    setTicks(unticked, true);
}

void FrmPuroductDataInput::ListView1_ColumnClick(int index1Based)
{
    ListModel &items = ListView1->items();
    sortByClickedColumn(items, items.column(index1Based));
}

void FrmPuroductDataInput::Text1_Change(int index)
{
    m_state.intChangedIndex = static_cast<qint16>(index);
    if (index == 0)
        m_state.name = text(0);
    else if (index == 3)
        m_state.notes = text(3);
    else if (index == 4)
        m_state.ingredients = text(4);
}

void FrmPuroductDataInput::Text1_LostFocus(int index)
{
    if (index == 0 && m_state.intChangedIndex == 0) {
        const bool done = guarded(this, [this] {
            std::optional<int> newId;
            if (!m_state.name.isEmpty())
                newId = catalogue::productIdByName(*dbs, m_state.name);
            // As the main menu says it: the screen empties, and the user knows why.
            if (!m_state.name.isEmpty() && !newId)
                MsgBox(this, QStringLiteral("製品名：") + m_state.name + QStringLiteral("は登録されていません。"));
            ReadData(newId.value_or(-1));
            m_state.productId = newId;
        });
        // The product on screen could not be saved: it stays, under its own name.
        if (!done)
            setProductName(m_state.storedName);
    }
    m_state.intChangedIndex = -1;
}

} // namespace corvane
