#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace corvane {

// One substance as the catalogue and the labels use it: every code already
// replaced by its Japanese text.
struct ComposedSubstance {
    int id = 0;
    QString name;          // 物質名
    QString cas;
    QString signalWord;    // "危険", "警告" or empty
    QString hazards;       // one hazard statement per line, lines joined with "\r\n"
    QString precautions;   // "【安全対策】\r\n…\r\n【応急措置】\r\n…\r\n【保管】\r\n…\r\n【廃棄】\r\n…", empty groups left out
    QStringList pictures;  // picture file names in GHS order, e.g. "GHS02.svg"; at most 5
};

struct MasterError {
    QString file;
    int line = 0;          // 1-based; 0 when the error concerns the whole file
    QString message;       // Japanese, for the person who edits the master
};

struct MasterSourceResult {
    std::vector<ComposedSubstance> substances;
    std::vector<MasterError> errors;
};

// Parses and checks the three sources (texts of the files; the names are used
// in error messages) and composes the rows. A row with any error is left out
// of `substances`; every problem found is listed in `errors`.
MasterSourceResult readMasterSource(const QString &hazardText, const QString &hazardFile,
                                    const QString &precautionText, const QString &precautionFile,
                                    const QString &substanceText, const QString &substanceFile);

// Reads hazard_statements.tsv, precautionary_statements.tsv and substances.tsv
// from `folder` (UTF-8) and passes them to readMasterSource.
MasterSourceResult readMasterFolder(const QString &folder);

} // namespace corvane
