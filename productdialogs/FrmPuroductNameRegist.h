#pragma once
#include <QDialog>
#include <QString>

#include <map>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

class Database;

// Asks for one product name that no product has yet. New mode registers it as a new product;
// rename mode (given the current name) only checks it, and the caller renames the product.
class FrmPuroductNameRegist : public QDialog {
    Q_OBJECT
public:
    explicit FrmPuroductNameRegist(QWidget *parent = nullptr);

    // Shows the dialog modally. strProductName receives the accepted name, or the empty text
    // when none was accepted. Returns the new product's ID after a registration in new mode,
    // 0 otherwise.
    int Start(Database &dbs, QString &strProductName,
              const std::optional<QString> &oldProName = std::nullopt);

    std::map<int, QLineEdit *> Text1;
    std::map<int, QLabel *> Label1;
    std::map<int, QPushButton *> Command1;

    void Command1_Click(int index);

private:
    void buildControls();
    void Form_Load();

    Database *dbRegist = nullptr;
    QString strOldName;
    QString strResultName;
    qint32 lngResultID = 0;
};

} // namespace corvane
