#include "Profile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <optional>
#include <vector>

namespace corvane {
namespace {

constexpr const char *kCodePage = "windows-31j";
// Far beyond any settings file; a larger file is treated as unreadable (left alone), never cut.
constexpr qint64 kMaxFileSize = qint64(256) * 1024 * 1024;

// Made once each: making a converter is far slower than converting the line of a name.
QString decode(const QByteArray &bytes)
{
    static thread_local QStringDecoder decoder(kCodePage);
    decoder.resetState();
    return decoder.decode(bytes);
}

// The text in code page 932, or nothing when it would not read back as the same text.
std::optional<QByteArray> encode(const QString &text)
{
    static thread_local QStringEncoder encoder(kCodePage);
    encoder.resetState();
    QByteArray bytes = encoder.encode(text);
    if (decode(bytes) != text)
        return std::nullopt;
    return bytes;
}

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Cuts to at most maxBytes without leaving half of a double-byte character behind.
QByteArray cutBytes(const QByteArray &bytes, int maxBytes)
{
    if (bytes.size() <= maxBytes)
        return bytes;
    int end = 0;
    while (end < maxBytes) {
        const int width = isLeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return bytes.left(end);
}

// The lines of content without their line ends; they point into content, which must outlive
// them (a settings file can hold many lines, and only one of them is ever changed).
std::vector<QByteArray> splitLines(const QByteArray &content)
{
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        const qsizetype length = end - start - (end > start && content[end - 1] == '\r' ? 1 : 0);
        lines.push_back(QByteArray::fromRawData(content.constData() + start, length));
        start = end + 1;
    }
    return lines;
}

// "[name]" gives name; anything else gives nothing.
std::optional<QByteArrayView> sectionName(QByteArrayView line)
{
    const QByteArrayView trimmed = line.trimmed();
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return trimmed.sliced(1, close - 1).trimmed();
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool sameName(QByteArrayView a, const QString &b)
{
    if (isAscii(a)) // the usual case, compared without decoding
        return QLatin1StringView(a.data(), a.size()).compare(b, Qt::CaseInsensitive) == 0;
    return decode(a.toByteArray()).compare(b, Qt::CaseInsensitive) == 0;
}

// Index range [first, last) of the lines inside section, or nothing when it is missing.
std::optional<std::pair<size_t, size_t>> findSection(const std::vector<QByteArray> &lines, const QString &section)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i]);
        if (!name || !sameName(*name, section))
            continue;
        size_t end = i + 1;
        while (end < lines.size() && !sectionName(lines[end]))
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

std::optional<size_t> findKey(const std::vector<QByteArray> &lines, size_t first, size_t last, const QString &key)
{
    for (size_t i = first; i < last; ++i) {
        const qsizetype equals = lines[i].indexOf('=');
        if (equals > 0 && sameName(QByteArrayView(lines[i]).first(equals).trimmed(), key))
            return i;
    }
    return std::nullopt;
}

QByteArray unquote(const QByteArray &value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// The bytes to write for value so that reading gives value back unchanged.
QByteArray valueBytes(const QString &value)
{
    if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
        return {};
    const auto bytes = encode(value);
    if (!bytes)
        return {};
    // Reading trims blanks and strips one pair of quotes, so protect such values with quotes.
    if (*bytes != bytes->trimmed() || unquote(*bytes) != *bytes)
        return '"' + *bytes + '"';
    return *bytes;
}

// The whole file, or nothing when it cannot be read whole.
std::optional<QByteArray> readFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || file.size() > kMaxFileSize)
        return std::nullopt;
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError || content.size() != file.size())
        return std::nullopt;
    return content;
}

} // namespace

QString readProfileString(const QString &section, const QString &key, const QString &defaultValue, int bufferSize,
                          const QString &fileName)
{
    const auto content = readFile(fileName);
    if (!content)
        return defaultValue;
    const auto lines = splitLines(*content);
    const auto range = findSection(lines, section);
    if (!range)
        return defaultValue;
    const auto index = findKey(lines, range->first, range->second, key);
    if (!index)
        return defaultValue;
    const QByteArray &line = lines[*index];
    const QByteArray value = unquote(line.mid(line.indexOf('=') + 1).trimmed());
    return decode(cutBytes(value, bufferSize - 1));
}

bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &fileName)
{
    const auto sectionBytes = encode(section);
    const auto keyBytes = encode(key);
    if (!sectionBytes || !keyBytes)
        return false;
    const QByteArray entry = *keyBytes + '=' + valueBytes(value);

    std::optional<QByteArray> old;
    if (QFile::exists(fileName)) {
        old = readFile(fileName);
        if (!old)
            return false;
    }
    std::vector<QByteArray> lines = old ? splitLines(*old) : std::vector<QByteArray>();
    if (const auto range = findSection(lines, section)) {
        if (const auto index = findKey(lines, range->first, range->second, key)) {
            lines[*index] = entry;
        } else {
            size_t insertAt = range->second;
            while (insertAt > range->first && QByteArrayView(lines[insertAt - 1]).trimmed().isEmpty())
                --insertAt;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
        }
    } else {
        lines.push_back('[' + *sectionBytes + ']');
        lines.push_back(entry);
    }

    QByteArray content;
    content.reserve(old ? old->size() + entry.size() + 64 : 256);
    for (const QByteArray &line : lines)
        content.append(line).append("\r\n");
    // Written beside the file and renamed over it once whole, so a failure leaves the old file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(content) != content.size())
        return false;
    return file.commit();
}

QString readSetting(const QString &section, const QString &key, const QString &fileName)
{
    return readProfileString(section, key, QString(), 256, fileName);
}

} // namespace corvane
