#include "Fonts.h"
#include "FrmCompanyInf.h"
#include "FrmMenu.h"
#include "FrmPuroductDataInput.h"
#include "FrmPuroductNameRegist.h"
#include "FrmPuroductSelect.h"
#include "PrintLabels.h"

#include <QApplication>

using namespace corvane;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setFont(gothicFont(10.5));

    // Each dialog is one object for the whole run, opened again and again.
    FrmPuroductSelect select;
    FrmPuroductNameRegist regist;
    FrmCompanyInf company;
    const auto printLabels = [](QWidget *owner, Database &db, int productId, int kind, int singleSubstance) {
        PrintLabels(owner, db, productId, static_cast<qint16>(kind), static_cast<qint16>(singleSubstance));
    };

    FrmMenu menu(MenuActions{});
    menu.setActions({
        [&](Database &db) { company.Start(db); },
        [&](Database &db, const QString &name) {
            FrmPuroductDataInput editor(
                {[&](Database &d, QString &chosen) { return select.Start(d, chosen); },
                 [&](Database &d, QString &accepted, const std::optional<QString> &oldName) {
                     return regist.Start(d, accepted, oldName);
                 },
                 printLabels},
                &menu);
            return editor.Start(db, name);
        },
        [&](Database &db, QString &name) { return select.Start(db, name); },
        printLabels,
    });
    if (!menu.Form_Load())
        return 1;
    menu.show();
    return app.exec();
}
