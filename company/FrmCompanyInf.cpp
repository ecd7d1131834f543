#include "FrmCompanyInf.h"
#include "Catalogue.h"
#include "CleanInput.h"
#include "ErrorBoundary.h"
#include "FocusMoves.h"
#include "Fonts.h"
#include "MessageBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

FrmCompanyInf::FrmCompanyInf(QWidget *parent) : QDialog(parent)
{
    buildControls();
}

void FrmCompanyInf::buildControls()
{
    setWindowTitle(QStringLiteral("会社情報入力"));
    ignoreEscape(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(gothicFont(11.25));

    auto *form = new QVBoxLayout(this);
    form->setSizeConstraint(QLayout::SetFixedSize);
    form->setContentsMargins(24, 16, 24, 16);
    form->setSpacing(4);

    Label1[0] = new QLabel(QStringLiteral("１．会社に関する情報を入力してください。"), this);
    Label1[0]->setFont(gothicFont(14.25));
    form->addWidget(Label1[0]);
    form->addSpacing(12);

    const QString captions[] = {QStringLiteral("法人の名称（個人の氏名）"), QStringLiteral("住所"),
                                QStringLiteral("TEL, FAX")};
    for (int index = 0; index < 3; ++index) {
        Label1[index + 1] = new QLabel(captions[index], this);
        Text1[index] = new QLineEdit(this);
        Text1[index]->setMaxLength(200);
        Text1[index]->setMinimumWidth(560);
        Label1[index + 1]->setBuddy(Text1[index]);
        moveFocusOnEnter(Text1[index]);
        cleanOnInput(Text1[index]);
        if (index > 0)
            form->addSpacing(10);
        form->addWidget(Label1[index + 1]);
        form->addWidget(Text1[index]);
    }
    form->addSpacing(20);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch();
    for (auto [index, caption] : {std::pair{1, QStringLiteral("入力取り消し")}, std::pair{0, QStringLiteral("戻る")}}) {
        auto *button = new QPushButton(caption, this);
        button->setMinimumSize(120, 33);
        connect(button, &QPushButton::clicked, this, [this, index = index] { Command1_Click(index); });
        Command1[index] = button;
        buttons->addWidget(button);
    }
    form->addLayout(buttons);

    // Enter after the last box goes on to "戻る", which saves; "入力取り消し" is never the next
    // stop of someone entering the record.
    QWidget *order[] = {Text1[0], Text1[1], Text1[2], Command1[0], Command1[1]};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void FrmCompanyInf::Start(Database &db)
{
    dbCompany = &db;
    // A record that cannot be read is not shown, so closing cannot overwrite it with blanks.
    if (!Form_Load())
        return;
    exec();
}

bool FrmCompanyInf::Form_Load()
{
    Text1[0]->setFocus();
    return guarded(this, [this] { ReadData(); });
}

void FrmCompanyInf::ReadData()
{
    auto record = catalogue::company(*dbCompany);
    if (!record) {
        catalogue::createCompanyIfEmpty(*dbCompany);
        record = catalogue::company(*dbCompany);
    }
    const CompanyRecord values = record.value_or(CompanyRecord{});
    m_revision = values.revision;
    m_read = values;
    Text1[0]->setText(values.company);
    Text1[1]->setText(values.address);
    Text1[2]->setText(values.tel);
}

void FrmCompanyInf::Form_Unload()
{
    guarded(this, [this] {
        const CompanyRecord typed{Text1[0]->text(), Text1[1]->text(), Text1[2]->text()};
        if (savedOrThrow(catalogue::writeCompany(*dbCompany, typed, m_revision)).outcome == catalogue::SaveResult::Saved)
            return;
        // Another program saved the record since it was read: it is not overwritten unasked.
        if (MsgBox(this,
                   QStringLiteral("会社情報はほかの画面で変更されました。\n\n"
                                  "「OK」: 保存されている内容を残します（この画面の変更は保存されません）。\n"
                                  "「キャンセル」: この画面の内容で上書きします。"),
                   MsgIcon::Question, MsgButtons::OkCancel)
            == MsgResult::Cancel)
            savedOrThrow(catalogue::writeCompany(*dbCompany, typed));
    });
}

void FrmCompanyInf::done(int result)
{
    // A failed save has been reported; the form closes all the same.
    Form_Unload();
    QDialog::done(result);
}

void FrmCompanyInf::Command1_Click(int index)
{
    if (index == 0) {
        accept();
        return;
    }
    // Typed text is discarded only when the user says so.
    const bool typed = Text1[0]->text() != m_read.company || Text1[1]->text() != m_read.address
                       || Text1[2]->text() != m_read.tel;
    if (typed
        && MsgBox(this, QStringLiteral("入力した内容を取り消して、保存されている会社情報に戻しますか？"), MsgIcon::Question,
                  MsgButtons::OkCancel)
               != MsgResult::Ok)
        return;
    guarded(this, [this] { ReadData(); });
}

} // namespace corvane
