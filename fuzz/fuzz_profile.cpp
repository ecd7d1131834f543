// Any bytes as a settings file: reading never crashes and stays within 255 bytes; a value
// written and read back is the value or empty, never another text.
#include "Profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cstdlib>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Every write is synced to disk; in memory the sync costs nothing and the fuzzer spends
    // its time on the reading and writing code.
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/fuzz_profile-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/fuzz_profile-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("fuzz.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return 0;
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    const QString value =
        readProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), QString(), 256, path);
    static QStringEncoder encoder("windows-31j");
    if (QByteArray(encoder.encode(value)).size() > 255)
        abort();

    const QString written =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(std::min<size_t>(size, 60)));
    if (writeProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), written, path)) {
        const QString back =
            readProfileString(QStringLiteral("init"), QStringLiteral("ProductName"), QString(), 256, path);
        if (!back.isEmpty() && back != written && !written.startsWith(back))
            abort();
    }
    return 0;
}
