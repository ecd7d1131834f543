#pragma once
#include <QDialog>
#include <QString>

#include <map>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace corvane {

class Database;
class ListView;

// The modal list of every product, from which the user picks one by its name. One object
// serves the whole run; each Start lists the products afresh.
class FrmPuroductSelect : public QDialog {
    Q_OBJECT
public:
    explicit FrmPuroductSelect(QWidget *parent = nullptr);

    // Shows the list modally. Returns the chosen product's ID and copies its name into name;
    // returns -1 and leaves name as it was when the user cancels.
    int Start(Database &dbs, QString &name);

    std::map<int, QLabel *> Label1;
    ListView *ListView1 = nullptr; // built anew at every Start
    std::map<int, QPushButton *> Command1;

    void Command1_Click(int index);

private:
    void buildControls();
    bool Form_Load();
    void ProductList();
    void ListView1_ItemClick(int position);
    void ListView1_DblClick();
    void ListView1_ColumnClick(int index1Based);

    Database *dbSelect = nullptr;
    qint32 lngSelectedID = 0;
    QString strSelectedName;
    QVBoxLayout *m_layout = nullptr;
};

} // namespace corvane
