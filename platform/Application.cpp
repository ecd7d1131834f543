#include "Application.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace corvane {
namespace {
QString &folderOverride() { static QString value; return value; }
QString &exeNameOverride() { static QString value; return value; }
} // namespace

QString Application::title() { return QStringLiteral("Corvane"); }

QString Application::version() { return QStringLiteral(CORVANE_VERSION); }

QString Application::folder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath();
}

QString Application::exeName()
{
    if (!exeNameOverride().isEmpty())
        return exeNameOverride();
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void Application::setFolder(const QString &folder) { folderOverride() = folder; }
void Application::setExeName(const QString &name) { exeNameOverride() = name; }

} // namespace corvane
