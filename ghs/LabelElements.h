#pragma once
#include "HazardClass.h"
#include "Outcome.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace corvane::ghs {

// One row of the table of label elements (ghs/tables/label_elements.tsv): what a class and
// category put on a label, and where that was read.
struct LabelRule {
    HazardClass hazardClass;
    QString category;
    QString effect;                         // STOT single exposure 3: 気道刺激性 or 麻酔作用
    QStringList hazardCodes;                // empty: the category carries no label element
    QString signalWord;                     // 危険, 警告 or empty
    QStringList pictograms;                 // GHS01 …
    std::optional<QStringList> precautions; // nothing: the assignment was not read
    QString source;
    int line = 0;

    bool read() const { return precautions.has_value() && !source.startsWith(QStringLiteral("未読")); }
};

class LabelTable {
public:
    // Parses a table in the format of label_elements.tsv; fails, with every problem, when a
    // line is malformed or names an unknown class or a class and category twice.
    static Result<LabelTable> fromText(const QString &text);
    // The table compiled into the program.
    static const LabelTable &builtIn();

    const LabelRule *find(HazardClass hazardClass, const QString &category, const QString &effect = {}) const;
    const std::vector<LabelRule> &rules() const { return m_rules; }

private:
    std::vector<LabelRule> m_rules;
};

// The label elements of a classified substance, as the master's row writes them.
struct ComposedLabel {
    QString signalWord;          // the strongest of the categories' words
    QStringList pictograms;      // GHS order, after the precedence rules
    QStringList hazardCodes;     // printing order; acute toxicity of one strength combined
    QStringList precautionCodes; // every category's, merged without repeats, in code order
    QStringList categories;      // "H228=1", "H242=C": where the code alone does not decide the word
    QStringList fillIns;         // "H370=中枢神経系、視覚器"
    QStringList unread;          // the classes and categories whose table row was not (fully) read
};

// Composes the label elements of a classification. Returns nothing, with *problem, when a
// class and category has no row in the table or an effect of STOT single exposure category 3
// is neither 気道刺激性 nor 麻酔作用.
std::optional<ComposedLabel> composeLabel(const std::vector<ClassEntry> &entries, const LabelTable &table,
                                          QString *problem);

} // namespace corvane::ghs
