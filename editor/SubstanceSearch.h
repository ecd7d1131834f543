#pragma once
#include "Records.h"

#include <QString>

namespace corvane {

// What the editor's substance search compares, prepared once per substance so that each
// keystroke only compares texts.
struct SearchKey {
    QString names;     // name and aliases, folded
    QString casDigits; // the CAS RN without hyphens
    int number = 0;

    static SearchKey of(const SubstanceRecord &substance, int number);
    // Part of the name or an alias; the start of the CAS RN, with or without hyphens; or
    // the substance number. Full-width and half-width letters and digits are the same, and
    // so are upper and lower case. An empty text matches everything.
    bool matches(const QString &typed) const;
};

} // namespace corvane
