#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace corvane {

// Where a substance's classification comes from (column 出典 of substances.tsv).
enum class SourceKind {
    Unverified, // 未確認: not checked against a published classification
    Nite, // NITE: NITE 統合版 政府による GHS 分類結果 (ID = its 分類結果 ID, year = 分類実施年度)
    Mhlw, // MHLW: 厚生労働省 職場のあんぜんサイト モデルラベル／モデル SDS (ID = the page, e.g. its CAS RN)
    Eu,   // EU: EU CLP Annex VI harmonised classification (ID = index number), only where Japan has none
};

// What a label of a substance whose classification gives no label element prints in place of
// hazard statements.
QString noLabelElementsText();

// The word written in the source and the database: "NITE", "MHLW", "EU", "未確認".
QString sourceKindName(SourceKind kind);

// A label shows at most this many pictograms of one substance.
constexpr int kPicturesPerSubstance = 5;

// One substance as the catalogue and the labels use it: every code already
// replaced by its Japanese text, and the source fields as they were written.
struct ComposedSubstance {
    int id = 0;
    QString name; // 物質名
    QString cas;
    QString signalWord; // "危険", "警告" or empty
    QString hazards;    // one hazard statement per line, lines joined with "\r\n"
    QString precautions; // "【安全対策】\r\n…\r\n【応急措置】\r\n…\r\n【保管】\r\n…\r\n【廃棄】\r\n…", empty groups
                         // left out
    QStringList pictures; // picture file names in GHS order, e.g. "GHS02.svg"; at most 5

    // As written in substances.tsv (so that a row can be written back in the source format).
    QStringList hazardCodes;     // e.g. "H225", "H302+H312+H332", in printing order
    QStringList precautionCodes; // e.g. "P210", "P370+P378", in the order written
    QStringList categories;      // the category where the H code alone does not decide the
                                 // signal word: "H228=1", "H272=3", "H242=C"
    QStringList fillIns;         // the substance's words for the statements' blanks:
                         // "P378=粉末消火剤、二酸化炭素", "H372=中枢神経系、腎臓", "H372:経路=（吸入）"
    QStringList aliases; // other common names (別名), for searching; never printed
    SourceKind sourceKind = SourceKind::Unverified;
    QString sourceId;   // NITE ID, MHLW page, EU index number; empty when unverified
    int sourceYear = 0; // year of the classification; 0 when unverified
    QString sourceNote; // free text: what else was read, for the reviewer
    // Columns after 備考 (a file of the first format stops at 備考):
    QString sourceVersion; // 出典版: the date of the government's list the row was made from
    QString legalName;     // 法令名称: the name on MHLW's list of substances to be labelled
    QString legalSince;    // 義務開始: the date the duty began, "2026-04-01" or "2025-03-31以前"
    QString labelCutoff;   // ラベル裾切値 (重量％), as the list writes it
    QString sdsCutoff;     // SDS裾切値 (重量％)
    QString legalNote;     // 法令備考: earlier cut-offs and the list's notes

    bool hasLegalColumns() const
    {
        return !(sourceVersion.isEmpty() && legalName.isEmpty() && legalSince.isEmpty() && labelCutoff.isEmpty()
                 && sdsCutoff.isEmpty() && legalNote.isEmpty());
    }
};

// The row as one line of substances.tsv (no line end), the inverse of the reader.
QString substanceSourceLine(const ComposedSubstance &substance);

// The column names of substances.tsv, in order (the header comment of the file).
QStringList substanceSourceColumns();

struct MasterError {
    QString file;
    int line = 0;    // 1-based; 0 when the error concerns the whole file
    QString message; // Japanese, for the person who edits the master
};

struct MasterSourceResult {
    std::vector<ComposedSubstance> substances;
    std::vector<MasterError> errors;
};

// Parses and checks the three sources (texts of the files; the names are used
// in error messages) and composes the rows. A row with any error is left out
// of `substances`; every problem found is listed in `errors`.
MasterSourceResult readMasterSource(const QString &hazardText, const QString &hazardFile, const QString &precautionText,
                                    const QString &precautionFile, const QString &substanceText,
                                    const QString &substanceFile);

// Reads hazard_statements.tsv, precautionary_statements.tsv and substances.tsv
// from `folder` (UTF-8) and passes them to readMasterSource.
MasterSourceResult readMasterFolder(const QString &folder);

} // namespace corvane
