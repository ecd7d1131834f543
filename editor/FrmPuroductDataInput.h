#pragma once
#include "Catalogue.h"
#include "EditorActions.h"
#include "EditorState.h"
#include "MixtureIngredients.h"

#include <QDialog>
#include <QString>

#include <array>
#include <map>
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
class FrmPuroductDataInput : public QDialog {
    Q_OBJECT
public:
    explicit FrmPuroductDataInput(EditorActions actions, QWidget *parent = nullptr);
    ~FrmPuroductDataInput() override;

    // Opens the editor on the named product (empty for none) and returns the name shown
    // when it closed.
    QString Start(Database &dbs, const QString &strProductName);

    // Loading, list and mode.
    void Form_Load();
    void SetList(qint16 mode);
    void Option1_Click(int index);
    void Check1_Click();
    // The substance search: the list shows what matches, ticks of hidden substances stay.
    void searchChanged(const QString &typed);

    // Loading and saving a product. Loading another product saves the one on screen first.
    void ReadData(qint32 ProductID);
    void WriteData(std::optional<int> productId);

    // Commands and list events.
    void Command1_Click(int index);
    void ListView1_ItemCheck(int position);
    void ListView1_ItemClick(int position);
    void ListView1_MouseDown(Qt::MouseButton button, const QPoint &globalPosition);
    void ListView1_ColumnClick(int index1Based);
    void MnAllUnSelect_Click();
    void MnALLSelect_Click();
    void MnALLChange_Click();
    void Text1_Change(int index);
    void Text1_LostFocus(int index);

    // Text of box index (multi-line boxes in CR LF) and setting it as the program does.
    QString text(int index) const;
    void setText(int index, const QString &value);

    // The controls, by the indexes of the form design.
    std::map<int, QWidget *> Text1;
    std::map<int, QPushButton *> Command1;
    std::map<int, QLabel *> Label1;
    std::array<QRadioButton *, 2> Option1{};
    QCheckBox *Check1 = nullptr;
    QLineEdit *searchBox = nullptr;
    QLabel *noMatch = nullptr; // 「該当する物質はありません」 over an empty list
    ListView *ListView1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QMenu *MnSelect = nullptr;

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

    QString strProductName;
    const EditorState &state() const { return m_state; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void buildControls();
    QWidget *buildMixtureControls();
    // The contents table for the ticked substances; a substance no longer ticked loses its content.
    void showContents();
    void showProperties();
    void showClassification();
    void Form_Unload();
    // Shows the stored product (none below 1) without saving the one on screen.
    void loadProduct(qint32 productId);
    void setTicks(const std::vector<int> &positions, bool checked);
    // The substance numbers a save writes: the ticked ones and those this master lacks.
    std::vector<int> numbersToSave() const;
    // Another program saved (or deleted) the product since it was loaded, so it was not
    // overwritten: the user reloads the stored version or keeps this one as a new product.
    void keepBothVersions(const std::vector<int> &numbers, catalogue::ProductFields fields, bool deletedElsewhere);
    void setProductName(const QString &name);
    void printCommand(LabelKind kind);
    void commandSelect();
    void commandAdd();
    void commandDelete();
    void commandRename();
    void commandCopy();
    void commandUndo();

    EditorActions m_actions;
    Database *dbs = nullptr;
    EditorState m_state;
    bool m_unloaded = false;
    std::vector<QObject *> m_focusWatchers;
    MixtureMaster m_mixtureMaster; // read with the list, when the editor opens
};

} // namespace corvane
