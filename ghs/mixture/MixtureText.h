#pragma once
#include "MixtureResult.h"

#include <QString>
#include <QStringList>

namespace corvane::ghs {

// A class's result in words: "区分2A", "区分1（中枢神経系、腎臓）、区分3（麻酔作用）",
// "区分に該当しない", "分類できない", "試験データにより判断".
QString verdictText(const ClassResult &result);

// The classification in a few lines, for the editor beside the contents: each class the
// mixture is classified in, then the classes that cannot be classified and those decided by
// tests of the product that some ingredient carries. A refused input gives its messages.
QStringList classificationSummary(const MixtureClassification &classification);

} // namespace corvane::ghs
