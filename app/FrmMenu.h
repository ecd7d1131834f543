#pragma once
#include "MenuActions.h"
#include "MenuState.h"

#include <QWidget>

#include <map>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

// The main window: the numbered steps of the work, the product-name box and the label
// buttons. It opens the label database for the whole run and remembers the product name in
// the settings file beside the executable.
class FrmMenu : public QWidget {
    Q_OBJECT
public:
    explicit FrmMenu(MenuActions actions, QWidget *parent = nullptr);
    ~FrmMenu() override;

    void setActions(MenuActions actions) { m_actions = std::move(actions); }

    // The start-up sequence; false when the database cannot be opened (the program ends).
    bool Form_Load();

    QLineEdit *Text1 = nullptr;
    std::map<int, QPushButton *> Command1;
    std::map<int, QLabel *> Label1;
    QPushButton *helpButton = nullptr; // 「使い方」: the user guide (F1 too)
    QString strIniFile;
    const MenuState &state() const { return m_state; }
    Database *database() const { return dbMenu.get(); }

    void Command1_Click(int index);
    void Text1_LostFocus();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void Form_Unload();
    void Text1_Change();
    void print(LabelKind kind, bool singleSubstance);
    // Shows the state: which label buttons work and what they are called.
    void showState();

    MenuActions m_actions;
    MenuState m_state;
    std::unique_ptr<Database> dbMenu;
    bool m_unloaded = false;
    QObject *m_focusWatcher = nullptr;
};

} // namespace corvane
