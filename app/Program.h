#pragma once
#include "FrmCompanyInf.h"
#include "FrmMenu.h"
#include "FrmPuroductNameRegist.h"
#include "FrmPuroductSelect.h"
#include "PrintPreview.h"

#include <functional>

namespace corvane {

using PrintLabelsFunction = std::function<void(QWidget *, Database &, int productId, LabelKind kind, bool singleSubstance)>;

// The program's forms wired together: the main menu, and the dialogs that live for the whole
// run and are opened again and again. Printing goes through the given function (the print
// preview in the program, a PDF file in tests).
class Program {
public:
    explicit Program(PrintLabelsFunction printLabels);

    FrmMenu &menu() { return m_menu; }

private:
    PrintLabelsFunction m_printLabels;
    FrmPuroductSelect m_select;
    FrmPuroductNameRegist m_regist;
    FrmCompanyInf m_company;
    FrmMenu m_menu;
};

} // namespace corvane
