#include "MasterVersion.h"

#include <QRegularExpression>

#include <tuple>

namespace corvane {
namespace {

const QRegularExpression &versionPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})(?:\\.(\\d{1,6}))?$"));
    return pattern;
}

// (date, serial); the empty version sorts before every date.
std::tuple<QString, int> parts(const QString &version)
{
    const QRegularExpressionMatch match = versionPattern().match(version);
    return {match.captured(1), match.captured(2).toInt()};
}

} // namespace

bool isMasterVersion(const QString &version) { return versionPattern().match(version).hasMatch(); }

int compareMasterVersions(const QString &a, const QString &b)
{
    const auto left = parts(a);
    const auto right = parts(b);
    return left < right ? -1 : (right < left ? 1 : 0);
}

QString displayedVersion(const QString &version) { return version.isEmpty() ? QStringLiteral("初版") : version; }

} // namespace corvane
