// The editor's command buttons.
#include "Catalogue.h"
#include "ErrorBoundary.h"
#include "FrmPuroductDataInput.h"
#include "MessageBox.h"

#include <QRadioButton>

namespace corvane {

void FrmPuroductDataInput::Command1_Click(int index)
{
    // A typed name is looked up before any command, so the command sees a name box whose
    // text and tag agree (a click on a button does this through the focus already).
    if (m_state.intChangedIndex == 0)
        Text1_LostFocus(0);

    guarded(this, [&] {
        switch (index) {
        case 0: commandSelect(); break;
        case 1: commandAdd(); break;
        case 2: commandDelete(); break;
        case 3: close(); break;
        case 4: commandRename(); break;
        case 5: printCommand(LabelKind::Normal); break;
        case 6:
            WriteData(m_state.productId);
            if (m_actions.printLabels)
                m_actions.printLabels(this, *dbs, m_state.productId.value_or(-1), LabelKind::Model, true);
            break;
        case 7: printCommand(LabelKind::Additional2x6); break;
        case 8: printCommand(LabelKind::Additional3x7); break;
        case 9: commandCopy(); break;
        case 10: commandUndo(); break;
        case 11: printCommand(LabelKind::MixtureLabel); break;
        case 12: printCommand(LabelKind::ClassificationBasis); break;
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
    ReadData(id); // with the revision it holds
    setProductName(name);
    m_state.productId = id;
    m_state.intChangedIndex = -1;
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
    m_state.productId = id;
    m_state.intChangedIndex = -1;
}

void FrmPuroductDataInput::commandDelete()
{
    // With no product loaded there is nothing to delete; the entries under -1 (the list of
    // all target substances) are never touched.
    if (!m_state.productId || *m_state.productId < 1)
        return;
    if (MsgBox(this, QStringLiteral("製品名:") + m_state.name + QStringLiteral(" を削除します。よろしいですか？"),
               MsgIcon::Question, MsgButtons::OkCancel)
        != MsgResult::Ok)
        return;
    savedOrThrow(catalogue::deleteProductWithEntries(*dbs, *m_state.productId));
    m_state.productId.reset();
    ReadData(-1);
    m_state.intChangedIndex = -1;
}

void FrmPuroductDataInput::commandRename()
{
    if (m_state.name.isEmpty()) {
        MsgBox(this, QStringLiteral("製品名を入力してください。"));
        return;
    }
    if (!m_actions.registerStart)
        return;
    QString name;
    m_actions.registerStart(*dbs, name, m_state.name);
    if (name.isEmpty())
        return;
    if (m_state.productId && *m_state.productId >= 1)
        m_state.revision = savedOrThrow(catalogue::renameProduct(*dbs, *m_state.productId, name));
    setProductName(name);
    m_state.intChangedIndex = -1;
}

void FrmPuroductDataInput::printCommand(LabelKind kind)
{
    if (!m_state.productId || *m_state.productId <= 0)
        return;
    WriteData(m_state.productId);
    if (m_actions.printLabels)
        m_actions.printLabels(this, *dbs, *m_state.productId, kind, m_state.singleSubstance);
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
        WriteData(m_state.productId);
    } catch (...) {
        // The copy cannot go on without the original saved: take the new name back.
        guarded(this, [&] { savedOrThrow(catalogue::deleteProductWithEntries(*dbs, id)); });
        throw;
    }
    setProductName(name);
    m_state.productId = id;
    m_state.revision = 0; // the new name's row, as registered
    m_state.intChangedIndex = -1;
}

void FrmPuroductDataInput::commandUndo()
{
    // The stored product comes back as it was; nothing on screen is saved.
    loadProduct(m_state.productId.value_or(-1));
    m_state.intChangedIndex = -1;
}

} // namespace corvane
