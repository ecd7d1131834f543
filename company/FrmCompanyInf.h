#pragma once
#include "Records.h"

#include <QDialog>

#include <map>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

class Database;

// The supplier's name, address and telephone and fax numbers, printed at the head of the
// normal and model labels. The one record is saved whenever the form closes.
class FrmCompanyInf : public QDialog {
    Q_OBJECT
public:
    explicit FrmCompanyInf(QWidget *parent = nullptr);

    // Shows the form modally and returns once it has closed and saved.
    void Start(Database &db);

    std::map<int, QLabel *> Label1;
    std::map<int, QLineEdit *> Text1;
    std::map<int, QPushButton *> Command1;

    void Command1_Click(int index);

    // Every way of closing (戻る, Escape, the close box) passes here and saves.
    void done(int result) override;

private:
    void buildControls();
    bool Form_Load();
    void ReadData();
    void Form_Unload();

    Database *dbCompany = nullptr;
    int m_revision = 0; // of the record as read, so a save can tell another program saved since
    CompanyRecord m_read; // as read, so 入力取り消し can tell whether anything was typed
};

} // namespace corvane
