#pragma once
#include "LabelKind.h"
#include "Outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace corvane {

class Database;
class ReportEngine;

// A field whose text could not be shown whole even at its smallest size: where it is (page
// and label position from 1; position 0 for the header of the normal and model labels), the
// substance on that label if any, and what the field holds, in Japanese.
struct CutText {
    int page = 0;
    int position = 0;
    QString substance;
    QString field;
    QString unprintable; // characters no font has, left out; empty when the text was too long
};

// What a printing run did: whether the document was output or the failure that kept it from
// being output (in Japanese, for the user), and what the user should know about a document
// that was output. A field holding characters no font has carries them in `unprintable`;
// they are left out.
struct PrintResult {
    Outcome outcome;
    QStringList warnings;
    QList<CutText> cut;
    // What the printed labels lack, one sentence each: a substance whose hazard statements do
    // not fit whole on its label of this sheet (not printed there; the sentence names the sheet
    // that holds it), an empty supplier.
    QStringList incomplete;
    // Substance numbers of the product that the master lacks: left out of the labels, each
    // named in a warning. When none of its substances is left, nothing is printed (a failure).
    QList<int> missing;
    // The mixture's label and the basis of its classification: substance numbers whose
    // contents the mixture rules refused (a missing content, one outside 0–100 %, contents
    // over 100 %); nothing was printed.
    QList<int> refused;
};

struct PrintOptions {
    // The label position the first page starts at on the sheets of additional labels, so that
    // a partly used sheet is used up; positions run row by row from the top left.
    int startPosition = 1;
};

// Prints the labels of one product (or, for the list of all target substances, of the entries
// stored under productId) through engine, whose output the caller has chosen. With
// singleSubstance the product's first substance fills the page (one label, or a sheet of
// copies); otherwise each substance gets a label. It never talks to the user: the caller
// shows the result. Nothing is printed for a product without substances, nor a model label
// for a product of several; on the sheets of additional labels a substance goes only on a
// label where its hazard statements fit whole (PrintResult::incomplete names the others).
PrintResult PrintLabels(Database &db, int productId, LabelKind kind, bool singleSubstance, ReportEngine &engine,
                        const PrintOptions &options = {});

// The label positions of a sheet of the kind: 12 or 21 for the additional labels, else 1.
int labelsPerSheet(LabelKind kind);

// One line for the user: "1ページ 3番目（トルエン）: 危険有害性情報", and for characters no
// font has "1ページ: 製品名（印刷できない文字「𠮷」）".
QString describeCut(const CutText &cut);
// The message listing cut texts: "次の文字が枠に収まりませんでした: " and one line each, at
// most `limit` lines and then how many more.
QString cutTextMessage(const QList<CutText> &cut, int limit);
// The message listing what the printed labels lack (PrintResult::incomplete).
QString incompleteMessage(const QStringList &incomplete, int limit);

// Blanks the header fields and the fields of slots 1 to slotCount of a freshly loaded page.
void ClearReportFields(ReportEngine &engine, int slotCount);

// On the last page of the six-label sheet with fewer than five labels (nextSlot is the first
// empty slot), the notes block moves up into the first empty row of slots, down to where it
// ended, and shows the whole text in one field.
void MoveNotesOnLastPage(ReportEngine &engine, int nextSlot, const QString &notesWhole);

// Divides notes between the two notes fields of the six-label page: first takes up to 23
// lines (a line over 30 characters counts as two, and a 23rd such line is cut within its
// first 30 characters where a word ends, after its 30th only when no word ends there);
// first + rest is always text.
void SplitNotes(const QString &text, QString &first, QString &rest);

} // namespace corvane
