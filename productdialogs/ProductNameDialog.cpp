#include "ProductNameDialog.h"
#include "Catalogue.h"
#include "CleanInput.h"
#include "DialogButtons.h"
#include "ErrorBoundary.h"
#include "Fonts.h"
#include "MessageBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvane {

ProductNameDialog::ProductNameDialog(QWidget *parent) : QDialog(parent) { buildControls(); }

void ProductNameDialog::buildControls()
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(gothicFont(10.5));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(16);

    nameEdit = new QLineEdit(this);
    cleanOnInput(nameEdit);
    nameEdit->setMaxLength(50);
    nameEdit->setMinimumWidth(320);
    nameLabel = new QLabel(QStringLiteral("製品名"), this);
    nameLabel->setBuddy(nameEdit);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(nameEdit, 0, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    okButton = addDialogButton(this, buttons, QStringLiteral("ＯＫ"));
    cancelButton = addDialogButton(this, buttons, QStringLiteral("キャンセル"));
    connect(okButton, &QPushButton::clicked, this, &ProductNameDialog::acceptName);
    connect(cancelButton, &QPushButton::clicked, this, &ProductNameDialog::reject);
    okButton->setDefault(true);
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

int ProductNameDialog::ask(Database &database, QString &acceptedName, const std::optional<QString> &currentName)
{
    m_database = &database;
    m_currentName = currentName.value_or(QString());
    // Only a successful ＯＫ of this opening sets a result.
    m_acceptedName.clear();
    m_registeredId = 0;
    setWindowTitle(m_currentName.isEmpty() ? QStringLiteral("製品名登録") : QStringLiteral("製品名変更"));
    nameEdit->setText(m_currentName);
    nameEdit->setFocus();
    exec();
    acceptedName = m_acceptedName;
    return m_registeredId;
}

void ProductNameDialog::acceptName()
{
    guarded(this, [this] {
        const QString name = nameEdit->text(); // as typed: blanks are part of the name
        if (name.isEmpty()) {
            MsgBox(this, QStringLiteral("製品名を入力してください。"));
            return;
        }
        if (name == m_currentName) {
            MsgBox(this, QStringLiteral("製品名を変更してください。"));
            return;
        }
        QString taken = QStringLiteral("製品名：") + name + QStringLiteral(" は既に登録されています。");
        if (const auto registered = catalogue::productByName(*m_database, name)) {
            // A look-alike (full-width or half-width, another case) is named as it is stored.
            if (registered->nameText() != name)
                taken += QStringLiteral("\n登録済みの製品名：") + registered->nameText();
            MsgBox(this, taken);
            return;
        }
        if (m_currentName.isEmpty()) {
            // Another PC may have registered the name since the check above.
            const std::optional<int> id = savedOrThrow(catalogue::registerProduct(*m_database, name));
            if (!id) {
                MsgBox(this, taken);
                return;
            }
            m_registeredId = *id;
        }
        m_acceptedName = name;
        accept();
    });
}

} // namespace corvane
