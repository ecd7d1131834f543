#include "Program.h"
#include "FrmPuroductDataInput.h"

namespace corvane {

Program::Program(PrintLabelsFunction printLabels)
    : m_printLabels(std::move(printLabels)), m_menu(MenuActions{})
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
            // The editor opens in its design state every time.
            FrmPuroductDataInput editor(editorActions, &m_menu);
            return editor.Start(db, name);
        },
        [this](Database &db, QString &name) { return m_productSelect.choose(db, name); },
        m_printLabels,
    });
}

} // namespace corvane
