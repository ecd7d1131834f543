// Prints one product's labels (or the list of all target substances) straight into a PDF,
// for batch work and automation:
//   corvane-print --product ID --kind K [--single 0|1] --output FILE.pdf [--data DIR]
#include "Application.h"
#include "Catalogue.h"
#include "Database.h"
#include "ErrorBoundary.h"
#include "MasterUpdate.h"
#include "MessageBox.h"
#include "Module1.h"
#include "PrintLabels.h"
#include "ReportEngine.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

using namespace corvane;

namespace {

int failWith(const QString &message)
{
    QTextStream(stderr) << "corvane-print: " << message << '\n';
    return 1;
}

std::optional<int> integerOption(const QCommandLineParser &parser, const QString &name)
{
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// The flag the main menu would pass: kind 2 always 1, kind 4 always 0, the others 1 for a
// single-substance product (ItemType other than 0).
int defaultSingle(Database &db, int productId, int kind)
{
    if (kind == Model)
        return 1;
    if (kind == AllSubstances)
        return 0;
    const auto product = catalogue::productById(db, productId);
    return product && ValOrDefault(product->itemType, 1) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Fonts and pictures need a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Prints Corvane labels into a PDF file."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("product"), QStringLiteral("Product ID (-1: the list of all target substances)."), QStringLiteral("ID")},
        {QStringLiteral("kind"), QStringLiteral("Label kind 1 to 5."), QStringLiteral("K")},
        {QStringLiteral("single"), QStringLiteral("1: fill the page with copies of one substance."), QStringLiteral("0|1")},
        {QStringLiteral("output"), QStringLiteral("The PDF file to write."), QStringLiteral("FILE")},
        {QStringLiteral("data"), QStringLiteral("The Data folder (default: beside the program)."), QStringLiteral("DIR")},
    });
    parser.process(app);

    const auto product = integerOption(parser, QStringLiteral("product"));
    const auto kind = integerOption(parser, QStringLiteral("kind"));
    const QString output = parser.value(QStringLiteral("output"));
    if (!product || !kind || *kind < 1 || *kind > 5 || output.isEmpty())
        return failWith(QStringLiteral("--product ID, --kind 1-5 and --output FILE are needed"));
    std::optional<int> single;
    if (parser.isSet(QStringLiteral("single"))) {
        single = integerOption(parser, QStringLiteral("single"));
        if (!single || (*single != 0 && *single != 1))
            return failWith(QStringLiteral("--single takes 0 or 1"));
    }

    const QString dataFolder = QFileInfo(parser.isSet(QStringLiteral("data"))
                                             ? parser.value(QStringLiteral("data"))
                                             : QDir(Application::folder()).filePath(QStringLiteral("Data")))
                                   .absoluteFilePath();
    QString error;
    auto db = Database::open(QDir(dataFolder).filePath(QStringLiteral("Data.mde")), &error);
    if (!db)
        return failWith(error);
    for (const QString &line : masterUpdateMessage(updateMasterAtStartUp(*db)).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        QTextStream(stderr) << "corvane-print: " << line << '\n';

    setMessageHandler([](const MessageRecord &message) {
        QTextStream(stderr) << "corvane-print: " << message.text << '\n';
        return MsgResult::Ok;
    });
    QFile::remove(output);
    ReportEngine engine;
    engine.setDataFolder(dataFolder);
    engine.setPdfOutput(output);
    bool printed = false;
    guarded(nullptr, [&] {
        const int flag = single ? *single : defaultSingle(*db, *product, *kind);
        printed = PrintLabels(nullptr, *db, *product, static_cast<qint16>(*kind), static_cast<qint16>(flag), engine);
    });
    if (!printed) {
        QFile::remove(output);
        return 1;
    }
    return 0;
}
