#include "ReportCache.h"

#include "FileFailure.h"
#include "ReportParser.h"
#include "ShippedReports.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace corvane {

namespace {

constexpr qint64 kMaxReportBytes = 4 * 1024 * 1024;

} // namespace

Result<LoadedReport> ReportCache::load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return Failure{QStringLiteral("帳票ファイルが見つかりません: %1").arg(path), {}};

    const auto cached = m_entries.constFind(path);
    if (cached != m_entries.constEnd() && cached->modified == info.lastModified() && cached->size == info.size())
        return cached->report;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fileFailure(QStringLiteral("帳票ファイルを読み込めません: %1").arg(path), file, false);
    if (file.size() > kMaxReportBytes)
        return Failure{QStringLiteral("帳票ファイルが大きすぎます: %1").arg(path), {}};
    const QByteArray bytes = file.readAll();

    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (const auto current = currentShippedReport(info.fileName(), bytes))
        text = *current;
    else if (decoder.hasError())
        return Failure{QStringLiteral("帳票ファイルの文字コードが UTF-8 ではありません: %1").arg(path), {}};

    ReportParseResult parsed = parseReport(text, info.fileName());
    if (!parsed.ok())
        return Failure{QStringLiteral("帳票ファイルの書式に誤りがあります: %1")
                           .arg(describeParseError(path, parsed.errors.first())),
                       {}};

    auto report = std::make_shared<const ReportDefinition>(std::move(parsed.report));
    m_entries.insert(path, Entry{info.lastModified(), info.size(), report});
    return LoadedReport(report);
}

} // namespace corvane
