#pragma once

#include <QString>

namespace corvane {

// Turns a path as report files and picture references write it ("Data\GHS02.svg")
// into a path on this machine: '\' is a separator, relative paths are taken from
// baseFolder (or, when dataFolder is given, a path under "Data" from
// dataFolder, whatever its name), and a file whose name differs only in
// letter case is found too.
QString resolveProgramPath(const QString &baseFolder, const QString &programPath,
                           const QString &dataFolder = QString());

// Whether path names a file inside folder (or below it) once "..", "." and symbolic links
// are resolved; false when either does not exist.
bool isInsideFolder(const QString &path, const QString &folder);

} // namespace corvane
