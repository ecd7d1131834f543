#include "RunDatabase.h"
#include "DataLocation.h"
#include "Database.h"
#include "OpenDatabase.h"
#include "Profile.h"
#include "ServerAddress.h"

namespace corvane {
namespace {

QString &databaseOption()
{
    static QString uri;
    return uri;
}

} // namespace

QString databaseOptionHelp()
{
    return QStringLiteral("共有するデータベースのサーバー（postgresql://USER@HOST:PORT/DBNAME）。"
                          "既定: corvane.ini の [database] Uri、それもなければ Data.mde。");
}

void setDatabaseOption(const QString &uri) { databaseOption() = uri; }

QString databaseUri(const DataLocation &location)
{
    if (!databaseOption().isEmpty())
        return databaseOption();
    return readSetting(QStringLiteral("database"), QStringLiteral("Uri"), location.settingsFile).trimmed();
}

Result<std::unique_ptr<Database>> openRunDatabase(const DataLocation &location)
{
    const QString uri = databaseUri(location);
    if (uri.isEmpty()) {
        if (const Outcome prepared = prepareUserData(location); !prepared)
            return prepared.failure();
        return openDatabaseFile(location.database);
    }
    const auto address = parseServerUri(uri);
    if (!address)
        return address.failure();
    return openServerDatabase(*address);
}

} // namespace corvane
