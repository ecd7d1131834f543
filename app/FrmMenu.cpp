#include "FrmMenu.h"
#include "Application.h"
#include "Catalogue.h"
#include "CleanInput.h"
#include "DataLocation.h"
#include "DailyBackup.h"
#include "Database.h"
#include "RunDatabase.h"
#include "ErrorBoundary.h"
#include "FocusMoves.h"
#include "Fonts.h"
#include "MasterUpdate.h"
#include "MessageBox.h"
#include "Profile.h"
#include "UserGuide.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace corvane {

FrmMenu::FrmMenu(MenuActions actions, QWidget *parent)
    : QWidget(parent), m_actions(std::move(actions))
{
    buildControls();
}

FrmMenu::~FrmMenu() { delete m_focusWatcher; }

void FrmMenu::buildControls()
{
    setFont(gothicFont(14.25));
    const auto label = [this](int index, const QString &caption) {
        auto *widget = new QLabel(caption, this);
        Label1[index] = widget;
        return widget;
    };
    const auto button = [this](int index, const QString &caption) {
        auto *widget = new QPushButton(caption, this);
        widget->setMinimumHeight(33);
        widget->setAutoDefault(false);
        clickOnEnter(widget);
        Command1[index] = widget;
        connect(widget, &QPushButton::clicked, this, [this, index] { Command1_Click(index); });
        return widget;
    };

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->setColumnMinimumWidth(0, 24);
    grid->setColumnMinimumWidth(1, 24);
    grid->setColumnStretch(3, 1);

    QLabel *title = label(0, Application::title());
    title->setFont(gothicFont(26.25));
    title->setAlignment(Qt::AlignCenter);
    grid->addWidget(title, 0, 0, 1, 5);
    grid->setRowMinimumHeight(1, 18);

    grid->addWidget(label(1, QStringLiteral("１．会社に関する情報を入力してください。")), 2, 0, 1, 4);
    grid->addWidget(button(0, QStringLiteral("会社名・住所等入力")), 3, 2);
    grid->addWidget(label(2, QStringLiteral("２．製品に関する情報を入力してください。")), 4, 0, 1, 4);
    grid->addWidget(button(1, QStringLiteral("製品に関する情報入力")), 5, 2);
    grid->addWidget(label(3, QStringLiteral("３．ラベルの種類を選択してください。")), 6, 0, 1, 4);
    grid->addWidget(label(4, QStringLiteral("（１）製品を選択してください。")), 7, 1, 1, 3);

    Text1 = new QLineEdit(this);
    cleanOnInput(Text1);
    grid->addWidget(Text1, 8, 2, 1, 2);
    grid->addWidget(button(2, QStringLiteral("一覧")), 8, 4);

    grid->addWidget(label(5, QStringLiteral("（２）ラベルの種類を選択してください。")), 9, 1, 1, 3);
    grid->addWidget(button(3, QStringLiteral("通常のラベル")), 10, 2);
    grid->addWidget(label(6, QStringLiteral("（入力した取り扱い上の注意書き等を表記）")), 10, 3, 1, 2);
    grid->addWidget(button(4, QStringLiteral("モデルラベル")), 11, 2);
    // Until a product is chosen the two sheets of additional labels are told apart by size.
    grid->addWidget(button(5, QStringLiteral("追加ラベル（12面）")), 12, 2);
    grid->addWidget(label(7, QStringLiteral("（1物質12ラベル）")), 12, 3, 1, 2);
    grid->addWidget(button(8, QStringLiteral("追加ラベル（21面）")), 13, 2);
    grid->addWidget(label(9, QStringLiteral("（1物質21ラベル）")), 13, 3, 1, 2);
    grid->addWidget(label(8, QStringLiteral("（参考）")), 14, 1, Qt::AlignRight);
    grid->addWidget(button(6, QStringLiteral("全対象物質追加ラベル")), 14, 2);
    grid->addWidget(label(10, QStringLiteral("（混合物）")), 15, 1, Qt::AlignRight);
    grid->addWidget(button(9, QStringLiteral("混合物のラベル")), 15, 2);
    grid->addWidget(label(11, QStringLiteral("（含有率から分類したラベル）")), 15, 3, 1, 2);
    grid->addWidget(button(10, QStringLiteral("分類の根拠")), 16, 2);
    grid->addWidget(label(12, QStringLiteral("（A4 の報告）")), 16, 3, 1, 2);
    grid->setRowMinimumHeight(17, 8);
    grid->addWidget(button(7, QStringLiteral("終了")), 18, 4);
    // The guide, by its button or by F1 anywhere on the menu.
    helpButton = new QPushButton(QStringLiteral("使い方"), this);
    helpButton->setMinimumHeight(33);
    helpButton->setAutoDefault(false);
    helpButton->setToolTip(QStringLiteral("使い方の説明を開きます（F1）"));
    clickOnEnter(helpButton);
    connect(helpButton, &QPushButton::clicked, this, [this] { showUserGuide(this); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, [this] { showUserGuide(this); });
    grid->addWidget(helpButton, 18, 2, Qt::AlignLeft);
    for (int index : {0, 1, 3, 4, 5, 8, 6, 9, 10})
        Command1[index]->setMinimumWidth(233);
    // Says why the button is so often disabled.
    Command1[4]->setToolTip(QStringLiteral("単一物質の製品だけ"));

    // Focus order of the work list; the labels take no focus.
    QWidget *order[] = {Command1[0], Command1[1], Text1,       Command1[2], Command1[3],
                        Command1[4], Command1[5], Command1[8], Command1[6], Command1[9], Command1[10], Command1[7],
                        helpButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    moveFocusOnEnter(Text1);
    m_focusWatcher = onLostFocus(Text1, [this] { Text1_LostFocus(); });
}

void FrmMenu::showState()
{
    const bool hasProduct = m_state.productId.has_value();
    const bool multiple = m_state.multipleSubstances;
    for (int index : {3, 5, 8, 9, 10})
        Command1[index]->setEnabled(hasProduct);
    Command1[4]->setEnabled(hasProduct && !multiple);
    Label1[7]->setVisible(hasProduct && !multiple);
    Label1[9]->setVisible(hasProduct && !multiple);
    if (!hasProduct)
        return; // the additional-label buttons keep the captions of the last product
    Command1[5]->setText(multiple ? QStringLiteral("複数物質追加ラベル(2×6)") : QStringLiteral("単一物質追加ラベル(2×6)"));
    Command1[8]->setText(multiple ? QStringLiteral("複数物質追加ラベル(3×7)") : QStringLiteral("単一物質追加ラベル(3×7)"));
}

bool FrmMenu::Form_Load()
{
    setWindowTitle(Application::title());
    showState();

    const DataLocation location = locateData();
    auto opened = openRunDatabase(location);
    if (!opened) {
        MsgBox(this, opened.errorText());
        m_unloaded = true; // nothing was read, so nothing is written back
        return false;
    }
    dbMenu = std::move(*opened);
    if (const Outcome backup = takeDailyBackup(*dbMenu); !backup)
        MsgBox(this, backup.errorText());
    if (const QString update = masterUpdateMessage(updateMasterAtStartUp(*dbMenu)); !update.isEmpty())
        MsgBox(this, update);

    strIniFile = location.settingsFile;
    Text1->setText(readSetting(QStringLiteral("init"), QStringLiteral("ProductName"), strIniFile));
    if (!m_state.productName.isEmpty())
        Text1_LostFocus();
    else
        m_state.intNameChanged = 0;
    return true;
}

void FrmMenu::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (dbMenu) {
        dbMenu->close();
        dbMenu.reset();
    }
    if (!writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), m_state.productName, strIniFile))
        MsgBox(this, QStringLiteral("設定ファイルに製品名を保存できませんでした（ファイルはそのままです）。\n%1")
                         .arg(QDir::toNativeSeparators(strIniFile)));
}

