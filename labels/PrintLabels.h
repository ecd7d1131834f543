#pragma once
#include <QString>
#include <QStringList>
#include <QtGlobal>

class QObject;

namespace corvane {

class Database;
class ReportEngine;

// The label kinds the buttons request.
enum LabelKind : qint16 {
    Normal = 1,        // one label (single substance) or six to a page, with the header
    Model = 2,         // one model label
    Additional2x6 = 3, // twelve to a page
    AllSubstances = 4, // twelve to a page, the list of all target substances
    Additional3x7 = 5, // twenty-one to a page
};

// What a printing run did: whether the document was output, why not (in Japanese, for the
// user), and what the user should know about a document that was output.
struct PrintResult {
    bool ok = false;
    QString error;
    QStringList warnings;
};

// Prints the labels of one product (or, for kind 4, of the entries stored under productID)
// through engine, whose output the caller has chosen; hWnd is handed to the engine as the
// document's owner. It never talks to the user: the caller shows the result.
PrintResult PrintLabels(QObject *hWnd, Database &db, qint32 productID, qint16 kind, qint16 singleSubstance,
                        ReportEngine &engine);

// Blanks the header fields and the fields of slots 1 to count of a freshly loaded page.
void ClearReportFields(ReportEngine &engine, qint16 mode, qint16 count);

// On the last page of the six-label sheet with fewer than five labels (nextSlot is the first
// empty slot), the notes block moves up into the first empty row of slots and shows the whole
// text in one field.
void MoveNotesOnLastPage(ReportEngine &engine, int nextSlot, const QString &notesWhole);

// Divides notes between the two notes fields of the six-label page: first takes up to 23
// lines (a line over 30 characters counts as two, and a 23rd such line is cut after its
// 30th character); first + rest is always text.
void SplitNotes(const QString &text, QString &first, QString &rest);

} // namespace corvane
