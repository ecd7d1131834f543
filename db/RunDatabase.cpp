#include "RunDatabase.h"
#include "DataLocation.h"
#include "Database.h"
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

std::unique_ptr<Database> openRunDatabase(const DataLocation &location, QString *error)
{
    const QString uri = databaseUri(location);
    if (uri.isEmpty())
        return prepareUserData(location, error) ? Database::open(location.database, error) : nullptr;
    const auto address = parseServerUri(uri, error);
    return address ? Database::openServer(*address, error) : nullptr;
}

} // namespace corvane
