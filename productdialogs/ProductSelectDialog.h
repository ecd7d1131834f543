#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace corvane {

class Database;
class ListView;

// The modal list of every product, from which the user picks one by its name. One object
// serves the whole run; each opening lists the products afresh.
class ProductSelectDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProductSelectDialog(QWidget *parent = nullptr);

    // Shows the list modally. Returns the chosen product's ID and copies its name into name;
    // returns -1 and leaves name as it was when the user cancels.
    int choose(Database &database, QString &name);

    QLabel *promptLabel = nullptr;
    ListView *productList = nullptr; // built anew at every opening
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

public slots:
    // ＯＫ: takes the marked product, or asks for one when none is marked.
    void acceptChoice();

private:
    void buildControls();
    // A fresh list of every product in name order; false when the products cannot be read.
    bool buildList();
    void readProducts();
    void markRow(int position);
    void chooseOnDoubleClick();
    void sortByColumn(int index1Based);

    Database *m_database = nullptr;
    qint32 m_selectedProductId = 0;
    QString m_selectedName;
    QVBoxLayout *m_layout = nullptr;
};

} // namespace corvane
