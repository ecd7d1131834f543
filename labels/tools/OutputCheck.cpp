#include "OutputCheck.h"
#include "DataLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>

namespace corvane {
namespace {

// A file or folder as the file system knows it, whatever name it is reached by.
using FileId = std::pair<quint64, quint64>;

std::optional<FileId> idOf(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileId{quint64(st.st_dev), quint64(st.st_ino)};
}

void add(QSet<FileId> &ids, const QString &path)
{
    if (const auto id = idOf(path))
        ids.insert(*id);
}

// The program's folders, and its databases, report files and pictures.
void protectedIds(const DataLocation &location, QSet<FileId> &folders, QSet<FileId> &files)
{
    const DataLocation usual = decideDataLocation(currentDataFacts(QString()));
    for (const DataLocation *where : {&location, &usual}) {
        add(folders, where->dataFolder);
        add(folders, where->resourceFolder);
        // A database that is a link to another folder: its journal goes there.
        add(folders, QFileInfo(QFileInfo(where->database).canonicalFilePath()).absolutePath());
        add(files, where->database);
        for (const QFileInfo &file : QDir(where->resourceFolder).entryInfoList(QDir::Files))
            add(files, file.absoluteFilePath());
    }
}

bool startsAsPdf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

} // namespace

QString outputRefusal(const QString &path, const DataLocation &location)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    // A link is followed when the file is replaced, so it is judged by what it points to.
    if ((info.exists() && !info.isFile()) || (info.isSymLink() && !info.exists()))
        return QStringLiteral("出力先 %1 は通常のファイルではありません（フォルダ、デバイスなど）。").arg(shown);
    const QString target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    QString folder = QFileInfo(QFileInfo(target).absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return QStringLiteral("出力先のフォルダがありません: %1").arg(shown);

    QSet<FileId> folders, files;
    protectedIds(location, folders, files);
    for (QDir up(folder);;) {
        if (folders.contains(idOf(up.path()).value_or(FileId{})))
            return QStringLiteral("出力先 %1 は Data フォルダの中です。データベースやラベルの定義を上書きしないよう、"
                                  "ほかの場所を指定してください。")
                .arg(shown);
        if (!up.cdUp())
            break;
    }
    if (info.exists() && files.contains(idOf(target).value_or(FileId{})))
        return QStringLiteral("出力先 %1 はデータベースかラベルの定義のファイルそのものです（別の名前で）。"
                              "ほかの場所を指定してください。")
            .arg(shown);
    if (info.exists() && !startsAsPdf(target))
        return QStringLiteral("出力先 %1 は PDF ではないファイルです。上書きしないので、ほかの名前を指定してください。")
            .arg(shown);
    return {};
}

} // namespace corvane
