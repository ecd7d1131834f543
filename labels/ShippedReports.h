#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace corvane {

// A Data folder keeps the report files it was made with: the build copies only the ones it
// lacks, so that a user's own changes survive. A report file that is, byte for byte, a version
// this project shipped before is read as the version this program ships (compiled in), so an
// unchanged sheet gets today's layout; any other file is read as it is. Returns the text to
// read instead of `contents`, if any.
std::optional<QString> currentShippedReport(const QString &fileName, const QByteArray &contents);

} // namespace corvane
