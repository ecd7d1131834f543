#include "FrmPuroductNameRegist.h"
#include "Catalogue.h"
#include "CleanInput.h"
#include "ErrorBoundary.h"
#include "Fonts.h"
#include "MessageBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvane {

FrmPuroductNameRegist::FrmPuroductNameRegist(QWidget *parent) : QDialog(parent)
{
    buildControls();
}

void FrmPuroductNameRegist::buildControls()
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(gothicFont(10.5));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(16);

    Text1[0] = new QLineEdit(this);
    cleanOnInput(Text1[0]);
    Text1[0]->setMaxLength(50);
    Text1[0]->setMinimumWidth(320);
    Label1[0] = new QLabel(QStringLiteral("製品名"), this);
    Label1[0]->setBuddy(Text1[0]);
    grid->addWidget(Label1[0], 0, 0);
    grid->addWidget(Text1[0], 0, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (auto [index, caption] : {std::pair{0, QStringLiteral("ＯＫ")}, std::pair{1, QStringLiteral("キャンセル")}}) {
        auto *button = new QPushButton(caption, this);
        button->setFixedSize(105, 33);
        connect(button, &QPushButton::clicked, this, [this, index = index] { Command1_Click(index); });
        Command1[index] = button;
        buttons->addWidget(button);
    }
    Command1[0]->setDefault(true);
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

int FrmPuroductNameRegist::Start(Database &dbs, QString &strProductName, const std::optional<QString> &oldProName)
{
    dbRegist = &dbs;
    strOldName = oldProName.value_or(QString());
    // Only a successful ＯＫ of this opening sets a result.
    strResultName.clear();
    lngResultID = 0;
    Form_Load();
    exec();
    strProductName = strResultName;
    return lngResultID;
}

void FrmPuroductNameRegist::Form_Load()
{
    setWindowTitle(strOldName.isEmpty() ? QStringLiteral("製品名登録") : QStringLiteral("製品名変更"));
    Text1[0]->setText(strOldName);
    Text1[0]->setFocus();
}

void FrmPuroductNameRegist::Command1_Click(int index)
{
    if (index == 1) {
        reject();
        return;
    }
    guarded(this, [this] {
        const QString name = Text1[0]->text(); // as typed: blanks are part of the name
        if (name.isEmpty()) {
            MsgBox(this, QStringLiteral("製品名を入力してください。"));
            return;
        }
        if (name == strOldName) {
            MsgBox(this, QStringLiteral("製品名を変更してください。"));
            return;
        }
        QString taken = QStringLiteral("製品名：") + name + QStringLiteral(" は既に登録されています。");
        if (const auto registered = catalogue::productByName(*dbRegist, name)) {
            // A look-alike (full-width or half-width, another case) is named as it is stored.
            if (registered->nameText() != name)
                taken += QStringLiteral("\n登録済みの製品名：") + registered->nameText();
            MsgBox(this, taken);
            return;
        }
        if (strOldName.isEmpty()) {
            // Another PC may have registered the name since the check above.
            const std::optional<int> id = savedOrThrow(catalogue::registerProduct(*dbRegist, name));
            if (!id) {
                MsgBox(this, taken);
                return;
            }
            lngResultID = *id;
        }
        strResultName = name;
        accept();
    });
}

} // namespace corvane
