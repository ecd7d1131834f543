#pragma once

#include <QString>

namespace corvane {

// Turns a path as the printing program writes it ("Data\SULABEL.PRP") into a
// path on this machine: '\' is a separator, relative paths are taken from
// baseFolder, and a file whose name differs only in letter case is found too.
QString resolveProgramPath(const QString &baseFolder, const QString &programPath);

} // namespace corvane
