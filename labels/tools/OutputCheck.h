#pragma once
#include <QString>

namespace corvane {

struct DataLocation;

// Why path may not take the printed PDF, or an empty string when it may. Only a PDF file or
// a new name is taken, in an existing folder that is none of the program's folders: the
// Data folder of this run and the one it uses without --data, the folder the database really
// lies in, and the folder of the report files and pictures. Files and folders are compared
// as the file system knows them (device and inode, links followed), so no other name of
// them gets through: a symbolic or hard link, a bind mount. A file that exists and is not a
// PDF is never overwritten, whatever it is.
QString outputRefusal(const QString &path, const DataLocation &location);

} // namespace corvane
