// Any bytes as the three master sources (split at the first two NUL bytes): the reader
// reports errors and never crashes; every composed row keeps the invariants.
#include "MasterSource.h"

#include <cstdlib>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> parts = bytes.split('\0');
    const auto part = [&](int i) { return QString::fromUtf8(parts.value(i)); };
    const MasterSourceResult result = readMasterSource(part(0), QStringLiteral("h.tsv"), part(1),
                                                       QStringLiteral("p.tsv"), part(2), QStringLiteral("s.tsv"));
    for (const ComposedSubstance &substance : result.substances)
        if (substance.pictures.size() > 5)
            abort();
    return 0;
}
