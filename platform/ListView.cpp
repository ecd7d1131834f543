#include "ListView.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace corvane {

ListView::ListView(QWidget *parent) : QTreeView(parent)
{
    setModel(&m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true); // keeps tens of thousands of rows fast
    setAllColumnsShowFocus(true); // whole rows are marked, not only the first cell
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setFrameShape(QFrame::Box);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(true);
    connect(header(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit columnClick(section + 1); });
    connect(&m_model, &ListModel::userChecked, this, &ListView::itemCheck);
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
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

void ListView::setSelectedItem(int position)
{
    m_settingSelection = true;
    if (position < 0 || position >= m_model.count()) {
        selectionModel()->clearSelection();
        setCurrentIndex({});
    } else {
        const QModelIndex index = m_model.index(position, 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                     | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_settingSelection = false;
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
