#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <QVariant>

#include <vector>

namespace corvane {

// The marked row's background: light enough that its check box and text stay as clear as on
// any other row.
inline const QColor kMarkedRowColor{0xCC, 0xE8, 0xFF};

// One row of a report-style list: its own text, one or two sub-items, a tag and the text
// shown when the pointer rests on it.
struct ListItem {
    QString text;
    QString subItem;
    int tag = 0;
    QString secondSubItem;
    QString toolTip;
};

// The check marks of a list with check boxes. They belong to whoever owns the list's data,
// looked up by each item's tag, so a mark is kept in one place whatever the list shows.
class CheckMarks {
public:
    virtual ~CheckMarks() = default;
    virtual bool isChecked(int tag) const = 0;
    virtual void setChecked(int tag, bool checked) = 0;
};

// A column heading that remembers, in its tag, the order it was last sorted in.
struct ColumnHeader {
    int Index = 1; // 1-based, as the list's headings count
    QString text;
    int width = 100;
    QVariant Tag;
};

// The list of items in display order, with the sorting state of the old list view:
// Sorted, SortKey (0 = item text, 1 = first sub-item, 2 = second) and SortOrder (0 ascending,
// 1 descending). While Sorted is on, the items are kept in that order, compared as Japanese
// readers expect (hiragana, katakana and kanji interleaved, numbers by value).
// Ticks set by code (in the CheckMarks) raise no signal; only the user's ticks reach the
// view's itemCheck.
class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListModel(QObject *parent = nullptr);

    ColumnHeader &addColumn(const QString &text, int width);
    ColumnHeader &column(int index1Based);
    int columnCount() const { return static_cast<int>(m_columns.size()); }

    void clear();
    void addItem(const ListItem &item);
    void setItems(std::vector<ListItem> items); // many at once, then sorted once
    int count() const { return static_cast<int>(m_items.size()); }
    const ListItem &item(int position) const { return m_items[static_cast<size_t>(position)]; }

    // Shows check boxes over these marks (not owned); null for none.
    void setCheckMarks(CheckMarks *marks);
    bool isChecked(int position) const;
    // The owner changed marks: the view shows them again, in one update.
    void checkMarksChanged();

    bool Sorted() const { return m_sorted; }
    int SortKey() const { return m_sortKey; }
    int SortOrder() const { return m_sortOrder; }
    void setSorted(bool sorted);
    void setSortKey(int key);
    void setSortOrder(int order);

    // -1 when none.
    int dropHighlight() const { return m_dropHighlight; }
    void setDropHighlight(int position);

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // The user toggled the check box of the item at position.
    void userChecked(int position);

private:
    // Sorts the items; returns each old row's new row.
    std::vector<int> sortNow();

    std::vector<ListItem> m_items;
    std::vector<ColumnHeader> m_columns;
    CheckMarks *m_checkMarks = nullptr;
    bool m_sorted = false;
    int m_sortKey = 0;
    int m_sortOrder = 0;
    int m_dropHighlight = -1;
};

// Sorts the list by the clicked column: ascending when the list is not sorted by it (yet),
// the other way round when it is; the column's Tag remembers the order.
void sortByClickedColumn(ListModel &list, ColumnHeader &column);

} // namespace corvane
