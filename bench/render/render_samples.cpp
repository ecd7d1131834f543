// Renders sample label documents to PDF for looking at them:
//   corvane_render_samples OUTPUT_FOLDER [--guides]
// Then e.g. pdftoppm -r 100 -png OUTPUT_FOLDER/MALAB26.pdf page
#include "ReportEngine.h"
#include "SampleLabels.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using namespace corvane;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: corvane_render_samples OUTPUT_FOLDER [--guides]\n");
        return 2;
    }
    const QDir output(arguments[1]);
    QDir().mkpath(output.path());

    QTemporaryDir base;
    QString error;
    if (!samples::prepareDataFolder(base.path(), QStringLiteral(CORVANE_REPORTS_SOURCE_DIR),
                                    QStringLiteral(CORVANE_PICTOGRAMS_SOURCE_DIR), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    ReportEngine engine;
    engine.setBaseFolder(base.path());
    engine.setShowGuides(arguments.contains(QStringLiteral("--guides")));

    const auto substances = samples::sampleSubstances(40);
    const auto supplier = samples::sampleSupplier();
    const auto product = samples::sampleProduct();
    const std::pair<QString, std::function<Outcome()>> documents[] = {
        {QStringLiteral("MALAB26"),
         [&] { return samples::printSheets(engine, ReportFile::Additional2x6, 12, substances.mid(0, 17)); }},
        {QStringLiteral("MALAB37"),
         [&] { return samples::printSheets(engine, ReportFile::Additional3x7, 21, substances.mid(0, 26)); }},
        {QStringLiteral("SULABEL"),
         [&] { return samples::printNormalLabel(engine, supplier, product, substances[1]); }},
        {QStringLiteral("SULABEL-long"),
         [&] { return samples::printNormalLabel(engine, supplier, product, substances[7]); }},
        {QStringLiteral("SMLABEL"), [&] { return samples::printModelLabel(engine, supplier, product, substances[0]); }},
        {QStringLiteral("MULABEL-8"),
         [&] { return samples::printMultiSubstanceLabel(engine, supplier, product, substances.mid(0, 8)); }},
        {QStringLiteral("MULABEL-4"),
         [&] { return samples::printMultiSubstanceLabel(engine, supplier, product, substances.mid(3, 4)); }},
        {QStringLiteral("MULABEL-6"),
         [&] { return samples::printMultiSubstanceLabel(engine, supplier, product, substances.mid(6, 6)); }},
    };
    int failures = 0;
    for (const auto &[name, print] : documents) {
        const QString path = output.filePath(name + QStringLiteral(".pdf"));
        engine.setPdfOutput(path);
        const Outcome printed = print();
        std::printf("%s: %s\n", qPrintable(path), printed ? "ok" : qPrintable(printed.errorText()));
        failures += printed ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
