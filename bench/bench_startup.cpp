// bench_startup DATA_FOLDER [RUNS]: the time from the program's start to the main menu on the
// screen, as corvane does it (open Data.mde with its quick check, the daily backup, the master
// version check, the menu's window shown and painted), on a copy of the folder per run. The
// first start of a day also copies the database (daily backup); both are printed.
// bench_startup DATA_FOLDER once: one start in this process, timed from main() (the window
// system and the fonts included), for timing whole processes from a script.
#include "Application.h"
#include "DataLocation.h"
#include "Fonts.h"
#include "MainMenu.h"
#include "Program.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

bool copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QFileInfo &file : QDir(from).entryInfoList(QDir::Files))
        if (!QFile::copy(file.absoluteFilePath(), QDir(to).filePath(file.fileName())))
            return false;
    return true;
}

// One start: menu loaded, shown and painted. Returns milliseconds.
qint64 start(const QString &dataFolder)
{
    QElapsedTimer timer;
    timer.start();
    corvane::setDataOption(dataFolder);
    corvane::Program program([](QWidget *, corvane::Database &, int, corvane::LabelKind, bool) {});
    if (!program.menu().open())
        return -1;
    program.menu().show();
    QCoreApplication::processEvents();
    program.menu().repaint();
    const qint64 elapsed = timer.elapsed();
    program.menu().close();
    QCoreApplication::processEvents();
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    app.setFont(corvane::gothicFont(10.5));
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[2] == QLatin1String("once")) {
        corvane::setDataOption(args[1]);
        corvane::Program program([](QWidget *, corvane::Database &, int, corvane::LabelKind, bool) {});
        if (!program.menu().open())
            return 1;
        program.menu().show();
        QCoreApplication::processEvents();
        program.menu().repaint();
        QTextStream(stdout) << sinceMain.elapsed() << '\n';
        return 0;
    }
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: bench_startup DATA_FOLDER [RUNS]\n";
        return 2;
    }
    const int runs = args.size() > 2 ? args[2].toInt() : 5;
    QTextStream out(stdout);
    for (const bool firstOfDay : {true, false}) {
        std::vector<qint64> times;
        QTemporaryDir work;
        const QString data = QDir(work.path()).filePath(QStringLiteral("Data"));
        if (!copyFolder(args[1], data))
            return 1;
        start(data); // makes today's backup and warms the caches
        for (int run = 0; run < runs; ++run) {
            if (firstOfDay)
                QDir(QDir(data).filePath(QStringLiteral("backup"))).removeRecursively();
            times.push_back(start(data));
        }
        std::sort(times.begin(), times.end());
        out << (firstOfDay ? "first start of a day" : "later start") << ": median " << times[times.size() / 2]
            << " ms, min " << times.front() << " ms, max " << times.back() << " ms (" << runs << " runs)\n";
    }
    return 0;
}
