#pragma once
#include "LabelKind.h"

#include <QString>

#include <functional>

class QWidget;

namespace corvane {

class Database;

// What the main menu's buttons open and print. main() wires the real forms and the printing
// run; a test records the calls instead.
struct MenuActions {
    std::function<void(Database &)> openCompany;
    std::function<QString(Database &, const QString &)> openEditor;
    std::function<int(Database &, QString &)> chooseProduct;
    std::function<void(QWidget *, Database &, int productId, LabelKind kind, bool singleSubstance)> printLabels;
};

} // namespace corvane
