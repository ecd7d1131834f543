#include "Program.h"
#include "ProductEditor.h"

namespace corvane {

Program::Program(PrintLabelsFunction printLabels) : m_printLabels(std::move(printLabels)), m_menu(MenuActions{})
{
    const EditorActions editorActions{
        [this](Database &db, QString &name) { return m_productSelect.choose(db, name); },
        [this](Database &db, QString &name, const std::optional<QString> &currentName) {
            return m_productName.ask(db, name, currentName);
        },
        m_printLabels,
    };
    m_menu.setActions({
        [this](Database &db) { m_company.edit(db); },
        [this, editorActions](Database &db, const QString &name) {
            // A fresh editor every time, so each opening starts from the same state.
            ProductEditor editor(editorActions, &m_menu);
            return editor.edit(db, name);
        },
        [this](Database &db, QString &name) { return m_productSelect.choose(db, name); },
        m_printLabels,
    });
}

} // namespace corvane
