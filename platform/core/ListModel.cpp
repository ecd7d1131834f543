#include "ListModel.h"

#include <QBrush>
#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <numeric>

namespace corvane {

ListModel::ListModel(QObject *parent) : QAbstractTableModel(parent) {}

ColumnHeader &ListModel::addColumn(const QString &text, int width)
{
    beginResetModel();
    m_columns.push_back({static_cast<int>(m_columns.size()) + 1, text, width, {}});
    endResetModel();
    return m_columns.back();
}

ColumnHeader &ListModel::column(int index1Based) { return m_columns.at(static_cast<size_t>(index1Based - 1)); }

void ListModel::clear()
{
    beginResetModel();
    m_items.clear();
    m_dropHighlight = -1;
    endResetModel();
}

void ListModel::addItem(const ListItem &item)
{
    if (m_sorted) {
        beginResetModel();
        m_items.push_back(item);
        sortNow();
        endResetModel();
        return;
    }
    const int row = count();
    beginInsertRows({}, row, row);
    m_items.push_back(item);
    endInsertRows();
}

void ListModel::setItems(std::vector<ListItem> items)
{
    beginResetModel();
    m_items = std::move(items);
    m_dropHighlight = -1;
    if (m_sorted)
        sortNow();
    endResetModel();
}

void ListModel::setCheckMarks(CheckMarks *marks)
{
    beginResetModel();
    m_checkMarks = marks;
    endResetModel();
}

bool ListModel::isChecked(int position) const { return m_checkMarks && m_checkMarks->isChecked(item(position).tag); }

void ListModel::checkMarksChanged()
{
    if (count() > 0)
        emit dataChanged(index(0, 0), index(count() - 1, 0), {Qt::CheckStateRole});
}

void ListModel::setSorted(bool sorted)
{
    m_sorted = sorted;
    if (!sorted)
        return;
    // A layout change, not a reset: the view keeps its selected row wherever it moves.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> newRowOf = sortNow();
    QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    for (const QModelIndex &index : from)
        to.append(index.isValid() ? this->index(newRowOf[static_cast<size_t>(index.row())], index.column()) : index);
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ListModel::setSortKey(int key)
{
    m_sortKey = key;
    setSorted(m_sorted);
}

void ListModel::setSortOrder(int order)
{
    m_sortOrder = order;
    setSorted(m_sorted);
}

void ListModel::setDropHighlight(int position)
{
    const int old = m_dropHighlight;
    m_dropHighlight = position;
    for (int row : {old, position})
        if (row >= 0 && row < count())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::BackgroundRole});
}

std::vector<int> ListModel::sortNow()
{
    const auto key = [this](const ListItem &item) -> const QString & {
        return m_sortKey == 0 ? item.text : m_sortKey == 1 ? item.subItem : item.secondSubItem;
    };
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_items.size());
    for (const ListItem &item : m_items)
        keys.push_back(collator.sortKey(key(item)));
    const bool descending = m_sortOrder == 1;
    std::vector<int> order(m_items.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int compared = keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]);
        return descending ? compared > 0 : compared < 0;
    });

    std::vector<ListItem> sorted;
    sorted.reserve(m_items.size());
    std::vector<int> newRowOf(m_items.size());
    for (size_t row = 0; row < order.size(); ++row) {
        sorted.push_back(std::move(m_items[static_cast<size_t>(order[row])]));
        newRowOf[static_cast<size_t>(order[row])] = static_cast<int>(row);
    }
    m_items = std::move(sorted);
    if (m_dropHighlight >= 0 && m_dropHighlight < count())
        m_dropHighlight = newRowOf[static_cast<size_t>(m_dropHighlight)];
    return newRowOf;
}

int ListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : count(); }

int ListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : columnCount(); }

QVariant ListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const ListItem &item = m_items[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? item.text : index.column() == 1 ? item.subItem : item.secondSubItem;
    case Qt::ToolTipRole: return item.toolTip.isEmpty() ? QVariant() : QVariant(item.toolTip);
    case Qt::CheckStateRole:
        if (m_checkMarks && index.column() == 0)
            return m_checkMarks->isChecked(item.tag) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::BackgroundRole:
        if (index.row() == m_dropHighlight)
            return QBrush(kMarkedRowColor);
        return {};
    default: return {};
    }
}

bool ListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !m_checkMarks || !index.isValid() || index.column() != 0)
        return false;
    m_checkMarks->setChecked(m_items[static_cast<size_t>(index.row())].tag, value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit userChecked(index.row());
    return true;
}

Qt::ItemFlags ListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_checkMarks && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return m_columns[static_cast<size_t>(section)].text;
}

void sortByClickedColumn(ListModel &list, ColumnHeader &column)
{
    const int key = column.Index - 1;
    const bool ascendingByThis = list.Sorted() && list.SortKey() == key && list.SortOrder() == 0;
    list.setSorted(true);
    list.setSortKey(key);
    list.setSortOrder(ascendingByThis ? 1 : 0);
    column.Tag = list.SortOrder();
}

} // namespace corvane
