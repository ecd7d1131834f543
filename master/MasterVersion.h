#pragma once
#include <QString>

namespace corvane {

// A master version is the date the master was fixed, "2026-12-07", with an optional serial
// for a second release on the same day, "2026-12-07.2". A database made by the first
// release records none: the empty version, older than every other.
bool isMasterVersion(const QString &version);

// Negative when a is older than b, 0 when equal, positive when newer. Both must be valid
// versions or empty.
int compareMasterVersions(const QString &a, const QString &b);

// The version as the user reads it: the empty version as "初版".
QString displayedVersion(const QString &version);

} // namespace corvane
