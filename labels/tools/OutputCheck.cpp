#include "OutputCheck.h"

#include <QDir>
#include <QFileInfo>

namespace corvane {

QString outputRefusal(const QString &path, const QString &dataFolder)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    // A link is followed when the file is replaced, so it is judged by what it points to.
    if ((info.exists() && !info.isFile()) || (info.isSymLink() && !info.exists()))
        return QStringLiteral("出力先 %1 は通常のファイルではありません（フォルダ、デバイスなど）。").arg(shown);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return QStringLiteral("出力先のフォルダがありません: %1").arg(shown);
    const QString target = info.exists() ? info.canonicalFilePath() : QDir(folder).filePath(info.fileName());
    const QString data = QFileInfo(dataFolder).canonicalFilePath();
    if (!data.isEmpty() && (target == data || target.startsWith(data + QLatin1Char('/'))))
        return QStringLiteral("出力先 %1 は Data フォルダの中です。データベースやラベルの定義を上書きしないよう、"
                              "ほかの場所を指定してください。")
            .arg(shown);
    return {};
}

} // namespace corvane
