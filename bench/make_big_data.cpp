// make_big_data DATA_FOLDER COUNT: a Data folder with a substance master of COUNT substances.
#include "BigMaster.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int count = args.value(2).toInt(&ok);
    if (args.size() != 3 || !ok || count < 1 || count > 32767) {
        QTextStream(stderr) << "usage: make_big_data DATA_FOLDER COUNT(1-32767)\n";
        return 2;
    }
    QString error;
    if (!corvane::makeBigDataFolder(args[1], count, &error)) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    return 0;
}
