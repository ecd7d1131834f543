// The editor's controls and their layout.
#include "FocusMoves.h"
#include "Fonts.h"
#include "CleanInput.h"
#include "ListView.h"
#include "ProductEditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace corvane {

void ProductEditor::buildControls()
{
    setWindowTitle(QStringLiteral("製品情報入力"));
    ignoreEscape(this);
    setFont(gothicFont(10.5));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    using Command = void (ProductEditor::*)();
    const auto button = [this](const QString &caption, Command command) {
        auto *widget = new QPushButton(caption, this);
        widget->setAutoDefault(false);
        clickOnEnter(widget);
        widget->setMinimumHeight(30);
        connect(widget, &QPushButton::clicked, this, command);
        return widget;
    };
    const auto multiLine = [this](bool locked) {
        auto *box = new QPlainTextEdit(this);
        box->setReadOnly(locked);
        box->setTabChangesFocus(true);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        if (!locked)
            cleanOnInput(box);
        return box;
    };

    // Product name and the product commands.
    productNameGroup = new QGroupBox(QStringLiteral("製品名"), this);
    productNameEdit = new QLineEdit(productNameGroup);
    productNameEdit->setMaxLength(50);
    productNameEdit->setMinimumWidth(320);
    cleanOnInput(productNameEdit);
    connect(productNameEdit, &QLineEdit::textChanged, this, &ProductEditor::productNameEdited);
    auto *nameRow = new QHBoxLayout(productNameGroup);
    nameRow->addWidget(productNameEdit, 1);
    nameRow->addWidget(listButton = button(QStringLiteral("一覧"), &ProductEditor::chooseProduct));
    nameRow->addWidget(addButton = button(QStringLiteral("追加"), &ProductEditor::addProduct));
    nameRow->addWidget(deleteButton = button(QStringLiteral("削除"), &ProductEditor::deleteProduct));
    nameRow->addWidget(renameButton = button(QStringLiteral("変更"), &ProductEditor::renameProduct));
    nameRow->addWidget(copyButton = button(QStringLiteral("複写"), &ProductEditor::copyProduct));
    nameRow->addWidget(undoButton = button(QStringLiteral("入力取り消し"), &ProductEditor::undoChanges));

    // The substance list.
    substanceGroup = new QGroupBox(QStringLiteral("物質を選択してください。"), this);
    substanceList = new ListView(substanceGroup);
    substanceList->setCheckBoxes(&m_state.ticks);
    substanceList->setMinimumSize(420, 180);
    tickedOnlyBox = new QCheckBox(QStringLiteral("選択物質のみ表示"), substanceGroup);
    searchBox = new QLineEdit(substanceGroup);
    searchBox->setPlaceholderText(QStringLiteral("物質名・別名・CAS RN・番号"));
    searchBox->setClearButtonEnabled(true);
    auto *searchLabel = new QLabel(QStringLiteral("物質の検索"), substanceGroup);
    searchLabel->setBuddy(searchBox);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(searchBox, 1);
    connect(searchBox, &QLineEdit::textChanged, this, &ProductEditor::searchChanged);
    moveFocusOnEnter(searchBox);
    // Said over the empty list when nothing matches the search (or nothing is ticked).
    noMatch = new QLabel(QStringLiteral("該当する物質はありません"), substanceList->viewport());
    noMatch->hide();
    (new QVBoxLayout(substanceList->viewport()))->addWidget(noMatch, 0, Qt::AlignCenter);
    auto *listBox = new QVBoxLayout(substanceGroup);
    listBox->addLayout(searchRow);
    listBox->addWidget(substanceList, 1);
    listBox->addWidget(tickedOnlyBox);
    connect(substanceList, &ListView::itemCheck, this, &ProductEditor::substanceTicked);
    connect(substanceList, &ListView::itemClick, this, &ProductEditor::showSubstance);
    connect(substanceList, &ListView::mouseDown, this, &ProductEditor::showTickMenu);
    connect(substanceList, &ListView::columnClick, this, &ProductEditor::sortList);
    connect(tickedOnlyBox, &QCheckBox::toggled, this, &ProductEditor::refillList);

    tickMenu = new QMenu(QStringLiteral("選択設定"), this);
    connect(tickMenu->addAction(QStringLiteral("すべて選択解除")), &QAction::triggered, this,
            &ProductEditor::untickAll);
    connect(tickMenu->addAction(QStringLiteral("すべて選択")), &QAction::triggered, this, &ProductEditor::tickAll);
    connect(tickMenu->addAction(QStringLiteral("すべて選択反転")), &QAction::triggered, this,
            &ProductEditor::invertTicks);

    // The label mode and the statements of the clicked substance.
    auto *modes = new QHBoxLayout;
    multipleSubstancesRadio = new QRadioButton(QStringLiteral("複数物質"), this);
    modes->addWidget(multipleSubstancesRadio);
    singleSubstanceRadio = new QRadioButton(QStringLiteral("単一物質"), this);
    modes->addWidget(singleSubstanceRadio);
    multipleSubstancesRadio->setChecked(true); // the form's first selection, before any handler listens
    connect(multipleSubstancesRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chooseMultipleSubstances();
    });
    connect(singleSubstanceRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chooseSingleSubstance();
    });
    modes->addStretch(1);

    auto *statements = new QVBoxLayout;
    statements->addLayout(modes);
    statements->addWidget(new QLabel(QStringLiteral("危険有害性情報"), this));
    statements->addWidget(hazardsBox = multiLine(true), 1);
    statements->addWidget(new QLabel(QStringLiteral("注意書き"), this));
    statements->addWidget(precautionsBox = multiLine(true), 2);

    auto *middle = new QHBoxLayout;
    middle->addWidget(substanceGroup, 5);
    middle->addWidget(buildMixtureControls(), 4);
    middle->addLayout(statements, 3);

    // The product's own texts for the normal label.
    auto *notes = new QGridLayout;
    notes->addWidget(new QLabel(QStringLiteral("貯蔵又は取扱い上の注意(通常のラベル用)"), this), 0, 0);
    notes->addWidget(notesBox = multiLine(false), 1, 0);
    notes->addWidget(new QLabel(QStringLiteral("含有する成分(通常のラベル用)"), this), 0, 1);
    notes->addWidget(ingredientsBox = multiLine(false), 1, 1);
    // The list takes the height that is left; the notes keep a few lines.
    for (QPlainTextEdit *box : {notesBox, ingredientsBox}) {
        box->setMinimumHeight(70);
        box->setMaximumHeight(90);
    }

    // Printing and leaving.
    auto *commands = new QHBoxLayout;
    const auto printButton = [&](const QString &caption, Command command, int width) {
        QPushButton *widget = button(caption, command);
        widget->setMinimumHeight(42);
        widget->setMinimumWidth(width);
        commands->addWidget(widget);
        return widget;
    };
    printNormalButton = printButton(QStringLiteral("通常のラベル"), &ProductEditor::printNormal, 170);
    printModelButton = printButton(QStringLiteral("モデルラベル"), &ProductEditor::printModel, 170);
    printAdditional2x6Button =
        printButton(QStringLiteral("複数物質追加ラベル"), &ProductEditor::printAdditional2x6, 170);
    printAdditional3x7Button =
        printButton(QStringLiteral("複数物質追加ラベル"), &ProductEditor::printAdditional3x7, 170);
    printMixtureLabelButton = printButton(QStringLiteral("混合物のラベル"), &ProductEditor::printMixtureLabel, 130);
    printBasisButton = printButton(QStringLiteral("分類の根拠"), &ProductEditor::printBasis, 130);
    commands->addStretch(1);
    commands->addWidget(backButton = button(QStringLiteral("戻る"), &ProductEditor::goBack));
    backButton->setMinimumHeight(42);

    auto *form = new QVBoxLayout(this);
    form->addWidget(productNameGroup);
    form->addLayout(middle, 1);
    form->addLayout(notes);
    form->addLayout(commands);

    // The text boxes' changes go into the state. A change of any box but the name ends a
    // pending name lookup, as does leaving any box; leaving the name box looks the name up.
    connect(hazardsBox, &QPlainTextEdit::textChanged, this, [this] { m_state.nameAwaitsLookup = false; });
    connect(precautionsBox, &QPlainTextEdit::textChanged, this, [this] { m_state.nameAwaitsLookup = false; });
    connect(notesBox, &QPlainTextEdit::textChanged, this, [this] {
        m_state.nameAwaitsLookup = false;
        m_state.notes = text(notesBox);
    });
    connect(ingredientsBox, &QPlainTextEdit::textChanged, this, [this] {
        m_state.nameAwaitsLookup = false;
        m_state.ingredients = text(ingredientsBox);
    });
    for (QWidget *box :
         std::initializer_list<QWidget *>{productNameEdit, hazardsBox, precautionsBox, notesBox, ingredientsBox}) {
        moveFocusOnEnter(box);
        m_focusWatchers.push_back(onLostFocus(box, [this, box] {
            if (box == productNameEdit)
                checkProductName();
            else
                m_state.nameAwaitsLookup = false;
        }));
    }

    QWidget *order[] = {productNameEdit,
                        listButton,
                        addButton,
                        deleteButton,
                        renameButton,
                        copyButton,
                        undoButton,
                        searchBox,
                        substanceList,
                        tickedOnlyBox,
                        contentsTable,
                        flashPointBox,
                        boilingPointBox,
                        viscosityBox,
                        remainderHarmlessBox,
                        multipleSubstancesRadio,
                        singleSubstanceRadio,
                        hazardsBox,
                        precautionsBox,
                        notesBox,
                        ingredientsBox,
                        printNormalButton,
                        printModelButton,
                        printAdditional2x6Button,
                        printAdditional3x7Button,
                        printMixtureLabelButton,
                        printBasisButton,
                        backButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    // Fits a 1366 x 768 screen with a task bar, title bar included.
    resize(1320, 680);
}

} // namespace corvane
