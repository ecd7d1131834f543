#include "Application.h"

#include <QCoreApplication>

namespace corvane {
namespace {
QString &folderOverride()
{
    static QString value;
    return value;
}
} // namespace

QString Application::title() { return QStringLiteral("Corvane"); }

QString Application::version() { return QStringLiteral(CORVANE_VERSION); }

QString Application::folder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void Application::setFolder(const QString &folder) { folderOverride() = folder; }

} // namespace corvane
