#include "OpenDatabase.h"
#include "BackupFolder.h"
#include "Database.h"
#include "SqlDialect.h"
#include "SqlFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <optional>

namespace corvane {
namespace {

// The old engine's files carry its name at bytes 4 to 18.
bool isOldEngineFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(19).mid(4, 15);
    return head == "Standard Jet DB" || head == "Standard ACE DB";
}

// The first of the tables every label database has that is missing, or nothing. The server
// keeps unquoted names in lower case, so names compare without regard to case.
std::optional<QString> missingTable(QSqlQuery &tableNames)
{
    QStringList tables;
    while (tableNames.next())
        tables << tableNames.value(0).toString();
    for (const QString &needed : {QStringLiteral("製品情報"), QStringLiteral("ProductItemEntry"),
                                  QStringLiteral("表示物質"), QStringLiteral("会社情報")})
        if (!tables.contains(needed, Qt::CaseInsensitive))
            return needed;
    return std::nullopt;
}

QString cannotOpen(const QString &path)
{
    return QStringLiteral("データベースを開けません。\n%1").arg(QDir::toNativeSeparators(path));
}

Failure refused(const QString &path, const QString &reason)
{
    return {cannotOpen(path) + QLatin1Char('\n') + reason, {}};
}

Failure damaged(const QString &path)
{
    const QString backup = newestBackup(path);
    return refused(path,
                   QStringLiteral("Data.mde が壊れています。ファイルはそのままにしてあります。\n")
                       + (backup.isEmpty()
                              ? QStringLiteral("バックアップはありません。")
                              : QStringLiteral("最新のバックアップ: %1\n"
                                               "プログラムを終了してから、このファイルを Data.mde の代わりに置くと、"
                                               "その日の状態に戻せます。")
                                    .arg(QDir::toNativeSeparators(backup))));
}

Failure queryFailure(const QString &path, const QSqlError &error)
{
    return isDamage(error) ? damaged(path) : sqlFailure(error).after(cannotOpen(path));
}

} // namespace

Result<std::unique_ptr<Database>> openDatabaseFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return refused(path, QStringLiteral("この名前はファイルではなくフォルダです。"));
    if (!info.exists() || !info.isFile())
        return refused(path, QStringLiteral("ファイルが見つかりません。"));
    if (isOldEngineFile(path))
        return refused(path, QStringLiteral("古い形式（Access）のデータベースです。"
                                            "このプログラムで使うには変換が必要です。"));
    auto connected = Database::connectFile(info.absoluteFilePath());
    if (!connected)
        return connected.failure().after(cannotOpen(path));
    std::unique_ptr<Database> database = std::move(*connected);
    QSqlQuery query(database->sql());
    if (!query.exec(dialect::selectTableNames(*database)))
        return queryFailure(path, query.lastError());
    if (const auto missing = missingTable(query))
        return refused(path, QStringLiteral("表「%1」がありません。").arg(*missing));
    // A damaged page would otherwise show up later as a failed save or a short list.
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return queryFailure(path, query.lastError());
    if (!query.next() || query.value(0).toString() != QLatin1String("ok"))
        return damaged(path);
    return database;
}

Result<std::unique_ptr<Database>> openServerDatabase(const ServerAddress &address, bool requireTables)
{
    auto connected = Database::connectServer(address);
    if (!connected || !requireTables)
        return connected;
    std::unique_ptr<Database> database = std::move(*connected);
    QSqlQuery query(database->sql());
    const auto watch = database->watchStatement();
    if (!query.exec(dialect::selectTableNames(*database)))
        return serverUnreachable(address, query.lastError());
    if (const auto missing = missingTable(query))
        return Failure{QStringLiteral("データベースを開けません。\nサーバー %1\n表「%2」がありません。"
                                      "corvane-db init で準備してください。")
                           .arg(address.describe(), *missing)};
    return database;
}

} // namespace corvane
