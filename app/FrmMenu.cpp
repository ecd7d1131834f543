#include "FrmMenu.h"
#include "Application.h"
#include "Catalogue.h"
#include "Database.h"
#include "ErrorBoundary.h"
#include "FocusMoves.h"
#include "Fonts.h"
#include "MasterUpdate.h"
#include "MessageBox.h"
#include "Module1.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
    grid->addWidget(Text1, 8, 2, 1, 2);
    grid->addWidget(button(2, QStringLiteral("一覧")), 8, 4);

    grid->addWidget(label(5, QStringLiteral("（２）ラベルの種類を選択してください。")), 9, 1, 1, 3);
    grid->addWidget(button(3, QStringLiteral("通常のラベル")), 10, 2);
    grid->addWidget(label(6, QStringLiteral("（入力した取り扱い上の注意書き等を表記）")), 10, 3, 1, 2);
    grid->addWidget(button(4, QStringLiteral("モデルラベル")), 11, 2);
    grid->addWidget(button(5, QStringLiteral("追加ラベル")), 12, 2);
    grid->addWidget(label(7, QStringLiteral("（1物質12ラベル）")), 12, 3, 1, 2);
    grid->addWidget(button(8, QStringLiteral("追加ラベル")), 13, 2);
    grid->addWidget(label(9, QStringLiteral("（1物質21ラベル）")), 13, 3, 1, 2);
    grid->addWidget(label(8, QStringLiteral("（参考）")), 14, 1, Qt::AlignRight);
    grid->addWidget(button(6, QStringLiteral("全対象物質追加ラベル")), 14, 2);
    grid->setRowMinimumHeight(15, 8);
    grid->addWidget(button(7, QStringLiteral("終了")), 16, 4);
    for (int index : {0, 1, 3, 4, 5, 8, 6})
        Command1[index]->setMinimumWidth(233);

    // Focus order of the work list; the labels take no focus.
    QWidget *order[] = {Command1[0], Command1[1], Text1,       Command1[2], Command1[3],
                        Command1[4], Command1[5], Command1[8], Command1[6], Command1[7]};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    moveFocusOnEnter(Text1);
    m_focusWatcher = onLostFocus(Text1, [this] { Text1_LostFocus(); });
}

bool FrmMenu::Form_Load()
{
    setWindowTitle(Application::title());
    if (Text1->text().isEmpty()) {
        for (int index : {3, 4, 5, 8})
            Command1[index]->setEnabled(false);
        Label1[7]->hide();
        Label1[9]->hide();
    }

    QString error;
    dbMenu = Database::open(AddPathSep(Application::folder()) + AddPathSep(QStringLiteral("Data"))
                                + QStringLiteral("Data.mde"),
                            &error);
    if (!dbMenu) {
        MsgBox(this, error);
        m_unloaded = true; // nothing was read, so nothing is written back
        return false;
    }
    if (const QString update = masterUpdateMessage(updateMasterAtStartUp(*dbMenu)); !update.isEmpty())
        MsgBox(this, update);

    strIniFile = AddPathSep(Application::folder()) + Application::exeName() + QStringLiteral(".ini");
    Text1->setText(GetIniString(QStringLiteral("init"), QStringLiteral("ProductName"), strIniFile));
    if (!Text1->text().isEmpty()) {
        Text1_LostFocus();
    } else {
        intNameChanged = 0;
        setTag(Text1, QStringLiteral("-1"));
    }
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
    PutIniString(QStringLiteral("init"), QStringLiteral("ProductName"), Text1->text(), strIniFile);
}

void FrmMenu::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void FrmMenu::Text1_Change() { intNameChanged = 1; }

void FrmMenu::Text1_LostFocus()
{
    if (intNameChanged != 1)
        return;
    guarded(this, [this] {
        if (Text1->text().isEmpty()) {
            for (int index : {3, 4, 5, 8})
                Command1[index]->setEnabled(false);
            return;
        }
        const auto product = catalogue::productByName(*dbMenu, Text1->text());
        if (!product) {
            MsgBox(this, QStringLiteral("製品名：") + Text1->text() + QStringLiteral("は登録されていません。"));
            Text1->setText(QString());
            return;
        }
        const bool multiple = ValOrDefault(product->itemType, 1) == 0;
        Command1[3]->setEnabled(true);
        Command1[4]->setEnabled(!multiple);
        Command1[5]->setEnabled(true);
        Command1[5]->setText(multiple ? QStringLiteral("複数物質追加ラベル(2×6)")
                                      : QStringLiteral("単一物質追加ラベル(2×6)"));
        Command1[8]->setEnabled(true);
        Command1[8]->setText(multiple ? QStringLiteral("複数物質追加ラベル(3×7)")
                                      : QStringLiteral("単一物質追加ラベル(3×7)"));
        Label1[7]->setVisible(!multiple);
        Label1[9]->setVisible(!multiple);
        setTag(Text1, QString::number(ValOrDefault(product->id, -1), 'g', 17));
    });
    intNameChanged = 0;
}

int FrmMenu::labelFlag() const { return Label1.at(7)->isHidden() ? 0 : 1; }

void FrmMenu::print(int kind, int singleSubstance)
{
    if (m_actions.printLabels)
        m_actions.printLabels(this, *dbMenu, static_cast<int>(ValOrDefault(tagOf(Text1), -1)), kind,
                              singleSubstance);
}

void FrmMenu::Command1_Click(int index)
{
    const bool hasProduct = ValOrDefault(tagOf(Text1), -1) > 0;
    guarded(this, [&] {
        switch (index) {
        case 0:
            if (m_actions.companyStart)
                m_actions.companyStart(*dbMenu);
            break;
        case 1:
            if (m_actions.editorStart) {
                const QString result = m_actions.editorStart(*dbMenu, Text1->text());
                if (result != Text1->text() && !result.isEmpty()) {
                    Text1->setText(result);
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
                    setTag(Text1, QString::number(id));
                    Text1_LostFocus();
                }
            }
            break;
        case 3:
            if (hasProduct)
                print(1, labelFlag());
            break;
        case 4:
            print(2, 1);
            break;
        case 5:
            if (hasProduct)
                print(3, labelFlag());
            break;
        case 6:
            if (m_actions.printLabels)
                m_actions.printLabels(this, *dbMenu, -1, 4, 0);
            break;
        case 7:
            close();
            break;
        case 8:
            if (hasProduct)
                print(5, labelFlag());
            break;
        default:
            break;
        }
    });
}

} // namespace corvane
