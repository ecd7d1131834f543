#pragma once
#include <QString>

namespace corvane {

// The Windows profile (INI) file functions, as the program's settings file has always been
// read and written: text in code page 932, sections and keys matched without regard to
// letter case, values trimmed of surrounding blanks and of one pair of enclosing quotes.

// Returns the value of key in section, at most bufferSize - 1 bytes of it in code page 932,
// or defaultValue when the file, the section or the key is missing.
QString readProfileString(const QString &section, const QString &key, const QString &defaultValue, int bufferSize,
                          const QString &fileName);

// Writes key=value into section, keeping every other line of the file as it was; creates the
// file or the section when missing. A value that could not be read back unchanged (a
// character outside code page 932, a line break) is written as an empty value instead.
// The file is read whole and replaced whole, never cut; a file that cannot be read whole is
// left as it is. Returns false when the file could not be read or written.
// One value of the program's settings file (corvane.ini): at most 255 bytes, empty when missing.
QString readSetting(const QString &section, const QString &key, const QString &fileName);

bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &fileName);

} // namespace corvane
