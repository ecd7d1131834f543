#include "Program.h"
#include "FrmPuroductDataInput.h"
#include "DataLocation.h"
#include "PrintLabels.h"
#include "ReportEngine.h"

namespace corvane {

Program::Program(PrintLabelsFunction printLabels)
    : m_printLabels(std::move(printLabels)), m_menu(MenuActions{})
{
    const EditorActions editorActions{
        [this](Database &db, QString &name) { return m_select.Start(db, name); },
        [this](Database &db, QString &name, const std::optional<QString> &oldName) {
            return m_regist.Start(db, name, oldName);
        },
        m_printLabels,
    };
    m_menu.setActions({
        [this](Database &db) { m_company.Start(db); },
        [this, editorActions](Database &db, const QString &name) {
            // The editor opens in its design state every time.
            FrmPuroductDataInput editor(editorActions, &m_menu);
            return editor.Start(db, name);
        },
        [this](Database &db, QString &name) { return m_select.Start(db, name); },
        m_printLabels,
    });
}

void printWithPreview(QWidget *owner, Database &db, int productId, int kind, int singleSubstance)
{
    ReportEngine engine;
    engine.setDataFolder(locateData().resourceFolder);
    engine.setPreviewOutput();
    PrintLabels(owner, db, productId, static_cast<qint16>(kind), static_cast<qint16>(singleSubstance), engine);
}

} // namespace corvane
