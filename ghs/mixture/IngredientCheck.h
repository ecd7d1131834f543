#pragma once
#include "MixtureInput.h"
#include "MixtureResult.h"

namespace corvane::ghs {

// Contents the rules cannot work with: a missing content, one outside 0–100 %, a range whose
// lower bound is above its upper, an M-factor below 1, contents summing over 100 %. Each
// refusal names the ingredients, in Japanese; the editor can show them as the user types.
std::vector<Refusal> checkIngredients(const std::vector<Ingredient> &ingredients);

// "酢酸エチル（物質番号 12）"
QString ingredientLabel(const Ingredient &ingredient);

// A percentage as people write it: 24.6, 0.01, 100.
QString percentText(double percent);

} // namespace corvane::ghs
