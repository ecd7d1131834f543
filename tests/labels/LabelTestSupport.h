#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTest>

namespace corvane::testing {

inline void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
}

// A small pictogram-like SVG: a red diamond with a coloured mark.
inline QByteArray pictogramSvg(const char *markColour)
{
    return QByteArray(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 100" width="100" height="100">)"
                      R"(<path d="M50 2 L98 50 L50 98 L2 50 Z" fill="#fff" stroke="#e60012" stroke-width="6"/>)"
                      R"(<circle cx="50" cy="50" r="18" fill=")")
           + markColour + R"("/></svg>)";
}

// Output of a poppler tool, or a null string when the tool is not installed.
inline QString runTool(const QString &program, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return {};
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int pdfPageCount(const QString &pdf)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    for (const QString &line : info.split(u'\n'))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

} // namespace corvane::testing
