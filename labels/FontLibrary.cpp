#include "FontLibrary.h"

#include "ReportParser.h"

#include <QFontMetricsF>
#include <QTextLayout>

namespace corvane {

namespace {

constexpr int kShapedLineCacheSize = 30000;

QStringList withJapaneseFallbacks(const QStringList &families)
{
    QStringList result = families;
    for (const QString &fallback : defaultReportFontFamilies())
        if (!result.contains(fallback, Qt::CaseInsensitive))
            result.append(fallback);
    return result;
}

} // namespace

FontFace::FontFace(const QStringList &families, bool bold)
{
    m_font.setFamilies(withJapaneseFallbacks(families));
    m_font.setBold(bold);
    m_font.setPixelSize(int(kReferencePixelSize));
    m_font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(m_font);
    m_ascent = metrics.ascent() / kReferencePixelSize;
    m_descent = metrics.descent() / kReferencePixelSize;
}

qreal FontFace::advance(char32_t character)
{
    const auto cached = m_advances.constFind(character);
    if (cached != m_advances.constEnd())
        return *cached;
    const char32_t codePoints[1] = {character};
    const qreal width = QFontMetricsF(m_font).horizontalAdvance(QString::fromUcs4(codePoints, 1)) / kReferencePixelSize;
    m_advances.insert(character, width);
    return width;
}

FontLibrary::FontLibrary()
    : m_shapedLines(kShapedLineCacheSize)
{
}

int FontLibrary::faceId(const QStringList &families, bool bold)
{
    const QString key = families.join(u'\x1f')
                        + (bold ? QStringLiteral("\x1e"
                                                 "b")
                                : QStringLiteral("\x1e"
                                                 "r"));
    const auto found = m_faceIds.constFind(key);
    if (found != m_faceIds.constEnd())
        return *found;
    const int id = int(m_faces.size());
    m_faces.push_back(std::make_unique<FontFace>(families, bold));
    m_faceIds.insert(key, id);
    return id;
}

const ShapedLine &FontLibrary::shape(int faceId, const QString &line)
{
    const QString key = QString::number(faceId) + u'\x1f' + line;
    if (const ShapedLine *cached = m_shapedLines.object(key))
        return *cached;
    QTextLayout layout(line, m_faces[faceId]->referenceFont());
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    layout.endLayout();
    auto *shaped = new ShapedLine{layout.glyphRuns(), textLine.isValid() ? textLine.ascent() : 0};
    m_shapedLines.insert(key, shaped);
    return *shaped;
}

} // namespace corvane
