#include "CompanyForm.h"
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

CompanyForm::CompanyForm(QWidget *parent) : QDialog(parent) { buildControls(); }

void CompanyForm::buildControls()
{
    setWindowTitle(QStringLiteral("会社情報入力"));
    ignoreEscape(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(gothicFont(11.25));

    auto *form = new QVBoxLayout(this);
    form->setSizeConstraint(QLayout::SetFixedSize);
    form->setContentsMargins(24, 16, 24, 16);
    form->setSpacing(4);

    headingLabel = new QLabel(QStringLiteral("１．会社に関する情報を入力してください。"), this);
    headingLabel->setFont(gothicFont(14.25));
    form->addWidget(headingLabel);
    form->addSpacing(12);

    // A caption over its box.
    const auto field = [this, form](const QString &caption, QLabel *&label, QLineEdit *&box) {
        label = new QLabel(caption, this);
        box = new QLineEdit(this);
        box->setMaxLength(200);
        box->setMinimumWidth(560);
        label->setBuddy(box);
        moveFocusOnEnter(box);
        cleanOnInput(box);
        form->addWidget(label);
        form->addWidget(box);
    };
    field(QStringLiteral("法人の名称（個人の氏名）"), companyNameLabel, companyNameEdit);
    form->addSpacing(10);
    field(QStringLiteral("住所"), addressLabel, addressEdit);
    form->addSpacing(10);
    field(QStringLiteral("TEL, FAX"), phoneLabel, phoneEdit);
    form->addSpacing(20);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch();
    const auto button = [this, buttons](const QString &caption) {
        auto *widget = new QPushButton(caption, this);
        widget->setMinimumSize(120, 33);
        buttons->addWidget(widget);
        return widget;
    };
    undoButton = button(QStringLiteral("入力取り消し"));
    backButton = button(QStringLiteral("戻る"));
    connect(undoButton, &QPushButton::clicked, this, &CompanyForm::undoInput);
    connect(backButton, &QPushButton::clicked, this, &CompanyForm::accept);
    form->addLayout(buttons);

    // Enter after the last box goes on to "戻る", which saves; "入力取り消し" is never the next
    // stop of someone entering the record.
    QWidget *order[] = {companyNameEdit, addressEdit, phoneEdit, backButton, undoButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void CompanyForm::edit(Database &database)
{
    m_database = &database;
    companyNameEdit->setFocus();
    // A record that cannot be read is not shown, so closing cannot overwrite it with blanks.
    if (!guarded(this, [this] { readRecord(); }))
        return;
    exec();
}

void CompanyForm::readRecord()
{
    auto record = catalogue::company(*m_database);
    if (!record) {
        catalogue::createCompanyIfEmpty(*m_database);
        record = catalogue::company(*m_database);
    }
    const CompanyRecord values = record.value_or(CompanyRecord{});
    m_revision = values.revision;
    m_read = values;
    companyNameEdit->setText(values.company);
    addressEdit->setText(values.address);
    phoneEdit->setText(values.tel);
}

void CompanyForm::saveRecord()
{
    guarded(this, [this] {
        const CompanyRecord typed{companyNameEdit->text(), addressEdit->text(), phoneEdit->text()};
        if (savedOrThrow(catalogue::writeCompany(*m_database, typed, m_revision)).outcome
            == catalogue::SaveResult::Saved)
            return;
        // Another program saved the record since it was read: it is not overwritten unasked.
        if (MsgBox(this,
                   QStringLiteral("会社情報はほかの画面で変更されました。\n\n"
                                  "「OK」: 保存されている内容を残します（この画面の変更は保存されません）。\n"
                                  "「キャンセル」: この画面の内容で上書きします。"),
                   MsgIcon::Question, MsgButtons::OkCancel)
            == MsgResult::Cancel)
            savedOrThrow(catalogue::writeCompany(*m_database, typed));
    });
}

void CompanyForm::done(int result)
{
    // A failed save has been reported; the form closes all the same.
    saveRecord();
    QDialog::done(result);
}

void CompanyForm::undoInput()
{
    // Typed text is discarded only when the user says so.
    const bool typed = companyNameEdit->text() != m_read.company || addressEdit->text() != m_read.address
                       || phoneEdit->text() != m_read.tel;
    if (typed
        && MsgBox(this, QStringLiteral("入力した内容を取り消して、保存されている会社情報に戻しますか？"),
                  MsgIcon::Question, MsgButtons::OkCancel)
               != MsgResult::Ok)
        return;
    guarded(this, [this] { readRecord(); });
}

} // namespace corvane
