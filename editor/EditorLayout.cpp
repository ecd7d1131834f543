// The editor's controls and their layout.
#include "FocusMoves.h"
#include "Fonts.h"
#include "CleanInput.h"
#include "FrmPuroductDataInput.h"
#include "ListView.h"

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

void FrmPuroductDataInput::buildControls()
{
    setWindowTitle(QStringLiteral("製品情報入力"));
    ignoreEscape(this);
    setFont(gothicFont(10.5));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    const auto button = [this](int index, const QString &caption) {
        auto *widget = new QPushButton(caption, this);
        widget->setAutoDefault(false);
        clickOnEnter(widget);
        widget->setMinimumHeight(30);
        Command1[index] = widget;
        connect(widget, &QPushButton::clicked, this, [this, index] { Command1_Click(index); });
        return widget;
    };
    const auto multiLine = [this](int index, bool locked) {
        auto *box = new QPlainTextEdit(this);
        box->setReadOnly(locked);
        box->setTabChangesFocus(true);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        Text1[index] = box;
        if (!locked)
            cleanOnInput(box);
        connect(box, &QPlainTextEdit::textChanged, this, [this, index] { Text1_Change(index); });
        return box;
    };
    const auto label = [this](int index, const QString &caption) {
        auto *widget = new QLabel(caption, this);
        Label1[index] = widget;
        return widget;
    };

    // Product name and the product commands.
    Frame2 = new QGroupBox(QStringLiteral("製品名"), this);
    auto *name = new QLineEdit(Frame2);
    name->setMaxLength(50);
    name->setMinimumWidth(320);
    Text1[0] = name;
    cleanOnInput(name);
    connect(name, &QLineEdit::textChanged, this, [this] { Text1_Change(0); });
    auto *nameRow = new QHBoxLayout(Frame2);
    nameRow->addWidget(name, 1);
    nameRow->addWidget(button(0, QStringLiteral("一覧")));
    nameRow->addWidget(button(1, QStringLiteral("追加")));
    nameRow->addWidget(button(2, QStringLiteral("削除")));
    nameRow->addWidget(button(4, QStringLiteral("変更")));
    nameRow->addWidget(button(9, QStringLiteral("複写")));
    nameRow->addWidget(button(10, QStringLiteral("入力取り消し")));

    // The substance list.
    Frame1 = new QGroupBox(QStringLiteral("物質を選択してください。"), this);
    ListView1 = new ListView(Frame1);
    ListView1->setCheckBoxes(&m_state.ticks);
    ListView1->setMinimumSize(420, 180);
    Check1 = new QCheckBox(QStringLiteral("選択物質のみ表示"), Frame1);
    searchBox = new QLineEdit(Frame1);
    searchBox->setPlaceholderText(QStringLiteral("物質名・別名・CAS RN・番号"));
    searchBox->setClearButtonEnabled(true);
    auto *searchLabel = new QLabel(QStringLiteral("物質の検索"), Frame1);
    searchLabel->setBuddy(searchBox);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(searchBox, 1);
    connect(searchBox, &QLineEdit::textChanged, this, &FrmPuroductDataInput::searchChanged);
    moveFocusOnEnter(searchBox);
    // Said over the empty list when nothing matches the search (or nothing is ticked).
    noMatch = new QLabel(QStringLiteral("該当する物質はありません"), ListView1->viewport());
    noMatch->hide();
    (new QVBoxLayout(ListView1->viewport()))->addWidget(noMatch, 0, Qt::AlignCenter);
    auto *listBox = new QVBoxLayout(Frame1);
    listBox->addLayout(searchRow);
    listBox->addWidget(ListView1, 1);
    listBox->addWidget(Check1);
    connect(ListView1, &ListView::itemCheck, this, &FrmPuroductDataInput::ListView1_ItemCheck);
    connect(ListView1, &ListView::itemClick, this, &FrmPuroductDataInput::ListView1_ItemClick);
    connect(ListView1, &ListView::mouseDown, this, &FrmPuroductDataInput::ListView1_MouseDown);
    connect(ListView1, &ListView::columnClick, this, &FrmPuroductDataInput::ListView1_ColumnClick);
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });

    MnSelect = new QMenu(QStringLiteral("選択設定"), this);
    connect(MnSelect->addAction(QStringLiteral("すべて選択解除")), &QAction::triggered, this,
            &FrmPuroductDataInput::MnAllUnSelect_Click);
    connect(MnSelect->addAction(QStringLiteral("すべて選択")), &QAction::triggered, this,
            &FrmPuroductDataInput::MnALLSelect_Click);
    connect(MnSelect->addAction(QStringLiteral("すべて選択反転")), &QAction::triggered, this,
            &FrmPuroductDataInput::MnALLChange_Click);

    // The label mode and the statements of the clicked substance.
    auto *modes = new QHBoxLayout;
    for (int index : {0, 1}) {
        Option1[static_cast<size_t>(index)] =
            new QRadioButton(index == 0 ? QStringLiteral("複数物質") : QStringLiteral("単一物質"), this);
        modes->addWidget(Option1[static_cast<size_t>(index)]);
    }
    Option1[0]->setChecked(true); // the form's first selection, before any handler listens
    for (int index : {0, 1})
        connect(Option1[static_cast<size_t>(index)], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                Option1_Click(index);
        });
    modes->addStretch(1);

    auto *statements = new QVBoxLayout;
    statements->addLayout(modes);
    statements->addWidget(label(3, QStringLiteral("危険有害性情報")));
    statements->addWidget(multiLine(1, true), 1);
    statements->addWidget(label(4, QStringLiteral("注意書き")));
    statements->addWidget(multiLine(2, true), 2);

    auto *middle = new QHBoxLayout;
    middle->addWidget(Frame1, 5);
    middle->addWidget(buildMixtureControls(), 4);
    middle->addLayout(statements, 3);

    // The product's own texts for the normal label.
    auto *notes = new QGridLayout;
    notes->addWidget(label(2, QStringLiteral("貯蔵又は取扱い上の注意(通常のラベル用)")), 0, 0);
    notes->addWidget(multiLine(3, false), 1, 0);
    notes->addWidget(label(5, QStringLiteral("含有する成分(通常のラベル用)")), 0, 1);
    notes->addWidget(multiLine(4, false), 1, 1);
    // The list takes the height that is left; the notes keep a few lines.
    for (int index : {3, 4}) {
        Text1[index]->setMinimumHeight(70);
        Text1[index]->setMaximumHeight(90);
    }

    // Printing and leaving.
    auto *commands = new QHBoxLayout;
    for (const auto &[index, caption] : std::initializer_list<std::pair<int, QString>>{
             {5, QStringLiteral("通常のラベル")},
             {6, QStringLiteral("モデルラベル")},
             {7, QStringLiteral("複数物質追加ラベル")},
             {8, QStringLiteral("複数物質追加ラベル")},
             {11, QStringLiteral("混合物のラベル")},
             {12, QStringLiteral("分類の根拠")}}) {
        QPushButton *widget = button(index, caption);
        widget->setMinimumHeight(42);
        widget->setMinimumWidth(index >= 11 ? 130 : 170);
        commands->addWidget(widget);
    }
    commands->addStretch(1);
    commands->addWidget(button(3, QStringLiteral("戻る")));
    Command1[3]->setMinimumHeight(42);

    auto *form = new QVBoxLayout(this);
    form->addWidget(Frame2);
    form->addLayout(middle, 1);
    form->addLayout(notes);
    form->addLayout(commands);

    for (const auto &[index, box] : Text1) {
        moveFocusOnEnter(box);
        m_focusWatchers.push_back(onLostFocus(box, [this, index = index] { Text1_LostFocus(index); }));
    }

    QWidget *order[] = {Text1[0],    Command1[0], Command1[1], Command1[2], Command1[4],
                        Command1[9], Command1[10], searchBox,  ListView1,   Check1,      contentsTable,
                        flashPointBox, boilingPointBox, viscosityBox, remainderHarmlessBox, Option1[0],
                        Option1[1],  Text1[1],    Text1[2],    Text1[3],    Text1[4],
                        Command1[5], Command1[6], Command1[7], Command1[8], Command1[11], Command1[12], Command1[3]};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    // Fits a 1366 x 768 screen with a task bar, title bar included.
    resize(1320, 680);
}

} // namespace corvane
