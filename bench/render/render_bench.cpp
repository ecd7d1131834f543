// Prints 2,900 substances on 12-label sheets to PDF and reports the time,
// the file size and the peak memory:  corvane_render_bench [OUTPUT.pdf]
#include "ReportEngine.h"
#include "SampleLabels.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

using namespace corvane;

namespace {

constexpr int kSubstances = 2900;
constexpr qint64 kTimeLimitMs = 1200;
constexpr long kMemoryLimitMb = 200;

long peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir base;
    QString error;
    if (!samples::prepareDataFolder(base.path(), QStringLiteral(CORVANE_REPORTS_SOURCE_DIR),
                                    QStringLiteral(CORVANE_PICTOGRAMS_SOURCE_DIR), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QString pdf = app.arguments().size() > 1 ? app.arguments()[1] : base.filePath(QStringLiteral("bench.pdf"));
    const auto substances = samples::sampleSubstances(kSubstances);

    ReportEngine engine;
    engine.setBaseFolder(base.path());
    engine.setPdfOutput(pdf);

    qint64 times[2] = {0, 0};
    for (qint64 &time : times) {
        QElapsedTimer timer;
        timer.start();
        if (const Outcome printed = samples::printSheets(engine, ReportFile::Additional2x6, 12, substances); !printed) {
            std::fprintf(stderr, "%s\n", qPrintable(printed.errorText()));
            return 1;
        }
        time = timer.elapsed();
    }
    const long memory = peakResidentMegabytes();

    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {pdf});
    pdfinfo.waitForFinished();
    const QString pages = QString::fromUtf8(pdfinfo.readAllStandardOutput())
                              .section(QStringLiteral("Pages:"), 1)
                              .section(u'\n', 0, 0)
                              .trimmed();

    std::printf("%d substances, %s pages, %.2f MB PDF; first run %lld ms, second run %lld ms; peak memory %ld MB\n",
                kSubstances, qPrintable(pages), QFileInfo(pdf).size() / 1e6, static_cast<long long>(times[0]),
                static_cast<long long>(times[1]), memory);
    const bool withinLimits = times[0] < kTimeLimitMs && memory < kMemoryLimitMb;
    std::printf("%s (limits: %lld ms, %ld MB)\n", withinLimits ? "within limits" : "OVER LIMITS",
                static_cast<long long>(kTimeLimitMs), kMemoryLimitMb);
    return withinLimits ? 0 : 1;
}
