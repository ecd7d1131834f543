#pragma once
#include "ListModel.h"

#include <QTreeView>

namespace corvane {

// The report-style list view of the forms: two columns, optional check boxes, one selected
// item, sorting only when a heading is clicked (through sortByClickedColumn).
class ListView : public QTreeView {
    Q_OBJECT
public:
    explicit ListView(QWidget *parent = nullptr);

    ListModel &items() { return m_model; }
    const ListModel &items() const { return m_model; }

    // Shows check boxes over these marks (not owned).
    void setCheckBoxes(CheckMarks *marks);
    // Column widths are given in pixels.
    ColumnHeader &addColumn(const QString &text, int width);

    // Position of the selected item in display order, -1 for none.
    int selectedItem() const;
    // Shows the list's order in its heading (after the list was sorted).
    void showSortOrder();
    void setSelectedItem(int position);

signals:
    void itemClick(int position);
    void itemCheck(int position);
    void dblClick();
    void columnClick(int index1Based);
    void mouseDown(Qt::MouseButton button, QPoint globalPosition);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    ListModel m_model;
    bool m_settingSelection = false;
};

} // namespace corvane
