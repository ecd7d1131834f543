#include "ErrorText.h"
#include "Outcome.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QStorageInfo>

namespace corvane {

QString detailLine(const QString &systemText)
{
    const QString text = systemText.simplified();
    return text.isEmpty() ? QString() : QStringLiteral("詳細: ") + text;
}

QString fileFailureText(const QFileDevice &file, bool writing)
{
    const QFileInfo info(file.fileName());
    QString reason;
    if (file.error() == QFileDevice::PermissionsError)
        reason = QStringLiteral("アクセスの権限がありません。");
    else if (!QFileInfo(info.absolutePath()).isDir())
        reason = QStringLiteral("フォルダが見つかりません。");
    else if (!writing)
        reason =
            info.exists() ? QStringLiteral("読み込めませんでした。") : QStringLiteral("ファイルが見つかりません。");
    else if (const QStorageInfo disk(info.absolutePath()); disk.isValid() && disk.bytesAvailable() < 1024 * 1024)
        reason = QStringLiteral("ディスクがいっぱいです。");
    else
        reason = QStringLiteral("書き込めませんでした（ディスクの空きや書き込みの権限を確かめてください）。");
    const QString detail = detailLine(file.errorString());
    return detail.isEmpty() ? reason : reason + QLatin1Char('\n') + detail;
}

QString Failure::text() const
{
    const QString line = detailLine(detail);
    if (line.isEmpty() || message.isEmpty())
        return message + line;
    return message + QLatin1Char('\n') + line;
}

Failure Failure::after(const QString &lead) const
{
    return {message.isEmpty() ? lead : lead + QLatin1Char('\n') + message, detail};
}

} // namespace corvane
