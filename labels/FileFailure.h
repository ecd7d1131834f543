#pragma once

#include "Outcome.h"

#include <QString>

class QFileDevice;

namespace corvane {

// A file that could not be read or written: `what` failed, then why in Japanese (no
// permission, a missing folder, the disk full…), and the system's own words as the detail.
Failure fileFailure(const QString &what, const QFileDevice &file, bool writing);

} // namespace corvane
