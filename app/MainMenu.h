#pragma once
#include "MenuActions.h"
#include "MenuState.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

// The main window: the numbered steps of the work, the product-name box and the label
// buttons. It opens the label database for the whole run and remembers the product name in
// the settings file beside the executable.
class MainMenu : public QWidget {
    Q_OBJECT
public:
    explicit MainMenu(MenuActions actions, QWidget *parent = nullptr);
    ~MainMenu() override;

    void setActions(MenuActions actions) { m_actions = std::move(actions); }

    // The start-up sequence; false when the database cannot be opened (the program ends).
    bool open();

    QPushButton *companyButton = nullptr; // 会社名・住所等入力
    QPushButton *editorButton = nullptr;  // 製品に関する情報入力
    QLineEdit *productNameEdit = nullptr;
    QPushButton *listButton = nullptr; // 一覧
    QPushButton *printNormalButton = nullptr;
    QPushButton *printModelButton = nullptr;
    QPushButton *printAdditional2x6Button = nullptr;
    QLabel *twelveOfOneLabel = nullptr; // （1物質12ラベル）, for a single-substance product
    QPushButton *printAdditional3x7Button = nullptr;
    QLabel *twentyOneOfOneLabel = nullptr; // （1物質21ラベル）, likewise
    QPushButton *printAllSubstancesButton = nullptr;
    QPushButton *printMixtureLabelButton = nullptr;
    QPushButton *printBasisButton = nullptr;
    QPushButton *quitButton = nullptr; // 終了
    QPushButton *helpButton = nullptr; // 「使い方」: the user guide (F1 too)

    const QString &settingsFile() const { return m_settingsFile; }
    const MenuState &state() const { return m_state; }
    Database *database() const { return m_database.get(); }

public slots:
    void openCompany();
    void openEditor();
    void chooseProduct();
    void printNormal();
    void printModel();
    void printAdditional2x6();
    void printAdditional3x7();
    void printAllSubstances();
    void printMixtureLabel();
    void printBasis();
    void quit();
    // Looks the typed product name up when it changed since the last check.
    void checkProductName();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    // Closes the database and writes the product name to the settings file, once.
    void shutDown();
    void productNameEdited();
    void print(LabelKind kind, bool singleSubstance);
    // Shows the state: which label buttons work and what they are called.
    void showState();

    MenuActions m_actions;
    MenuState m_state;
    std::unique_ptr<Database> m_database;
    QString m_settingsFile;
    bool m_shutDown = false;
    QObject *m_focusWatcher = nullptr;
};

} // namespace corvane
