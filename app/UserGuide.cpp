#include "UserGuide.h"
#include "DataLocation.h"
#include "MessageBox.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace corvane {

QString userGuideFile()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString guide = QStringLiteral("使い方.md");
    if (locateData().mode == DataLocation::Mode::Installed)
        return QDir::cleanPath(programFolder.filePath(QStringLiteral("../share/doc/corvane/") + guide));
    return programFolder.filePath(QStringLiteral("doc/") + guide);
}

void showUserGuide(QWidget *parent)
{
    const QString file = userGuideFile();
    if (!QFileInfo(file).isFile()) {
        MsgBox(parent, QStringLiteral("使い方の説明が見つかりません。\n%1\n"
                                      "Corvane のパッケージを入れ直すと元に戻ります。")
                           .arg(QDir::toNativeSeparators(file)));
        return;
    }
    auto *window = parent->findChild<QDialog *>(QStringLiteral("userGuide"));
    if (!window) {
        window = new QDialog(parent, Qt::Window);
        window->setObjectName(QStringLiteral("userGuide"));
        window->setWindowTitle(QStringLiteral("Corvane の使い方"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto *browser = new QTextBrowser(window);
        browser->setOpenExternalLinks(true);
        // A Markdown file is shown as Markdown; its pictures are read beside it.
        browser->setSource(QUrl::fromLocalFile(file), QTextDocument::MarkdownResource);
        (new QVBoxLayout(window))->addWidget(browser);
        window->resize(1000, 680); // beside a task bar on a 1366 x 768 screen
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace corvane
