#pragma once
#include "MixtureInput.h"
#include "MixtureResult.h"

namespace corvane::ghs {

// The GHS classification of a mixture from its ingredients and the product's own data, by
// the rule table (mixture_rules.tsv). Pure: no database, no widgets; safe to call as often
// as the user types.
MixtureClassification classifyMixture(const std::vector<Ingredient> &ingredients, const ProductProperties &product);

} // namespace corvane::ghs
