#pragma once
#include "Catalogue.h"
#include "EditorActions.h"
#include "EditorState.h"
#include "MixtureIngredients.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace corvane {

class Database;
class ListView;

// The product information editor: one product at a time, its name, the substances it
// contains (ticked in the list of the whole substance master), the kind of additional
// label, and the notes and ingredients printed on the normal label. It saves implicitly
// whenever it leaves a product, prints, copies or closes.
class ProductEditor : public QDialog {
    Q_OBJECT
public:
    explicit ProductEditor(EditorActions actions, QWidget *parent = nullptr);
    ~ProductEditor() override;

    // Opens the editor on the named product (empty for none) and returns the name shown
    // when it closed.
    QString edit(Database &database, const QString &productName);

    // The text of a multi-line box with its line breaks as stored (CR LF), and setting a
    // box's text as the program does (the same text again is no change).
    QString text(const QPlainTextEdit *box) const;
    void setText(QLineEdit *box, const QString &value);
    void setText(QPlainTextEdit *box, const QString &value);

    // Loading and saving a product. Loading another product saves the one on screen first.
    void readProduct(qint32 productId);
    void writeProduct(std::optional<int> productId);

    // The product name and its commands.
    QGroupBox *productNameGroup = nullptr;
    QLineEdit *productNameEdit = nullptr;
    QPushButton *listButton = nullptr;   // 一覧
    QPushButton *addButton = nullptr;    // 追加
    QPushButton *deleteButton = nullptr; // 削除
    QPushButton *renameButton = nullptr; // 変更
    QPushButton *copyButton = nullptr;   // 複写
    QPushButton *undoButton = nullptr;   // 入力取り消し

    // The substance list.
    QGroupBox *substanceGroup = nullptr;
    QLineEdit *searchBox = nullptr;
    ListView *substanceList = nullptr;
    QLabel *noMatch = nullptr;          // 「該当する物質はありません」 over an empty list
    QCheckBox *tickedOnlyBox = nullptr; // 選択物質のみ表示
    QMenu *tickMenu = nullptr;          // the list's pop-up menu

    // The label mode and the statements of the clicked substance.
    QRadioButton *multipleSubstancesRadio = nullptr;
    QRadioButton *singleSubstanceRadio = nullptr;
    QPlainTextEdit *hazardsBox = nullptr;
    QPlainTextEdit *precautionsBox = nullptr;

    // The product's own texts for the normal label.
    QPlainTextEdit *notesBox = nullptr;
    QPlainTextEdit *ingredientsBox = nullptr;

    // Printing and leaving.
    QPushButton *printNormalButton = nullptr;
    QPushButton *printModelButton = nullptr;
    QPushButton *printAdditional2x6Button = nullptr;
    QPushButton *printAdditional3x7Button = nullptr;
    QPushButton *printMixtureLabelButton = nullptr;
    QPushButton *printBasisButton = nullptr;
    QPushButton *backButton = nullptr; // 戻る

    // The product as a mixture: the content of each ticked substance (「含有率(%)」, typed in
    // place), the product's own data (「物性」 box) and, as the user types, the mixture's
    // classification and the legal duty.
    QTableWidget *contentsTable = nullptr;
    QLineEdit *flashPointBox = nullptr, *boilingPointBox = nullptr, *viscosityBox = nullptr;
    QCheckBox *remainderHarmlessBox = nullptr;
    QPlainTextEdit *classificationBox = nullptr;
    // The content typed for the substance of that row of contentsTable.
    void contentEdited(int substanceNumber, const QString &typed);
    void propertiesEdited();

    const EditorState &state() const { return m_state; }

public slots:
    // The commands. Each first looks up a name typed but not yet looked up.
    void chooseProduct();
    void addProduct();
    void deleteProduct();
    void renameProduct();
    void copyProduct();
    void undoChanges();
    void printNormal();
    void printModel();
    void printAdditional2x6();
    void printAdditional3x7();
    void printMixtureLabel();
    void printBasis();
    void goBack();

    // The label mode.
    void chooseMultipleSubstances();
    void chooseSingleSubstance();

    // The substance search: the list shows what matches, ticks of hidden substances stay.
    void searchChanged(const QString &typed);

    // The list's events and its pop-up menu.
    void substanceTicked(int position);
    void showSubstance(int position);
    void showTickMenu(Qt::MouseButton button, const QPoint &globalPosition);
    void sortList(int index1Based);
    void untickAll();
    void tickAll();
    void invertTicks();

    // The name box: a typed name is looked up when the box is left.
    void productNameEdited();
    void checkProductName();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void buildControls();
    QWidget *buildMixtureControls();
    // Reads the master into the list and shows the product named at opening.
    void load();
    // Looks up a pending name and saves the product on screen, once, whichever way the editor closes.
    void saveOnClosing();
    // The list afresh: every substance, or the ticked ones only, that match the search.
    void fillList(bool tickedOnly);
    void refillList();
    // The contents table for the ticked substances; a substance no longer ticked loses its content.
    void showContents();
    void showProperties();
    void showClassification();
    // Shows the stored product (none below 1) without saving the one on screen.
    void loadProduct(qint32 productId);
    void setTicks(const std::vector<int> &positions, bool checked);
    // The substance numbers a save writes: the ticked ones and those this master lacks.
    std::vector<int> numbersToSave() const;
    // Another program saved (or deleted) the product since it was loaded, so it was not
    // overwritten: the user reloads the stored version or keeps this one as a new product.
    void keepBothVersions(const std::vector<int> &numbers, catalogue::ProductFields fields, bool deletedElsewhere);
    void setProductName(const QString &name);
    // Runs a command after the pending name lookup, reporting what fails.
    void runCommand(const std::function<void()> &command);
    struct NewProduct {
        int id;
        QString name;
    };
    // Asks for the name of a new product, which the dialog registers; nothing when cancelled.
    std::optional<NewProduct> registerNewProduct();
    void saveAndPrint(LabelKind kind);

    EditorActions m_actions;
    Database *m_database = nullptr;
    EditorState m_state;
    QString m_productName; // named at opening; the name shown at closing
    bool m_closed = false;
    std::vector<QObject *> m_focusWatchers;
    MixtureMaster m_mixtureMaster; // read with the list, when the editor opens
};

} // namespace corvane
