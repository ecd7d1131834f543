#pragma once
#include "Outcome.h"

#include <QStringList>

namespace corvane {

// What a run of library code (a master update, an import) reports to the program that
// started it: how it ended, and what the user is told besides. The program decides whether it
// becomes a message box, lines on standard error or an exit status; library code never shows
// anything itself.
struct RunResult {
    Outcome outcome;
    QStringList notices; // Japanese lines for the user, in the order they happened
};

} // namespace corvane
