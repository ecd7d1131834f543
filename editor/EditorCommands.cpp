// The editor's command buttons.
#include "Catalogue.h"
#include "ErrorBoundary.h"
#include "FocusMoves.h"
#include "FrmPuroductDataInput.h"
#include "MessageBox.h"
#include "Module1.h"

#include <QRadioButton>

namespace corvane {

void FrmPuroductDataInput::Command1_Click(int index)
{
    // A typed name is looked up before any command, so the command sees a name box whose
    // text and tag agree (a click on a button does this through the focus already).
    if (intChangedIndex == 0)
        Text1_LostFocus(0);

    guarded(this, [&] {
        switch (index) {
        case 0: commandSelect(); break;
        case 1: commandAdd(); break;
        case 2: commandDelete(); break;
        case 3: close(); break;
        case 4: commandRename(); break;
        case 5: printCommand(1); break;
        case 6:
            WriteData(tagOf(Text1[0]));
            if (m_actions.printLabels)
                m_actions.printLabels(this, *dbs, static_cast<int>(ValOrDefault(tagOf(Text1[0]), -1)), 2, 1);
            break;
        case 7: printCommand(3); break;
        case 8: printCommand(5); break;
        case 9: commandCopy(); break;
        case 10: commandUndo(); break;
        default: break;
        }
    });
}

void FrmPuroductDataInput::commandSelect()
{
    if (!m_actions.selectStart)
        return;
    QString name;
    const int id = m_actions.selectStart(*dbs, name);
    if (id < 1)
        return;
    ReadData(id);
    setProductName(name);
    setTag(Text1[0], QString::number(id));
    intChangedIndex = -1;
}

void FrmPuroductDataInput::commandAdd()
{
    if (!m_actions.registerStart)
        return;
    QString name;
    const int id = m_actions.registerStart(*dbs, name, std::nullopt);
    if (name.isEmpty())
        return;
    ReadData(id);
    setTag(Text1[0], QString::number(id));
    intChangedIndex = -1;
}

void FrmPuroductDataInput::commandDelete()
{
    const double id = ValOrDefault(tagOf(Text1[0]), -1);
    // With no product loaded there is nothing to delete; the entries under -1 (the list of
    // all target substances) are never touched.
    if (id < 1)
        return;
    const QString name = text(0);
    if (MsgBox(this, QStringLiteral("製品名:") + name + QStringLiteral(" を削除します。よろしいですか？"),
               MsgIcon::Question, MsgButtons::OkCancel)
        != MsgResult::Ok)
        return;
    catalogue::deleteProductWithEntries(*dbs, static_cast<int>(id));
    setTag(Text1[0], QStringLiteral("-1"));
    ReadData(-1);
    intChangedIndex = -1;
}

void FrmPuroductDataInput::commandRename()
{
    if (text(0).isEmpty()) {
        MsgBox(this, QStringLiteral("製品名を入力してください。"));
        return;
    }
    if (!m_actions.registerStart)
        return;
    QString name;
    m_actions.registerStart(*dbs, name, text(0));
    if (name.isEmpty())
        return;
    const double id = ValOrDefault(tagOf(Text1[0]), -1);
    if (id >= 1)
        catalogue::renameProduct(*dbs, static_cast<int>(id), name);
    setProductName(name);
    intChangedIndex = -1;
}

void FrmPuroductDataInput::printCommand(int kind)
{
    if (ValOrDefault(tagOf(Text1[0]), -1) <= 0)
        return;
    const int singleSubstance = Option1[1]->isChecked() ? 1 : 0;
    WriteData(tagOf(Text1[0]));
    if (m_actions.printLabels)
        m_actions.printLabels(this, *dbs, static_cast<int>(ValOrDefault(tagOf(Text1[0]), -1)), kind,
                              singleSubstance);
}

void FrmPuroductDataInput::commandCopy()
{
    if (!m_actions.registerStart)
        return;
    QString name;
    const int id = m_actions.registerStart(*dbs, name, std::nullopt);
    if (name.isEmpty())
        return;
    try {
        WriteData(tagOf(Text1[0]));
    } catch (...) {
        // The copy cannot go on without the original saved: take the new name back.
        guarded(this, [&] { catalogue::deleteProductWithEntries(*dbs, id); });
        throw;
    }
    setProductName(name);
    setTag(Text1[0], QString::number(id));
    intChangedIndex = -1;
}

void FrmPuroductDataInput::commandUndo()
{
    const auto id = static_cast<qint32>(ValOrDefault(tagOf(Text1[0]), -1));
    // With the tag at -1, loading saves nothing: the stored product comes back as it was.
    setTag(Text1[0], QStringLiteral("-1"));
    try {
        ReadData(id);
    } catch (...) {
        setTag(Text1[0], QString::number(id));
        throw;
    }
    setTag(Text1[0], QString::number(id));
    intChangedIndex = -1;
}

} // namespace corvane
