#pragma once
#include <QString>

#include <optional>

namespace corvane {

// What the main menu knows; its buttons and captions are drawn from this alone.
struct MenuState {
    QString productName;            // the product-name box's text
    bool nameChanged = false;       // the box changed since the last product check
    std::optional<int> productId;   // the product the label buttons print
    bool multipleSubstances = true; // that product's kind

    // The flag the label buttons pass: 1 fills each additional-label page with copies of
    // one substance.
    bool singleSubstanceLabels() const { return productId && !multipleSubstances; }
};

} // namespace corvane
