#pragma once
#include <QString>
#include <QtGlobal>

class QWidget;

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

// Prints the labels of one product (or, for kind 4, of the entries stored under productID)
// through engine, whose output the caller has chosen. Failures are reported in a message
// box owned by hWnd. Returns true when the document was output.
bool PrintLabels(QWidget *hWnd, Database &db, qint32 productID, qint16 kind, qint16 singleSubstance,
                 ReportEngine &engine);

// The same into a print preview owned by hWnd, from which the user prints or saves a PDF.
bool PrintLabels(QWidget *hWnd, Database &db, qint32 productID, qint16 kind, qint16 singleSubstance);

// Blanks the header fields and the fields of slots 1 to count of a freshly loaded page.
void ClearReportFields(ReportEngine &engine, qint16 mode, qint16 count);

// Divides notes between the two notes fields of the six-label page: first takes up to 23
// lines (a line over 30 characters counts as two, and a 23rd such line is cut after its
// 30th character); first + rest is always text.
void SplitNotes(const QString &text, QString &first, QString &rest);

} // namespace corvane
