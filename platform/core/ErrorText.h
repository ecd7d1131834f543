#pragma once
#include <QString>

class QFileDevice;

namespace corvane {

// The text a library or the system gave for a failure (English, often several lines), as the
// last line of a message: "詳細: …" on one line. Messages say what happened in Japanese first;
// this line is for whoever helps the user. Empty for an empty text.
QString detailLine(const QString &systemText);

// Why a file could not be read or written, in Japanese, with the system's text on a 詳細
// line: no permission, a missing folder or file, the disk full.
QString fileFailureText(const QFileDevice &file, bool writing);

} // namespace corvane
