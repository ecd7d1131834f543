#pragma once
#include "HazardClass.h"

#include <QString>

#include <optional>
#include <vector>

namespace corvane::ghs {

// An ingredient's content in weight percent: one value, or a range lower–upper. The upper
// bound classifies, as the classification guidance asks for ranges.
struct Content {
    double upper = 0;
    std::optional<double> lower; // only for a range

    static Content value(double percent) { return {percent, std::nullopt}; }
    static Content range(double lowerPercent, double upperPercent) { return {upperPercent, lowerPercent}; }
    // The smallest share the ingredient can have: what a sum over 100 % is checked with.
    double least() const { return lower.value_or(upper); }
    bool operator==(const Content &) const = default;
};

// One ingredient of a product as the mixture rules need it.
struct Ingredient {
    int substanceNumber = 0; // the substance number of the catalogue
    QString name;
    std::optional<Content> content;          // absent: not entered, the product cannot be classified
    std::vector<ClassEntry> classification;  // the hazards the ingredient is classified in
    std::vector<HazardClass> unclassifiable; // classes its source could not classify (分類できない)
    std::optional<double> acuteMFactor;      // M-factor for the short-term aquatic hazard
    std::optional<double> chronicMFactor;    // M-factor for the long-term aquatic hazard
    // The legal list's cut-offs in weight percent (ラベル表示 / SDS交付), absent when not listed.
    std::optional<double> labelCutOffPercent;
    std::optional<double> sdsCutOffPercent;
};

// What the rules need of the product itself; every field may be unknown.
struct ProductProperties {
    std::optional<double> flashPointCelsius;
    std::optional<double> initialBoilingPointCelsius;
    std::optional<double> kinematicViscosity40C; // mm²/s at 40 °C
    std::optional<bool> isGas;                   // gas mixtures have lower sensitiser limits
    // The part of the product not covered by the ingredients is known to have no hazard
    // (残りは無害); otherwise it counts as of unknown hazard.
    bool remainderHarmless = false;
    bool operator==(const ProductProperties &) const = default;
};

} // namespace corvane::ghs
