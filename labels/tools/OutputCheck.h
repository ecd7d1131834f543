#pragma once
#include <QString>

namespace corvane {

// Why path may not take the printed PDF, or an empty string when it may. Only a regular file
// or a new name in an existing folder outside the Data folder is taken, so that printing can
// never replace the database, a report file, a picture, a device or a folder.
QString outputRefusal(const QString &path, const QString &dataFolder);

} // namespace corvane
