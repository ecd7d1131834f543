#pragma once
#include "Records.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

class Database;

// The supplier's name, address and telephone and fax numbers, printed at the head of the
// normal and model labels. The one record is saved whenever the form closes.
class CompanyForm : public QDialog {
    Q_OBJECT
public:
    explicit CompanyForm(QWidget *parent = nullptr);

    // Shows the form modally and returns once it has closed and saved.
    void edit(Database &database);

    QLabel *headingLabel = nullptr;
    QLabel *companyNameLabel = nullptr;
    QLineEdit *companyNameEdit = nullptr;
    QLabel *addressLabel = nullptr;
    QLineEdit *addressEdit = nullptr;
    QLabel *phoneLabel = nullptr;
    QLineEdit *phoneEdit = nullptr;
    QPushButton *undoButton = nullptr; // 入力取り消し
    QPushButton *backButton = nullptr; // 戻る

    // Every way of closing (戻る, Escape, the close box) passes here and saves.
    void done(int result) override;

public slots:
    // 入力取り消し: the stored record again, after asking when something was typed.
    void undoInput();

private:
    void buildControls();
    void readRecord();
    void saveRecord();

    Database *m_database = nullptr;
    int m_revision = 0;   // of the record as read, so a save can tell another program saved since
    CompanyRecord m_read; // as read, so 入力取り消し can tell whether anything was typed
};

} // namespace corvane
