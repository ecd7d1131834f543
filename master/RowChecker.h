#pragma once
#include "HazardRules.h"
#include "MasterSource.h"
#include "SourceText.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace corvane::mastersource {

inline const QString kDanger = QStringLiteral("危険");
inline const QString kWarning = QStringLiteral("警告");
inline const QChar kListSeparator = QLatin1Char('|'); // between fill-ins and between aliases

// The checks of one row of substances.tsv, field by field and against each other; every error
// is added to the sink with the row's line and marks the row failed (it is left out).
struct RowChecker {
    RowChecker(const StatementTable &hazards, const StatementTable &precautions, ErrorSink errors, int lineNumber)
        : hazardTable(hazards), precautionTable(precautions), sink(std::move(errors)), line(lineNumber)
    {}

    const StatementTable &hazardTable;
    const StatementTable &precautionTable;
    ErrorSink sink;
    int line = 0;
    bool failed = false;

    void error(const QString &message);

    // Statement codes of one column: known, of the right form, none twice.
    QStringList statementCodes(const QString &field, QChar letter);

    QList<int> pictograms(const QString &field);

    // The signal word is that of the most severe hazard: 危険 where any statement (or, for
    // statements shared by two categories, the category written in 区分) calls for it.
    void checkSignalWord(const QString &signalWord, const std::vector<const HazardRule *> &rules,
                         const QStringList &categories);

    // The pictograms the hazard statements call for, after the precedence rules:
    // beside the skull (GHS06) no exclamation mark at all; beside the corrosion sign (GHS05)
    // none for skin or eye irritation; beside the health hazard for respiratory
    // sensitisation (H334) none for skin sensitisation or skin or eye irritation.
    void checkPictograms(const QList<int> &listed, const std::vector<const HazardRule *> &rules);

    std::pair<QString, QString> currentCodes; // the codes of the two sentences being compared
    bool isPrecaution(const QString &, const QString &) const;

    // Printed text must be finished: no blank left for the supplier to fill in.
    void checkFinished(const QString &what, const QString &text);

    // No sentence may be printed twice in one substance's statements, whole or as the last
    // clause of a longer one (「日光から遮断し、換気の良い場所で保管すること」 repeats
    // 「換気の良い場所で保管すること」).
    void checkRepeatedSentences(const QStringList &codes, const QStringList &texts);

    // "H228=1,H272=3": the category of each statement whose signal word depends on it.
    QStringList categories(const QString &field, const QStringList &hazardCodes, bool sourced);

    QStringList aliases(const QString &field, const QString &name);

    void source(const QString &kindField, const QString &idField, const QString &yearField,
                ComposedSubstance &substance);

    // The list's columns: a date, a duty's start and two cut-offs in their forms.
    void legal(const ComposedSubstance &s);

    struct FillIn {
        QString code; // as keyed: a listed code or one part of it
        QString name; // the placeholder's name; empty: the statement's first blank
        QString value;
        bool used = false;
    };
    std::vector<FillIn> fillIns;

    void readFillIns(const QString &field);

    // The statement's text with its blanks filled from the row's fill-ins.
    QString filled(const QString &code, const QString &text);

    void checkFillInsUsed();

    void checkClassification(const QString &signalWord, const QList<int> &pictograms, const QStringList &hazardCodes,
                             const QStringList &categories);
};

} // namespace corvane::mastersource
