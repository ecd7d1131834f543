#include "SqlFailure.h"

#include <QSqlError>

namespace corvane {
namespace {

// SQLite's primary result codes (the low byte of an extended code).
QString explanation(int code)
{
    if (code == 1544) // SQLITE_READONLY_DIRECTORY: the file is writable, its folder is not
        return QStringLiteral("Data.mde のフォルダに書き込めません（フォルダが読み取り専用です）。");
    switch (code & 0xFF) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("Data.mde はほかのプログラムが使用中です。しばらくしてからやり直してください。");
    case 8: // SQLITE_READONLY
        return QStringLiteral("Data.mde に書き込めません（読み取り専用です）。");
    case 14: // SQLITE_CANTOPEN: no journal beside the file
        return QStringLiteral("Data.mde のフォルダに書き込めません。");
    case 13: // SQLITE_FULL
        return QStringLiteral("ディスクがいっぱいで Data.mde に書き込めません。");
    case 10: // SQLITE_IOERR
        return QStringLiteral("Data.mde の読み書きに失敗しました。");
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return QStringLiteral("Data.mde が壊れています。");
    default:
        return {};
    }
}

} // namespace

QString sqlFailureText(const QSqlError &error)
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    const QString lead = numeric ? explanation(code) : QString();
    const QString text = error.text().trimmed();
    return lead.isEmpty() ? text : lead + QLatin1Char('\n') + text;
}

DbError sqlFailure(const QSqlError &error)
{
    return DbError(sqlFailureText(error).toStdString());
}

} // namespace corvane
