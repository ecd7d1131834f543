#include "Application.h"
#include "DataLocation.h"
#include "Fonts.h"
#include "Program.h"
#include "RunDatabase.h"
#include "Translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

namespace {

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption data{QStringLiteral("data"),
                            QStringLiteral("Data.mde のあるフォルダ（既定: プログラムの隣の Data、"
                                           "インストール時は ~/.local/share/corvane/Data）。"),
                            QStringLiteral("DIR")};
    QCommandLineOption database{QStringLiteral("database"), corvane::databaseOptionHelp(), QStringLiteral("URI")};
    CommandLine()
    {
        parser.setApplicationDescription(QStringLiteral("化学品の製品カタログを管理し、"
                                                        "GHS ラベルを印刷します。"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(data);
        parser.addOption(database);
    }
};

// --help and --version are answered before the window system is opened, so they work without a
// display; the window system's own options (-platform …) are left to QApplication.
void answerHelpAndVersion(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    CommandLine asked;
    asked.parser.parse(arguments);
    if (asked.parser.isSet(QStringLiteral("help")) || asked.parser.isSet(QStringLiteral("help-all"))
        || asked.parser.isSet(QStringLiteral("version"))) {
        QCoreApplication core(argc, argv);
        corvane::useJapaneseTranslations();
        CommandLine line;          // its options described in Japanese now
        line.parser.process(core); // prints and ends the program
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("corvane"));
    QCoreApplication::setApplicationVersion(corvane::Application::version());
    answerHelpAndVersion(argc, argv);
    QApplication app(argc, argv);
    // Qt's own dialogs (the print dialog and the print preview) and messages in Japanese.
    corvane::useJapaneseTranslations();
    CommandLine line;
    line.parser.process(app); // any option left over is an error
    corvane::setDataOption(line.parser.value(line.data));
    corvane::setDatabaseOption(line.parser.value(line.database));
    // The menu entry's name and icon for the window (corvane.desktop).
    QGuiApplication::setDesktopFileName(QStringLiteral("corvane"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("corvane")));
    app.setFont(corvane::gothicFont(10.5));
    corvane::Program program(corvane::printWithPreview);
    if (!program.menu().open())
        return 1;
    program.menu().show();
    return app.exec();
}
