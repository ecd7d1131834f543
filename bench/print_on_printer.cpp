// Prints one product's labels on a named printer through the same code as the print
// preview's print button, without any dialog, so that scripts/cups-check.sh can check what a
// real print queue makes of them:
//   print_on_printer --data DIR --product ID --kind K --single 0|1 --printer NAME [--offset X,Y]
//                    [--dialog-choices]
// The offset is in millimetres, right and down (none by default). --dialog-choices first
// sets the printer up as a user might in Qt's print dialog, with settings that would shrink
// or move the labels: Letter paper in landscape, 15 mm margins, not the full page, two pages
// per sheet and fit-to-page.
#include "DataLocation.h"
#include "Database.h"
#include "OpenDatabase.h"
#include "PrintLabels.h"
#include "PrinterOutput.h"
#include "ReportEngine.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextStream>

using namespace corvane;

namespace {

int failWith(const QString &message)
{
    QTextStream(stderr) << "print_on_printer: " << message << '\n';
    return 1;
}

void chooseAsInDialog(QPrinter &printer)
{
    printer.setFullPage(false);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(15, 15, 15, 15),
                                      QPageLayout::Millimeter));
    // Where Qt's CUPS engine keeps the job options that its dialog sets.
    printer.printEngine()->setProperty(QPrintEngine::PrintEnginePropertyKey(0xfe00),
                                       QStringList{QStringLiteral("number-up"), QStringLiteral("2"),
                                                   QStringLiteral("fit-to-page"), QStringLiteral("true")});
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOptions(
        {{QStringLiteral("data"), QStringLiteral("Folder of Data.mde."), QStringLiteral("DIR")},
         {QStringLiteral("product"), QStringLiteral("Product ID."), QStringLiteral("ID")},
         {QStringLiteral("kind"), QStringLiteral("Label kind 1-5."), QStringLiteral("K")},
         {QStringLiteral("single"), QStringLiteral("Single-substance flag."), QStringLiteral("0|1")},
         {QStringLiteral("printer"), QStringLiteral("Printer name."), QStringLiteral("NAME")},
         {QStringLiteral("offset"), QStringLiteral("Offset in mm."), QStringLiteral("X,Y")},
         {QStringLiteral("dialog-choices"), QStringLiteral("Choose as a user might in the print dialog.")}});
    parser.process(app);
    const QString printerName = parser.value(QStringLiteral("printer"));
    if (QPrinterInfo::printerInfo(printerName).isNull())
        return failWith(QStringLiteral("no printer named \"%1\"").arg(printerName));
    QPointF offset; // 0.1 mm
    if (parser.isSet(QStringLiteral("offset"))) {
        const QStringList mm = parser.value(QStringLiteral("offset")).split(u',');
        if (mm.size() != 2)
            return failWith(QStringLiteral("--offset X,Y"));
        offset = QPointF(mm[0].toDouble() * 10, mm[1].toDouble() * 10);
    }

    const auto kind = labelKindFromNumber(parser.value(QStringLiteral("kind")).toInt());
    if (!kind)
        return failWith(QStringLiteral("no label kind %1").arg(parser.value(QStringLiteral("kind"))));

    setDataOption(parser.value(QStringLiteral("data")));
    const DataLocation location = locateData();
    auto opened = openDatabaseFile(location.database);
    if (!opened)
        return failWith(opened.errorText());
    auto db = std::move(*opened);
    ReportEngine engine; // the document stays with the engine, as for the preview
    engine.setDataFolder(location.resourceFolder);
    const PrintResult result = PrintLabels(*db, parser.value(QStringLiteral("product")).toInt(), *kind,
                                           parser.value(QStringLiteral("single")).toInt() == 1, engine);
    if (!result.outcome)
        return failWith(result.outcome.errorText());

    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(printerName);
    printer.setDocName(engine.lastDocument().title);
    if (parser.isSet(QStringLiteral("dialog-choices")))
        chooseAsInDialog(printer);
    if (!printDocument(printer, engine.lastDocument(), engine.renderer(), offset))
        return failWith(QStringLiteral("cannot print on \"%1\"").arg(printerName));
    return 0;
}
