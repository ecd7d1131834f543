#pragma once
#include "EditorActions.h"
#include "ProductEditor.h"

#include <QList>
#include <QString>

#include <functional>
#include <vector>

namespace corvane {

class Database;

// Drives the editor as a user does: opened modally through edit, worked on while open,
// closed with 戻る.
QString runEditor(ProductEditor &form, Database &db, const QString &name, const std::function<void()> &whileOpen);

// The user's tick on the list item of a substance (the item must be listed).
void tick(ProductEditor &form, int substance, bool on);

// The user's typing of a content into the 「含有率(%)」 cell of a ticked substance (the cell
// emptied first).
void typeContent(ProductEditor &form, int substance, const QString &typed);

// Substance numbers ticked in the list, in display order.
QList<int> tickedInList(const ProductEditor &form);

// Substance numbers the editor holds ticked, ascending.
QList<int> marked(const ProductEditor &form);

// The stored entries of a product, slot by slot (Null slots as 0), one list per row.
QList<QList<int>> storedEntries(Database &db, int productId);

struct PrintCall {
    int productId;
    LabelKind kind;
    bool singleSubstance;
    bool operator==(const PrintCall &) const = default;
};

} // namespace corvane
