// Opening and closing the editor, the substance list, the modes and the list's events.
#include "Catalogue.h"
#include "ErrorBoundary.h"
#include "FocusMoves.h"
#include "FrmPuroductDataInput.h"
#include "ListView.h"
#include "Module1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

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
    m_loadedName = name;
    setText(0, name);
}

void FrmPuroductDataInput::Form_Load()
{
    ListView1->setSelectedItem(-1);
    ListView1->addColumn(QString(), 20);
    ListView1->addColumn(QStringLiteral("物質名"), 300);

    const std::vector<SubstanceRecord> master = catalogue::allSubstances(*dbs);
    const int n = static_cast<int>(std::min<size_t>(master.size(), 32767));
    strSubstance.assign(static_cast<size_t>(n) + 1, {});
    strSubstance[0][0] = QString::number(n);
    for (int i = 1; i <= n; ++i) {
        const SubstanceRecord &row = master[static_cast<size_t>(i - 1)];
        strSubstance[static_cast<size_t>(i)] = {QString(), NullToStr(row.name, QString()),
                                                NullToStr(row.hazards, QString()),
                                                NullToStr(row.precautions, QString())};
    }
    SetList(0);

    Command1[5]->setText(QStringLiteral("通常のラベル\n(取扱上の注意等表記)"));
    Option1_Click(0);
    setTag(Text1[0], QStringLiteral("-1"));
    setProductName(strProductName);
    if (!text(0).isEmpty())
        Text1_LostFocus(0);
    else
        intChangedIndex = -1;
}

void FrmPuroductDataInput::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // A name typed but not yet looked up is looked up first, as when the box is left, so
    // the product on screen is never saved under the typed text.
    if (intChangedIndex == 0)
        guarded(this, [this] { Text1_LostFocus(0); });
    guarded(this, [this] { WriteData(tagOf(Text1[0])); });
    strProductName = text(0);
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

int FrmPuroductDataInput::substanceCount() const
{
    return strSubstance.empty() ? 0 : strSubstance[0][0].toInt();
}

int FrmPuroductDataInput::rowOf(int position) const { return ListView1->items().item(position).tag; }

void FrmPuroductDataInput::setMark(int position, bool selected)
{
    strSubstance[static_cast<size_t>(rowOf(position))][0] = selected ? QStringLiteral("1") : QString();
}

void FrmPuroductDataInput::SetList(qint16 mode)
{
    const int n = substanceCount();
    std::vector<ListItem> items;
    items.reserve(static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const auto &row = strSubstance[static_cast<size_t>(i)];
        if ((!row[0].isEmpty() && mode == 1) || mode == 0)
            items.push_back({substanceNumberText(i), row[1], !row[0].isEmpty(), i});
    }
    ListView1->items().setItems(std::move(items));
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
        Command1[6]->setEnabled(false);
        Command1[7]->setText(QStringLiteral("複数物質追加ラベル\n(2×6物質)"));
        Command1[8]->setText(QStringLiteral("複数物質追加ラベル\n(3×7物質)"));
    } else if (index == 1) {
        Command1[6]->setEnabled(true);
        Command1[7]->setText(QStringLiteral("単一物質追加ラベル\n(1物質12ラベル)"));
        Command1[8]->setText(QStringLiteral("単一物質追加ラベル\n(1物質21ラベル)"));
        // Only the first ticked substance in display order stays selected.
        ListModel &items = ListView1->items();
        bool seen = false;
        for (int position = 0; position < items.count(); ++position) {
            if (!items.item(position).checked)
                continue;
            if (seen) {
                items.setChecked(position, false);
                setMark(position, false);
            }
            seen = true;
        }
    }
}

void FrmPuroductDataInput::Check1_Click() { SetList(Check1->isChecked() ? 1 : 0); }

void FrmPuroductDataInput::ListView1_ItemCheck(int position)
{
    ListModel &items = ListView1->items();
    if (items.item(position).checked) {
        if (Option1[1]->isChecked()) {
            for (int other = 0; other < items.count(); ++other) {
                if (other == position)
                    continue;
                items.setChecked(other, false);
                setMark(other, false);
            }
        }
        setMark(position, true);
    } else {
        setMark(position, false);
    }
}

void FrmPuroductDataInput::ListView1_ItemClick(int position)
{
    const auto &row = strSubstance[static_cast<size_t>(rowOf(position))];
    setText(1, row[2]);
    setText(2, row[3]);
    ListView1->items().setDropHighlight(position);
}

void FrmPuroductDataInput::ListView1_MouseDown(Qt::MouseButton button, const QPoint &globalPosition)
{
    if (button == Qt::RightButton && ListView1->items().count() > 0 && Option1[0]->isChecked())
        MnSelect->popup(globalPosition);
}

void FrmPuroductDataInput::MnAllUnSelect_Click()
{
    ListModel &items = ListView1->items();
    items.setAllChecked(std::vector<bool>(static_cast<size_t>(items.count()), false));
    for (int position = 0; position < items.count(); ++position)
        setMark(position, false);
}

void FrmPuroductDataInput::MnALLSelect_Click()
{
    ListModel &items = ListView1->items();
    items.setAllChecked(std::vector<bool>(static_cast<size_t>(items.count()), true));
    for (int position = 0; position < items.count(); ++position)
        setMark(position, true);
}

void FrmPuroductDataInput::MnALLChange_Click()
{
    ListModel &items = ListView1->items();
    std::vector<bool> inverted(static_cast<size_t>(items.count()));
    for (int position = 0; position < items.count(); ++position)
        inverted[static_cast<size_t>(position)] = !items.item(position).checked;
    items.setAllChecked(inverted);
    for (int position = 0; position < items.count(); ++position)
        setMark(position, inverted[static_cast<size_t>(position)]);
}

void FrmPuroductDataInput::ListView1_ColumnClick(int index1Based)
{
    ListModel &items = ListView1->items();
    SortByColumn(items, items.column(index1Based));
}

void FrmPuroductDataInput::Text1_Change(int index) { intChangedIndex = static_cast<qint16>(index); }

void FrmPuroductDataInput::Text1_LostFocus(int index)
{
    if (index == 0 && intChangedIndex == 0) {
        const bool done = guarded(this, [this] {
            qint32 newId = -1;
            if (!text(0).isEmpty())
                newId = static_cast<qint32>(ValOrDefault(GetProductID(*dbs, text(0)), -1));
            ReadData(newId);
            setTag(Text1[0], QString::number(newId));
        });
        // The product on screen could not be saved: it stays, under its own name.
        if (!done)
            setProductName(m_loadedName);
    }
    intChangedIndex = -1;
}

} // namespace corvane
