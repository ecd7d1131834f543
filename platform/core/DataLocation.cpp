#include "DataLocation.h"
#include "Application.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvane {
namespace {

QString path(const QString &folder, const QString &name) { return QDir::cleanPath(folder + u'/' + name); }

// The XDG base directory rule: an unset, empty or relative variable means the default.
QString xdgFolder(const QString &value, const QString &home, const QString &fallback)
{
    return !value.isEmpty() && QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : path(home, fallback);
}

QString &dataOption()
{
    static QString value;
    return value;
}

} // namespace

DataLocation decideDataLocation(const DataFacts &facts)
{
    DataLocation location;
    const QString shareFolder = path(facts.executableFolder, QStringLiteral("../share/corvane"));
    if (facts.dataBesideExecutable || !facts.shareFolderExists) {
        location.mode = DataLocation::Mode::BuildFolder;
        location.dataFolder = facts.dataOption.isEmpty() ? path(facts.executableFolder, QStringLiteral("Data"))
                                                         : QDir::cleanPath(facts.dataOption);
        location.resourceFolder = location.dataFolder;
        location.settingsFile = path(facts.executableFolder, QStringLiteral("corvane.ini"));
    } else {
        location.mode = DataLocation::Mode::Installed;
        const QString dataHome = xdgFolder(facts.xdgDataHome, facts.home, QStringLiteral(".local/share"));
        const QString configHome = xdgFolder(facts.xdgConfigHome, facts.home, QStringLiteral(".config"));
        if (facts.dataOption.isEmpty()) {
            location.dataFolder = path(dataHome, QStringLiteral("corvane/Data"));
            location.templateFile = path(shareFolder, QStringLiteral("template/Data.mde"));
        } else {
            location.dataFolder = QDir::cleanPath(facts.dataOption);
        }
        location.resourceFolder = shareFolder;
        location.settingsFile = path(configHome, QStringLiteral("corvane/corvane.ini"));
    }
    location.database = path(location.dataFolder, QStringLiteral("Data.mde"));
    return location;
}

DataFacts currentDataFacts(const QString &dataOption)
{
    const QString folder = Application::folder();
    return {folder,
            dataOption.isEmpty() ? QString() : QFileInfo(dataOption).absoluteFilePath(),
            QFileInfo(path(folder, QStringLiteral("Data"))).isDir(),
            QFileInfo(path(folder, QStringLiteral("../share/corvane"))).isDir(),
            QDir::homePath(),
            qEnvironmentVariable("XDG_DATA_HOME"),
            qEnvironmentVariable("XDG_CONFIG_HOME")};
}

void setDataOption(const QString &folder) { dataOption() = folder; }

DataLocation locateData() { return decideDataLocation(currentDataFacts(dataOption())); }

Outcome prepareUserData(const DataLocation &location)
{
    if (location.mode != DataLocation::Mode::Installed)
        return {};
    const QString settingsFolder = QFileInfo(location.settingsFile).absolutePath();
    if (!QDir().mkpath(settingsFolder))
        return Outcome::failed(QStringLiteral("フォルダを作成できません: %1").arg(settingsFolder));
    if (location.templateFile.isEmpty() || QFileInfo::exists(location.database))
        return {};
    if (!QFileInfo(location.templateFile).isFile())
        return Outcome::failed(QStringLiteral("空のデータベース（ひな形）が見つかりません: %1\n"
                                              "プログラムを入れ直してください。")
                                   .arg(location.templateFile));
    if (!QDir().mkpath(location.dataFolder))
        return Outcome::failed(QStringLiteral("フォルダを作成できません: %1").arg(location.dataFolder));

    const QString partial = location.database + QStringLiteral(".new");
    QFile::remove(partial);
    if (!QFile::copy(location.templateFile, partial)) {
        QFile::remove(partial);
        return Outcome::failed(QStringLiteral("データベースを作成できません: %1").arg(location.database));
    }
    QFile::setPermissions(partial, QFile::permissions(partial) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // rename never replaces a file: a Data.mde made meanwhile by another copy of the program wins.
    const bool renamed = QFile::rename(partial, location.database);
    QFile::remove(partial);
    if (!renamed && !QFileInfo::exists(location.database))
        return Outcome::failed(QStringLiteral("データベースを作成できません: %1").arg(location.database));
    return {};
}

} // namespace corvane
