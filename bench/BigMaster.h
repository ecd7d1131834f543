#pragma once
#include <QString>

namespace corvane {

// Makes a Data folder whose substance master holds count substances (the real master's rows
// repeated with numbered names) and whose list of all target substances names them all.
// Returns false with the reason in *error.
//
// With longTexts, the rows repeated are the master's kLongRows with the longest hazard
// statements, and the folder also holds product 1 ("長い注意事項") with the first
// kLongProductSubstances substances, the longest precautionary text of the master as its notes
// and twelve lines of ingredients.
inline constexpr int kLongRows = 30;
inline constexpr int kLongProductSubstances = 300;
bool makeBigDataFolder(const QString &dataFolder, int count, QString *error, bool longTexts = false);

} // namespace corvane
