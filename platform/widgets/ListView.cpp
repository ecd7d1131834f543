#include "ListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace corvane {

ListView::ListView(QWidget *parent) : QTreeView(parent)
{
    setModel(&m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);   // keeps tens of thousands of rows fast
    setAllColumnsShowFocus(true); // whole rows are marked, not only the first cell
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setFrameShape(QFrame::Box);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(true);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int section) {
        emit columnClick(section + 1);
        showSortOrder();
    });
    connect(&m_model, &ListModel::userChecked, this, &ListView::itemCheck);
    // The selected row is marked in a light colour, so its check box stays clearly visible.
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Highlight, kMarkedRowColor);
        colours.setColor(group, QPalette::HighlightedText, colours.color(group, QPalette::Text));
    }
    setPalette(colours);
}

void ListView::setCheckBoxes(CheckMarks *marks) { m_model.setCheckMarks(marks); }

ColumnHeader &ListView::addColumn(const QString &text, int width)
{
    ColumnHeader &header = m_model.addColumn(text, width);
    setColumnWidth(header.Index - 1, width);
    if (width == 0)
        setColumnHidden(header.Index - 1, true);
    return header;
}

int ListView::selectedItem() const
{
    // The row marked: the keyboard marks the current row in whichever column it stands.
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return -1;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        if (index.row() == current.row())
            return current.row();
    return -1;
}

void ListView::showSortOrder()
{
    header()->setSortIndicatorShown(m_model.Sorted());
    if (m_model.Sorted())
        header()->setSortIndicator(m_model.SortKey(),
                                   m_model.SortOrder() == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void ListView::setSelectedItem(int position)
{
    m_settingSelection = true;
    if (position < 0 || position >= m_model.count()) {
        selectionModel()->clearSelection();
        setCurrentIndex({});
    } else {
        // The current cell stands in the first column the user sees: from a hidden one the
        // keyboard's next move marked the first row again, and typed letters search it.
        int column = header()->logicalIndex(0);
        for (int visual = 1; visual < m_model.columnCount() && isColumnHidden(column); ++visual)
            column = header()->logicalIndex(visual);
        const QModelIndex index = m_model.index(position, column);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_settingSelection = false;
}

void ListView::keyPressEvent(QKeyEvent *event)
{
    // Space ticks the current item as a click on its check box does.
    const QModelIndex current = currentIndex();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && current.isValid()
        && (m_model.flags(m_model.index(current.row(), 0)) & Qt::ItemIsUserCheckable)) {
        const bool checked = m_model.isChecked(current.row());
        m_model.setData(m_model.index(current.row(), 0), checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        return;
    }
    QTreeView::keyPressEvent(event);
}

void ListView::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button(), event->globalPosition().toPoint());
    QTreeView::mousePressEvent(event);
}

void ListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        emit dblClick();
}

void ListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    // Only the user's moves are item clicks; the forms call their handler themselves.
    if (!m_settingSelection && current.isValid())
        emit itemClick(current.row());
}

} // namespace corvane
