// Any text: the two parts always join to the whole text.
#include "PrintLabels.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(data), static_cast<qsizetype>(size / 2));
    QString first, rest;
    corvane::SplitNotes(text, first, rest);
    if (first + rest != text)
        abort();
    return 0;
}