void FrmMenu::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void FrmMenu::Text1_Change()
{
    m_state.productName = Text1->text();
    m_state.intNameChanged = 1;
}

void FrmMenu::Text1_LostFocus()
{
    if (m_state.intNameChanged != 1)
        return;
    guarded(this, [this] {
        if (m_state.productName.isEmpty()) {
            m_state.productId.reset();
            showState();
            return;
        }
        const auto product = catalogue::productByName(*dbMenu, m_state.productName);
        if (!product) {
            MsgBox(this, QStringLiteral("製品名：") + m_state.productName + QStringLiteral("は登録されていません。"));
            // The emptied box prints nothing, as an empty box always does.
            m_state.productId.reset();
            showState();
            Text1->setText(QString());
            return;
        }
        m_state.productId = product->id;
        m_state.multipleSubstances = product->itemType.value_or(1) == 0;
        showState();
    });
    m_state.intNameChanged = 0;
}

void FrmMenu::print(LabelKind kind, bool singleSubstance)
{
    if (m_actions.printLabels && m_state.productId)
        m_actions.printLabels(this, *dbMenu, *m_state.productId, kind, singleSubstance);
}

void FrmMenu::Command1_Click(int index)
{
    guarded(this, [&] {
        switch (index) {
        case 0:
            if (m_actions.companyStart)
                m_actions.companyStart(*dbMenu);
            break;
        case 1:
            if (m_actions.editorStart) {
                // The editor may have changed the product's kind even when it returns the
                // same name, so the product is checked again whenever a name comes back.
                const QString result = m_actions.editorStart(*dbMenu, m_state.productName);
                if (!result.isEmpty()) {
                    Text1->setText(result);
                    m_state.intNameChanged = 1;
                    Text1_LostFocus();
                }
            }
            break;
        case 2:
            if (m_actions.selectStart) {
                QString name;
                const int id = m_actions.selectStart(*dbMenu, name);
                if (id >= 1) {
                    Text1->setText(name);
                    m_state.productId = id;
                    Text1_LostFocus();
                }
            }
            break;
        case 3:
            print(LabelKind::Normal, m_state.labelFlag() == 1);
            break;
        case 4:
            print(LabelKind::Model, true);
            break;
        case 5:
            print(LabelKind::Additional2x6, m_state.labelFlag() == 1);
            break;
        case 6:
            if (m_actions.printLabels)
                m_actions.printLabels(this, *dbMenu, -1, LabelKind::AllSubstances, false);
            break;
        case 7:
            close();
            break;
        case 8:
            print(LabelKind::Additional3x7, m_state.labelFlag() == 1);
            break;
        case 9:
            print(LabelKind::MixtureLabel, m_state.labelFlag() == 1);
            break;
        case 10:
            print(LabelKind::ClassificationBasis, m_state.labelFlag() == 1);
            break;
        default:
            break;
        }
    });
}

} // namespace corvane
