#pragma once
#include "MixtureInput.h"

#include <QString>

#include <optional>

namespace corvane::ghs {

// A content as the user types it: "12.5", "10-20", also with full-width digits, "〜" or "～"
// between the bounds and a "%" after. Empty text is no content (nullopt, no problem); text
// that is not a number or a range returns nullopt with *problem set, in Japanese. Whether
// the numbers make sense (0–100 %, lower ≤ upper) is checkIngredients' business.
std::optional<Content> parseContentText(const QString &typed, QString *problem);

// The content as it is shown for editing: "12.5", "10-20".
QString contentText(const Content &content);

} // namespace corvane::ghs
