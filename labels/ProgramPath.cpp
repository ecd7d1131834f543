#include "ProgramPath.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace corvane {

namespace {

// Looks each missing component up in its folder ignoring case; the program
// was written for a file system that ignores case.
QString matchCaseInsensitively(const QString &path)
{
    if (QFileInfo::exists(path))
        return path;
    const QStringList parts = path.split(u'/');
    QString resolved = parts.first(); // empty for an absolute path
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString candidate = resolved + u'/' + parts[i];
        if (QFileInfo::exists(candidate)) {
            resolved = candidate;
            continue;
        }
        const QStringList entries = QDir(resolved.isEmpty() ? QStringLiteral("/") : resolved)
                                        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        const auto match = std::find_if(entries.cbegin(), entries.cend(), [&](const QString &entry) {
            return entry.compare(parts[i], Qt::CaseInsensitive) == 0;
        });
        if (match == entries.cend())
            return path;
        resolved += u'/' + *match;
    }
    return resolved;
}

} // namespace

QString resolveProgramPath(const QString &baseFolder, const QString &programPath, const QString &dataFolder)
{
    QString path = programPath.trimmed();
    path.replace(u'\\', u'/');
    if (path.isEmpty())
        return path;
    const qsizetype slash = path.indexOf(u'/');
    if (!dataFolder.isEmpty() && slash > 0
        && path.left(slash).compare(QStringLiteral("Data"), Qt::CaseInsensitive) == 0)
        return matchCaseInsensitively(QDir::cleanPath(QDir(dataFolder).absoluteFilePath(path.mid(slash + 1))));
    if (QDir::isRelativePath(path))
        path = QDir(baseFolder.isEmpty() ? QDir::currentPath() : baseFolder).filePath(path);
    return matchCaseInsensitively(QDir::cleanPath(path));
}

bool isInsideFolder(const QString &path, const QString &folder)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    const QString root = QFileInfo(folder).canonicalFilePath();
    return !file.isEmpty() && !root.isEmpty() && file.startsWith(root + u'/');
}

} // namespace corvane
