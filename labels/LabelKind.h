#pragma once

#include <optional>

namespace corvane {

// The labels the print buttons ask for. The numbers are the ones the user gives corvane-print
// (--kind) and the ones older versions of the program passed: they do not change.
enum class LabelKind {
    Normal = 1,              // one label (single substance) or six to a page, with the header
    Model = 2,               // one model label
    Additional2x6 = 3,       // twelve to a page
    AllSubstances = 4,       // twelve to a page, the list of all target substances
    Additional3x7 = 5,       // twenty-one to a page
    MixtureLabel = 6,        // the product's label as a mixture, on the normal label's paper
    ClassificationBasis = 7, // the basis of the product's classification as a mixture, A4
};

constexpr int labelKindNumber(LabelKind kind) { return static_cast<int>(kind); }

constexpr std::optional<LabelKind> labelKindFromNumber(int number)
{
    if (number < labelKindNumber(LabelKind::Normal) || number > labelKindNumber(LabelKind::ClassificationBasis))
        return std::nullopt;
    return static_cast<LabelKind>(number);
}

// The sheets of additional labels, where the first sheet may start at any label position.
constexpr bool isAdditionalSheet(LabelKind kind)
{
    return kind == LabelKind::Additional2x6 || kind == LabelKind::AllSubstances || kind == LabelKind::Additional3x7;
}

} // namespace corvane
