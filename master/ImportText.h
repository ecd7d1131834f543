#pragma once
#include "MasterSource.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace corvane {

// What a substance file from a user must be before its rows are read, so that nothing a
// label cannot print, or a terminal should not receive, gets into the master.

// The longest texts a row may give: a name as the label fields show it, the composed
// statements, and any line of the file (so a runaway row is refused before it is read).
constexpr int kLongestSubstanceName = 600;
constexpr int kLongestHazardText = 1000;
constexpr int kLongestPrecautionText = 2000;
constexpr int kLongestAlias = 100;
constexpr int kLongestSourceNote = 2000;
constexpr int kLongestLine = 10000;

// The file's bytes as text, or the error (Japanese, with its line) when they are not UTF-8:
// the file may have been saved as Shift_JIS, which would turn every name into other
// characters.
std::optional<QString> decodeUtf8File(const QByteArray &bytes, const QString &fileName, MasterError *error);

// Control characters other than tab and line ends (NUL, escape sequences and the like) and
// lines longer than kLongestLine, each with its line and column; the characters themselves
// are never repeated.
std::vector<MasterError> checkImportText(const QString &text, const QString &fileName);

// Rows whose name, alias, source note or composed statements are longer than a label (or
// the review) can take, each with its line.
std::vector<MasterError> checkPrintableSizes(const std::vector<ComposedSubstance> &substances,
                                             const QHash<int, int> &lineOf, const QString &fileName);

// The text with every control character but line ends and tabs shown as U+FFFD, for a
// terminal.
QString printableOnTerminal(QString text);

} // namespace corvane
