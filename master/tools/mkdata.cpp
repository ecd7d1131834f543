// Creates the Data folder beside the program at build time: only what is missing.
#include "DataFolder.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: corvane-mkdata DATA_FOLDER SOURCE_ROOT\n";
        return 2;
    }
    if (const corvane::Outcome created = corvane::createDataFolder(args[1], corvane::dataSourcesIn(args[2]));
        !created) {
        QTextStream(stderr) << created.errorText() << '\n';
        return 1;
    }
    return 0;
}
