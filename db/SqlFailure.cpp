#include "SqlFailure.h"
#include "ServerAddress.h"

#include <QSqlError>

namespace corvane {
namespace {

// SQLite's primary result codes (the low byte of an extended code).
QString explanation(int code)
{
    if (code == 1544) // SQLITE_READONLY_DIRECTORY: the file is writable, its folder is not
        return QStringLiteral("Data.mde のフォルダに書き込めません（フォルダが読み取り専用です）。");
    switch (code & 0xFF) {
    case 3:  // SQLITE_PERM
    case 23: // SQLITE_AUTH
        return QStringLiteral("Data.mde を使う権限がありません。");
    case 7: // SQLITE_NOMEM
        return QStringLiteral("メモリが足りません。ほかのプログラムを終了してからやり直してください。");
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
        return QStringLiteral(
            "Data.mde の読み書きに失敗しました（ディスクの空き、ディスクやネットワークの故障を確かめてください）。");
    case 18: // SQLITE_TOOBIG
        return QStringLiteral("データが大きすぎて Data.mde に書き込めません。");
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return QStringLiteral("Data.mde が壊れています。");
    default: return {};
    }
}

// A client-side failure carries no SQLSTATE; class 08 and the 57P codes are the server
// closing or refusing the connection.
bool isConnectionState(const QString &state)
{
    return state.isEmpty() || state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P"));
}

QString serverExplanation(const QString &state, const QString &server)
{
    if (isConnectionState(state))
        return QStringLiteral(
                   "%1 との接続が切れました。書きかけの変更はサーバーに残っていません（保存前のままです）。\n"
                   "サーバーが動いていること、ネットワークにつながっていることを確かめてから、やり直してください。")
            .arg(server);
    if (state == QLatin1String("23505"))
        return QStringLiteral("同じ名前の製品がすでに登録されています（ほかの PC で登録されたかもしれません）。");
    if (state == QLatin1String("55P03") || state == QLatin1String("40001") || state == QLatin1String("40P01"))
        return QStringLiteral("ほかの PC が同じデータを使用中です。しばらくしてからやり直してください。");
    if (state == QLatin1String("42501"))
        return QStringLiteral("%1 のデータベースに書き込む権限がありません。").arg(server);
    if (state.startsWith(QLatin1String("53")))
        return QStringLiteral("%1 のディスクかメモリが足りません。").arg(server);
    return QStringLiteral("%1 でエラーが起きました。").arg(server);
}

qint64 wholeSeconds(std::chrono::milliseconds time) { return (time.count() + 999) / 1000; }

} // namespace

Failure sqlFailure(const QSqlError &error)
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    return {numeric ? explanation(code) : QString(), error.text()};
}

bool isDamage(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    return code == 11 || code == 26;
}

Failure serverUnreachable(const ServerAddress &address, const QSqlError &error)
{
    return {QStringLiteral("データベースのサーバーに接続できません。\nサーバー %1\n"
                           "サーバーが動いていること、URI（corvane.ini の [database] Uri か --database）と"
                           "利用者名・パスワード（~/.pgpass）が正しいことを確かめてください。")
                .arg(address.describe()),
            error.text()};
}

bool isConnectionFailure(const QSqlError &error) { return isConnectionState(error.nativeErrorCode()); }

Failure serverFailure(const QString &server, const QSqlError &error, std::chrono::milliseconds serverLimit)
{
    if (error.nativeErrorCode() == QLatin1String("57014")) // query_canceled: the statement timeout
        return {
            QStringLiteral(
                "%1 での処理が %2 秒を超えたため、取りやめました。書きかけの変更はサーバーに残っていません（保存前のままです）。\n"
                "しばらくしてからやり直してください。")
                .arg(server)
                .arg(wholeSeconds(serverLimit)),
            error.text()};
    return {serverExplanation(error.nativeErrorCode(), server), error.text()};
}

Failure serverNoAnswer(const QString &server, const QSqlError &error, std::chrono::milliseconds waited)
{
    return {QStringLiteral(
                "%1 が %2 秒たっても応答しません。書きかけの変更はサーバーに残っていません（保存前のままです）。\n"
                "サーバーが動いていること、ネットワークにつながっていることを確かめてから、やり直してください。")
                .arg(server)
                .arg(wholeSeconds(waited)),
            error.text()};
}

} // namespace corvane
