#pragma once
#include "MixtureInput.h"
#include "MixtureResult.h"

namespace corvane::ghs {

// Whether the product must carry a label and come with an SDS under the Industrial Safety
// and Health Act: some ingredient of the legal list at or above its cut-off.
struct LegalDuty {
    std::vector<Refusal> refusals; // contents the duty cannot be judged with
    bool labelRequired = false;
    std::vector<int> labelIngredients; // substance numbers that make the label required
    bool sdsRequired = false;
    std::vector<int> sdsIngredients;
    QStringList basis; // one sentence a line, in Japanese
};

LegalDuty legalDutyOf(const std::vector<Ingredient> &ingredients);

} // namespace corvane::ghs
