#pragma once
#include <QDialog>
#include <QString>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

class Database;

// Asks for one product name that no product has yet. New mode registers it as a new product;
// rename mode (given the current name) only checks it, and the caller renames the product.
class ProductNameDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProductNameDialog(QWidget *parent = nullptr);

    // Shows the dialog modally. acceptedName receives the accepted name, or the empty text
    // when none was accepted. Returns the new product's ID after a registration in new mode,
    // 0 otherwise.
    int ask(Database &database, QString &acceptedName, const std::optional<QString> &currentName = std::nullopt);

    QLabel *nameLabel = nullptr;
    QLineEdit *nameEdit = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

public slots:
    // ＯＫ: checks the typed name and, in new mode, registers it; a refused name keeps the
    // dialog open with a message.
    void acceptName();

private:
    void buildControls();

    Database *m_database = nullptr;
    QString m_currentName; // empty in new mode
    QString m_acceptedName;
    qint32 m_registeredId = 0;
};

} // namespace corvane
