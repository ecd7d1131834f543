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

// Whether a line can be set glyph by glyph, each character its own glyph at the advance the
// fitter measured: Japanese and Latin text without combining marks. Anything else goes
// through the full shaper.
bool isSimpleText(const QString &line)
{
    for (const QChar c : line) {
        if (c.isSurrogate() || c.isMark() || c.category() == QChar::Other_Format || c == u'\t')
            return false;
        switch (c.script()) {
        case QChar::Script_Common:
        case QChar::Script_Latin:
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Greek:
        case QChar::Script_Cyrillic: break;
        default: return false;
        }
    }
    return true;
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

bool FontFace::canShow(char32_t character)
{
    if (character < 0x80)
        return character >= 0x20 && character != 0x7f; // control characters have no glyph
    const auto cached = m_shown.constFind(character);
    if (cached != m_shown.constEnd())
        return *cached;
    const QChar::Category category = QChar::category(character);
    const bool shown = category != QChar::Other_Control && category != QChar::Other_Surrogate
                       && category != QChar::Other_NotAssigned && category != QChar::Other_PrivateUse
                       && (category == QChar::Other_Format || QFontMetricsF(m_font).inFontUcs4(character));
    m_shown.insert(character, shown);
    return shown;
}

const QRawFont &FontFace::primaryFont()
{
    if (!m_primary)
        m_primary = QRawFont::fromFont(m_font);
    return *m_primary;
}

FontLibrary::FontLibrary() : m_shapedLines(kShapedLineCacheSize) {}

int FontLibrary::faceId(const QStringList &families, bool bold)
{
    // Comparing a few short names (nothing at all when the lists share their data) costs far
    // less than hashing them.
    for (const RecentFace &recent : m_recent)
        if (recent.id >= 0 && recent.bold == bold && recent.families == families)
            return recent.id;
    const std::pair<QStringList, bool> key{families, bold};
    auto found = m_faceIds.constFind(key);
    if (found == m_faceIds.constEnd()) {
        m_faces.push_back(std::make_unique<FontFace>(families, bold));
        found = m_faceIds.insert(key, int(m_faces.size()) - 1);
    }
    m_recent[m_nextRecent] = RecentFace{families, bold, *found};
    m_nextRecent = (m_nextRecent + 1) % m_recent.size();
    return *found;
}

const ShapedLine &FontLibrary::shape(int faceId, const QString &line)
{
    const QString key = QString::number(faceId) + u'\x1f' + line;
    if (const ShapedLine *cached = m_shapedLines.object(key))
        return *cached;
    // Most lines need no shaper: one glyph per character, placed at the advances the
    // fitter measured, so a line is exactly as wide as when it was fitted. Shaping every
    // line with QTextLayout took a fifth of the time of printing a long list.
    FontFace &face = *m_faces[faceId];
    if (isSimpleText(line) && face.primaryFont().isValid()) {
        const QList<quint32> glyphs = face.primaryFont().glyphIndexesForString(line);
        if (glyphs.size() == line.size() && !glyphs.contains(0u)) {
            QList<QPointF> positions;
            positions.reserve(line.size());
            qreal x = 0;
            for (const QChar c : line) {
                positions.append(QPointF(x, 0));
                x += face.advance(c.unicode()) * kReferencePixelSize;
            }
            QGlyphRun run;
            run.setRawFont(face.primaryFont());
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            auto *shaped = new ShapedLine{{run}, 0};
            m_shapedLines.insert(key, shaped);
            return *shaped;
        }
    }
    QTextLayout layout(line, m_faces[faceId]->referenceFont());
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    layout.endLayout();
    auto *shaped = new ShapedLine{layout.glyphRuns(), textLine.isValid() ? textLine.ascent() : 0};
    m_shapedLines.insert(key, shaped);
    return *shaped;
}

} // namespace corvane
