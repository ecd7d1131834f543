#pragma once
#include "CompanyForm.h"
#include "MainMenu.h"
#include "PrintPreview.h"
#include "ProductNameDialog.h"
#include "ProductSelectDialog.h"

#include <functional>

namespace corvane {

using PrintLabelsFunction =
    std::function<void(QWidget *, Database &, int productId, LabelKind kind, bool singleSubstance)>;

// The program's forms wired together: the main menu, and the dialogs that live for the whole
// run and are opened again and again. Printing goes through the given function (the print
// preview in the program, a PDF file in tests).
class Program {
public:
    explicit Program(PrintLabelsFunction printLabels);

    MainMenu &menu() { return m_menu; }

private:
    PrintLabelsFunction m_printLabels;
    ProductSelectDialog m_productSelect;
    ProductNameDialog m_productName;
    CompanyForm m_company;
    MainMenu m_menu;
};

} // namespace corvane
