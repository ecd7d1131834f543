// make_big_data DATA_FOLDER COUNT [--long]: a Data folder with a substance master of COUNT
// substances; with --long, the master's longest statements and a product with long notes
// (see BigMaster.h).
#include "BigMaster.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int count = args.value(2).toInt(&ok);
    const bool longTexts = args.size() == 4 && args[3] == QStringLiteral("--long");
    if ((args.size() != 3 && !longTexts) || !ok || count < 1 || count > 32767) {
        QTextStream(stderr) << "usage: make_big_data DATA_FOLDER COUNT(1-32767) [--long]\n";
        return 2;
    }
    QString error;
    if (!corvane::makeBigDataFolder(args[1], count, &error, longTexts)) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    return 0;
}
