// Any text as a report file: the parser gives a report or errors with a line, never a crash.
#include "ReportParser.h"

#include <cstdlib>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const ReportParseResult result = parseReport(text, QStringLiteral("FUZZ.PRP"));
    for (const ReportParseError &error : result.errors) {
        if (error.line < 0 || error.message.isEmpty())
            abort();
        describeParseError(QStringLiteral("FUZZ.PRP"), error);
    }
    return 0;
}
