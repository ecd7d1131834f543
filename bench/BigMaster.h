#pragma once
#include <QString>

namespace corvane {

// Makes a Data folder whose substance master holds count substances (the real master's rows
// repeated with numbered names) and whose list of all target substances names them all.
// Returns false with the reason in *error.
bool makeBigDataFolder(const QString &dataFolder, int count, QString *error);

} // namespace corvane
