#include "MainMenu.h"
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

MainMenu::MainMenu(MenuActions actions, QWidget *parent) : QWidget(parent), m_actions(std::move(actions))
{
    buildControls();
}

MainMenu::~MainMenu() { delete m_focusWatcher; }

void MainMenu::buildControls()
{
    setFont(gothicFont(14.25));
    const auto label = [this](const QString &caption) { return new QLabel(caption, this); };
    using Command = void (MainMenu::*)();
    const auto button = [this](const QString &caption, Command command) {
        auto *widget = new QPushButton(caption, this);
        widget->setMinimumHeight(33);
        widget->setAutoDefault(false);
        clickOnEnter(widget);
        connect(widget, &QPushButton::clicked, this, command);
        return widget;
    };

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->setColumnMinimumWidth(0, 24);
    grid->setColumnMinimumWidth(1, 24);
    grid->setColumnStretch(3, 1);

    QLabel *title = label(Application::title());
    title->setFont(gothicFont(26.25));
    title->setAlignment(Qt::AlignCenter);
    grid->addWidget(title, 0, 0, 1, 5);
    grid->setRowMinimumHeight(1, 18);

    grid->addWidget(label(QStringLiteral("１．会社に関する情報を入力してください。")), 2, 0, 1, 4);
    grid->addWidget(companyButton = button(QStringLiteral("会社名・住所等入力"), &MainMenu::openCompany), 3, 2);
    grid->addWidget(label(QStringLiteral("２．製品に関する情報を入力してください。")), 4, 0, 1, 4);
    grid->addWidget(editorButton = button(QStringLiteral("製品に関する情報入力"), &MainMenu::openEditor), 5, 2);
    grid->addWidget(label(QStringLiteral("３．ラベルの種類を選択してください。")), 6, 0, 1, 4);
    grid->addWidget(label(QStringLiteral("（１）製品を選択してください。")), 7, 1, 1, 3);

    productNameEdit = new QLineEdit(this);
    cleanOnInput(productNameEdit);
    grid->addWidget(productNameEdit, 8, 2, 1, 2);
    grid->addWidget(listButton = button(QStringLiteral("一覧"), &MainMenu::chooseProduct), 8, 4);

    grid->addWidget(label(QStringLiteral("（２）ラベルの種類を選択してください。")), 9, 1, 1, 3);
    grid->addWidget(printNormalButton = button(QStringLiteral("通常のラベル"), &MainMenu::printNormal), 10, 2);
    grid->addWidget(label(QStringLiteral("（入力した取り扱い上の注意書き等を表記）")), 10, 3, 1, 2);
    grid->addWidget(printModelButton = button(QStringLiteral("モデルラベル"), &MainMenu::printModel), 11, 2);
    // Until a product is chosen the two sheets of additional labels are told apart by size.
    grid->addWidget(
        printAdditional2x6Button = button(QStringLiteral("追加ラベル（12面）"), &MainMenu::printAdditional2x6), 12, 2);
    grid->addWidget(twelveOfOneLabel = label(QStringLiteral("（1物質12ラベル）")), 12, 3, 1, 2);
    grid->addWidget(
        printAdditional3x7Button = button(QStringLiteral("追加ラベル（21面）"), &MainMenu::printAdditional3x7), 13, 2);
    grid->addWidget(twentyOneOfOneLabel = label(QStringLiteral("（1物質21ラベル）")), 13, 3, 1, 2);
    grid->addWidget(label(QStringLiteral("（参考）")), 14, 1, Qt::AlignRight);
    grid->addWidget(printAllSubstancesButton =
                        button(QStringLiteral("全対象物質追加ラベル"), &MainMenu::printAllSubstances),
                    14, 2);
    grid->addWidget(label(QStringLiteral("（混合物）")), 15, 1, Qt::AlignRight);
    grid->addWidget(printMixtureLabelButton = button(QStringLiteral("混合物のラベル"), &MainMenu::printMixtureLabel),
                    15, 2);
    grid->addWidget(label(QStringLiteral("（含有率から分類したラベル）")), 15, 3, 1, 2);
    grid->addWidget(printBasisButton = button(QStringLiteral("分類の根拠"), &MainMenu::printBasis), 16, 2);
    grid->addWidget(label(QStringLiteral("（A4 の報告）")), 16, 3, 1, 2);
    grid->setRowMinimumHeight(17, 8);
    grid->addWidget(quitButton = button(QStringLiteral("終了"), &MainMenu::quit), 18, 4);
    // The guide, by its button or by F1 anywhere on the menu.
    helpButton = new QPushButton(QStringLiteral("使い方"), this);
    helpButton->setMinimumHeight(33);
    helpButton->setAutoDefault(false);
    helpButton->setToolTip(QStringLiteral("使い方の説明を開きます（F1）"));
    clickOnEnter(helpButton);
    connect(helpButton, &QPushButton::clicked, this, [this] { showUserGuide(this); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { showUserGuide(this); });
    grid->addWidget(helpButton, 18, 2, Qt::AlignLeft);
    for (QPushButton *wide :
         {companyButton, editorButton, printNormalButton, printModelButton, printAdditional2x6Button,
          printAdditional3x7Button, printAllSubstancesButton, printMixtureLabelButton, printBasisButton})
        wide->setMinimumWidth(233);
    // Says why the button is so often disabled.
    printModelButton->setToolTip(QStringLiteral("単一物質の製品だけ"));

    // Focus order of the work list; the labels take no focus.
    QWidget *order[] = {companyButton,
                        editorButton,
                        productNameEdit,
                        listButton,
                        printNormalButton,
                        printModelButton,
                        printAdditional2x6Button,
                        printAdditional3x7Button,
                        printAllSubstancesButton,
                        printMixtureLabelButton,
                        printBasisButton,
                        quitButton,
                        helpButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(productNameEdit, &QLineEdit::textChanged, this, &MainMenu::productNameEdited);
    moveFocusOnEnter(productNameEdit);
    m_focusWatcher = onLostFocus(productNameEdit, [this] { checkProductName(); });
}

void MainMenu::showState()
{
    const bool hasProduct = m_state.productId.has_value();
    const bool multiple = m_state.multipleSubstances;
    for (QPushButton *productButton : {printNormalButton, printAdditional2x6Button, printAdditional3x7Button,
                                       printMixtureLabelButton, printBasisButton})
        productButton->setEnabled(hasProduct);
    printModelButton->setEnabled(hasProduct && !multiple);
    twelveOfOneLabel->setVisible(hasProduct && !multiple);
    twentyOneOfOneLabel->setVisible(hasProduct && !multiple);
    if (!hasProduct)
        return; // the additional-label buttons keep the captions of the last product
    printAdditional2x6Button->setText(multiple ? QStringLiteral("複数物質追加ラベル(2×6)")
                                               : QStringLiteral("単一物質追加ラベル(2×6)"));
    printAdditional3x7Button->setText(multiple ? QStringLiteral("複数物質追加ラベル(3×7)")
                                               : QStringLiteral("単一物質追加ラベル(3×7)"));
}

bool MainMenu::open()
{
    setWindowTitle(Application::title());
    showState();

    const DataLocation location = locateData();
    auto opened = openRunDatabase(location);
    if (!opened) {
        MsgBox(this, opened.errorText());
        m_shutDown = true; // nothing was read, so nothing is written back
        return false;
    }
    m_database = std::move(*opened);
    if (const Outcome backup = takeDailyBackup(*m_database); !backup)
        MsgBox(this, backup.errorText());
    if (const QString update = masterUpdateMessage(updateMasterAtStartUp(*m_database)); !update.isEmpty())
        MsgBox(this, update);

    m_settingsFile = location.settingsFile;
    productNameEdit->setText(readSetting(QStringLiteral("init"), QStringLiteral("ProductName"), m_settingsFile));
    if (!m_state.productName.isEmpty())
        checkProductName();
    else
        m_state.nameChanged = false;
    return true;
}

void MainMenu::shutDown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    if (m_database) {
        m_database->close();
        m_database.reset();
    }
    if (!writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), m_state.productName, m_settingsFile))
        MsgBox(this, QStringLiteral("設定ファイルに製品名を保存できませんでした（ファイルはそのままです）。\n%1")
                         .arg(QDir::toNativeSeparators(m_settingsFile)));
}

