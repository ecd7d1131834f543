#include "ServerAddress.h"

#include <QUrl>
#include <QUrlQuery>

namespace corvane {
namespace {

Failure wrong(const QString &reason)
{
    return {QStringLiteral("データベースの URI が正しくありません: %1").arg(reason), {}};
}

bool isIpv6(const QString &host) { return host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('/')); }

const QStringList kSslModes{QStringLiteral("disable"), QStringLiteral("allow"),     QStringLiteral("prefer"),
                            QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};

} // namespace

QString ServerAddress::describe() const
{
    const QString shownHost = isIpv6(host) ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1:%2/%3").arg(shownHost).arg(port).arg(database);
}

QString ServerAddress::uri() const
{
    const QString encodedHost =
        isIpv6(host) ? QStringLiteral("[%1]").arg(host) : QString::fromLatin1(QUrl::toPercentEncoding(host));
    const QString who =
        user.isEmpty() ? QString() : QString::fromLatin1(QUrl::toPercentEncoding(user)) + QLatin1Char('@');
    // Concatenated, not arg(): the encoded host holds "%2F", which arg() would take for a marker.
    return QStringLiteral("postgresql://") + who + encodedHost + QLatin1Char(':') + QString::number(port)
           + QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(database))
           + (sslMode.isEmpty() ? QString() : QStringLiteral("?sslmode=") + sslMode);
}

ServerAddress ServerAddress::withDatabase(const QString &name) const
{
    ServerAddress other = *this;
    other.database = name;
    return other;
}

bool isServerUri(const QString &text)
{
    return text.startsWith(QLatin1String("postgresql://")) || text.startsWith(QLatin1String("postgres://"));
}

Result<ServerAddress> parseServerUri(const QString &uri)
{
    // Not repeated: a connection string of another form may hold a password.
    if (!isServerUri(uri))
        return wrong(QStringLiteral("postgresql://USER@HOST:PORT/DBNAME の形で書いてください。"));
    // QUrl would take a percent-encoded socket folder for a bad host name: split by hand.
    QString rest = uri.mid(uri.indexOf(QLatin1String("://")) + 3);
    QString query;
    if (const qsizetype mark = rest.indexOf(QLatin1Char('?')); mark >= 0) {
        query = rest.mid(mark + 1);
        rest.truncate(mark);
    }
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    const QString authority = slash < 0 ? rest : rest.left(slash);
    ServerAddress address;
    address.database = QUrl::fromPercentEncoding(slash < 0 ? QByteArray() : rest.mid(slash + 1).toUtf8());

    QString hostPort = authority;
    if (const qsizetype at = authority.lastIndexOf(QLatin1Char('@')); at >= 0) {
        const QString userInfo = authority.left(at);
        if (userInfo.contains(QLatin1Char(':'))) {
            return wrong(
                QStringLiteral("パスワードは URI に書かず、~/.pgpass か環境変数 PGPASSWORD で指定してください。"));
        }
        address.user = QUrl::fromPercentEncoding(userInfo.toUtf8());
        hostPort = authority.mid(at + 1);
    }
    QString portText;
    if (const qsizetype colon = hostPort.lastIndexOf(QLatin1Char(':'));
        colon >= 0 && !hostPort.endsWith(QLatin1Char(']'))) {
        portText = hostPort.mid(colon + 1);
        hostPort.truncate(colon);
    }
    if (hostPort.startsWith(QLatin1Char('[')) && hostPort.endsWith(QLatin1Char(']')))
        hostPort = hostPort.mid(1, hostPort.size() - 2); // an IPv6 address
    address.host = QUrl::fromPercentEncoding(hostPort.toUtf8());

    const QUrlQuery parameters(query);
    for (const auto &[key, value] : parameters.queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("host"))
            address.host = value;
        else if (key == QLatin1String("port"))
            portText = value;
        else if (key == QLatin1String("user"))
            address.user = value;
        else if (key == QLatin1String("dbname"))
            address.database = value;
        else if (key == QLatin1String("sslmode") && kSslModes.contains(value))
            address.sslMode = value;
        else if (key == QLatin1String("sslmode"))
            return wrong(QStringLiteral("sslmode には %1 のどれかを指定してください。")
                             .arg(kSslModes.join(QStringLiteral("、"))));
        else if (key == QLatin1String("password"))
            return wrong(
                QStringLiteral("パスワードは URI に書かず、~/.pgpass か環境変数 PGPASSWORD で指定してください。"));
        else
            return wrong(QStringLiteral("知らない指定「%1」があります。").arg(key));
    }
    if (!portText.isEmpty()) {
        bool ok = false;
        address.port = portText.toInt(&ok);
        if (!ok || address.port < 1 || address.port > 65535) {
            return wrong(QStringLiteral("ポート番号「%1」が読めません。").arg(portText));
        }
    }
    if (address.host.isEmpty()) {
        return wrong(QStringLiteral("サーバー（ホスト名かソケットのフォルダ）がありません。"));
    }
    if (address.database.isEmpty()) {
        return wrong(QStringLiteral("データベース名がありません（…/DBNAME）。"));
    }
    return address;
}

} // namespace corvane
