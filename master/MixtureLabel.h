#pragma once
#include "Outcome.h"
#include "mixture/MixtureResult.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace corvane {

// The label elements of a classified mixture, composed as the master composes a substance's
// (the same label element table and statement texts): pictograms after the precedence rules,
// the strongest signal word, hazard statements with organs filled in and acute toxicity of
// one strength combined, precautionary statements of every category merged without repeats.
struct MixtureLabel {
    QString signalWord;
    QStringList pictures; // file names, "GHS02.svg", at most five
    QString hazards;      // one statement a line, "\r\n"
    QString precautions;  // 【安全対策】 … as on the model label
    bool hazardous() const { return !hazards.isEmpty(); }
};

// Fails, saying why in Japanese, when the classification's categories have no row in the
// label element table or call for more pictograms than a label holds.
Result<MixtureLabel> mixtureLabel(const ghs::MixtureClassification &classification);

} // namespace corvane
