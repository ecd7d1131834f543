// The editor's command buttons.
#include "Catalogue.h"
#include "ErrorBoundary.h"
#include "MessageBox.h"
#include "ProductEditor.h"

#include <QRadioButton>

namespace corvane {

void ProductEditor::runCommand(const std::function<void()> &command)
{
    // A typed name is looked up before any command, so the command sees a name box whose
    // text and tag agree (a click on a button does this through the focus already).
    if (m_state.nameAwaitsLookup)
        checkProductName();
    guarded(this, command);
}

void ProductEditor::chooseProduct()
{
    runCommand([this] {
        if (!m_actions.chooseProduct)
            return;
        QString name;
        const int id = m_actions.chooseProduct(*m_database, name);
        if (id < 1)
            return;
        readProduct(id); // with the revision it holds
        setProductName(name);
        m_state.productId = id;
        m_state.nameAwaitsLookup = false;
    });
}

std::optional<ProductEditor::NewProduct> ProductEditor::registerNewProduct()
{
    if (!m_actions.askProductName)
        return std::nullopt;
    QString name;
    const int id = m_actions.askProductName(*m_database, name, std::nullopt);
    if (name.isEmpty())
        return std::nullopt;
    return NewProduct{id, name};
}

void ProductEditor::addProduct()
{
    runCommand([this] {
        const auto added = registerNewProduct();
        if (!added)
            return;
        const int id = added->id;
        readProduct(id);
        m_state.productId = id;
        m_state.nameAwaitsLookup = false;
    });
}

void ProductEditor::deleteProduct()
{
    runCommand([this] {
        // With no product loaded there is nothing to delete; the entries under -1 (the list of
        // all target substances) are never touched.
        if (!m_state.productId || *m_state.productId < 1)
            return;
        if (MsgBox(this, QStringLiteral("製品名:") + m_state.name + QStringLiteral(" を削除します。よろしいですか？"),
                   MsgIcon::Question, MsgButtons::OkCancel)
            != MsgResult::Ok)
            return;
        savedOrThrow(catalogue::deleteProductWithEntries(*m_database, *m_state.productId));
        m_state.productId.reset();
        readProduct(-1);
        m_state.nameAwaitsLookup = false;
    });
}

void ProductEditor::renameProduct()
{
    runCommand([this] {
        if (m_state.name.isEmpty()) {
            MsgBox(this, QStringLiteral("製品名を入力してください。"));
            return;
        }
        if (!m_actions.askProductName)
            return;
        QString name;
        m_actions.askProductName(*m_database, name, m_state.name);
        if (name.isEmpty())
            return;
        if (m_state.productId && *m_state.productId >= 1)
            m_state.revision = savedOrThrow(catalogue::renameProduct(*m_database, *m_state.productId, name));
        setProductName(name);
        m_state.nameAwaitsLookup = false;
    });
}

void ProductEditor::copyProduct()
{
    runCommand([this] {
        const auto copy = registerNewProduct();
        if (!copy)
            return;
        const int id = copy->id;
        try {
            writeProduct(m_state.productId);
        } catch (...) {
            // The copy cannot go on without the original saved: take the new name back.
            guarded(this, [&] { savedOrThrow(catalogue::deleteProductWithEntries(*m_database, id)); });
            throw;
        }
        setProductName(copy->name);
        m_state.productId = id;
        m_state.revision = 0; // the new name's row, as registered
        m_state.nameAwaitsLookup = false;
    });
}

void ProductEditor::undoChanges()
{
    runCommand([this] {
        // The stored product comes back as it was; nothing on screen is saved.
        loadProduct(m_state.productId.value_or(-1));
        m_state.nameAwaitsLookup = false;
    });
}

void ProductEditor::saveAndPrint(LabelKind kind)
{
    if (!m_state.productId || *m_state.productId <= 0)
        return;
    writeProduct(m_state.productId);
    if (m_actions.printLabels)
        m_actions.printLabels(this, *m_database, *m_state.productId, kind, m_state.singleSubstance);
}

void ProductEditor::printNormal()
{
    runCommand([this] { saveAndPrint(LabelKind::Normal); });
}

void ProductEditor::printModel()
{
    runCommand([this] {
        writeProduct(m_state.productId);
        if (m_actions.printLabels)
            m_actions.printLabels(this, *m_database, m_state.productId.value_or(-1), LabelKind::Model, true);
    });
}

void ProductEditor::printAdditional2x6()
{
    runCommand([this] { saveAndPrint(LabelKind::Additional2x6); });
}

void ProductEditor::printAdditional3x7()
{
    runCommand([this] { saveAndPrint(LabelKind::Additional3x7); });
}

void ProductEditor::printMixtureLabel()
{
    runCommand([this] { saveAndPrint(LabelKind::MixtureLabel); });
}

void ProductEditor::printBasis()
{
    runCommand([this] { saveAndPrint(LabelKind::ClassificationBasis); });
}

void ProductEditor::goBack()
{
    runCommand([this] { close(); });
}

} // namespace corvane
