#include "ReportCache.h"
#include "ErrorText.h"

#include "ReportParser.h"
#include "ShippedReports.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace corvane {

namespace {

constexpr qint64 kMaxReportBytes = 4 * 1024 * 1024;

} // namespace

ReportLoadResult ReportCache::load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {nullptr, QStringLiteral("帳票ファイルが見つかりません: %1").arg(path)};

    const auto cached = m_entries.constFind(path);
    if (cached != m_entries.constEnd() && cached->modified == info.lastModified() && cached->size == info.size())
        return {cached->report, {}};

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {nullptr, QStringLiteral("帳票ファイルを読み込めません: %1\n%2").arg(path, fileFailureText(file, false))};
    if (file.size() > kMaxReportBytes)
        return {nullptr, QStringLiteral("帳票ファイルが大きすぎます: %1").arg(path)};
    const QByteArray bytes = file.readAll();

    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (const auto current = currentShippedReport(info.fileName(), bytes))
        text = *current;
    else if (decoder.hasError())
        return {nullptr, QStringLiteral("帳票ファイルの文字コードが UTF-8 ではありません: %1").arg(path)};

    ReportParseResult parsed = parseReport(text, info.fileName());
    if (!parsed.ok())
        return {nullptr, QStringLiteral("帳票ファイルの書式に誤りがあります: %1")
                             .arg(describeParseError(path, parsed.errors.first()))};

    auto report = std::make_shared<const ReportDefinition>(std::move(parsed.report));
    m_entries.insert(path, Entry{info.lastModified(), info.size(), report});
    return {report, {}};
}

} // namespace corvane