void MainMenu::closeEvent(QCloseEvent *event)
{
    shutDown();
    event->accept();
}

void MainMenu::productNameEdited()
{
    m_state.productName = productNameEdit->text();
    m_state.nameChanged = true;
}

void MainMenu::checkProductName()
{
    if (!m_state.nameChanged)
        return;
    guarded(this, [this] {
        if (m_state.productName.isEmpty()) {
            m_state.productId.reset();
            showState();
            return;
        }
        const auto product = catalogue::productByName(*m_database, m_state.productName);
        if (!product) {
            MsgBox(this, QStringLiteral("製品名：") + m_state.productName + QStringLiteral("は登録されていません。"));
            // The emptied box prints nothing, as an empty box always does.
            m_state.productId.reset();
            showState();
            productNameEdit->setText(QString());
            return;
        }
        m_state.productId = product->id;
        m_state.multipleSubstances = product->itemType.value_or(1) == 0;
        showState();
    });
    m_state.nameChanged = false;
}

void MainMenu::print(LabelKind kind, bool singleSubstance)
{
    guarded(this, [&] {
        if (m_actions.printLabels && m_state.productId)
            m_actions.printLabels(this, *m_database, *m_state.productId, kind, singleSubstance);
    });
}

void MainMenu::openCompany()
{
    guarded(this, [this] {
        if (m_actions.openCompany)
            m_actions.openCompany(*m_database);
    });
}

void MainMenu::openEditor()
{
    guarded(this, [this] {
        if (!m_actions.openEditor)
            return;
        // The editor may have changed the product's kind even when it returns the same
        // name, so the product is checked again whenever a name comes back.
        const QString result = m_actions.openEditor(*m_database, m_state.productName);
        if (!result.isEmpty()) {
            productNameEdit->setText(result);
            m_state.nameChanged = true;
            checkProductName();
        }
    });
}

void MainMenu::chooseProduct()
{
    guarded(this, [this] {
        if (!m_actions.chooseProduct)
            return;
        QString name;
        const int id = m_actions.chooseProduct(*m_database, name);
        if (id >= 1) {
            productNameEdit->setText(name);
            m_state.productId = id;
            checkProductName();
        }
    });
}

void MainMenu::printNormal() { print(LabelKind::Normal, m_state.singleSubstanceLabels()); }

void MainMenu::printModel() { print(LabelKind::Model, true); }

void MainMenu::printAdditional2x6() { print(LabelKind::Additional2x6, m_state.singleSubstanceLabels()); }

void MainMenu::printAdditional3x7() { print(LabelKind::Additional3x7, m_state.singleSubstanceLabels()); }

void MainMenu::printAllSubstances()
{
    guarded(this, [this] {
        if (m_actions.printLabels)
            m_actions.printLabels(this, *m_database, -1, LabelKind::AllSubstances, false);
    });
}

void MainMenu::printMixtureLabel() { print(LabelKind::MixtureLabel, m_state.singleSubstanceLabels()); }

void MainMenu::printBasis() { print(LabelKind::ClassificationBasis, m_state.singleSubstanceLabels()); }

void MainMenu::quit()
{
    guarded(this, [this] { close(); });
}

} // namespace corvane
