#pragma once
#include "LabelKind.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace corvane {

class Database;

// The dialogs the editor opens and the printing run it calls. The program wires the real
// ones; tests put recorders in their place.
struct EditorActions {
    // Returns the chosen product's ID (below 1 for none) and sets name on a choice.
    std::function<int(Database &, QString &name)> chooseProduct;
    // New mode without currentName (registers the name and returns its ID), rename mode with
    // it; name is the accepted name, empty when nothing was accepted.
    std::function<int(Database &, QString &name, const std::optional<QString> &currentName)> askProductName;
    std::function<void(QWidget *, Database &, int productId, LabelKind kind, bool singleSubstance)> printLabels;
};

} // namespace corvane
