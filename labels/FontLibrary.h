#pragma once

#include <QCache>
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace corvane {

// Measurements are taken once at a large reference size and scaled: with
// hinting off, text metrics grow linearly with the font size.
inline constexpr qreal kReferencePixelSize = 1000.0;

// One line of text shaped at the reference size, ready to be painted at any
// size by scaling the painter.
struct ShapedLine {
    QList<QGlyphRun> runs;
    qreal ascent = 0; // reference pixels
};

class FontFace {
public:
    FontFace(const QStringList &families, bool bold);

    const QFont &referenceFont() const { return m_font; }
    // In ems.
    qreal ascent() const { return m_ascent; }
    qreal descent() const { return m_descent; }
    qreal advance(char32_t character);
    // Whether some installed font has the character (the fallbacks included); one that none
    // has would print as a box.
    bool canShow(char32_t character);
    // The font that holds the characters of the first family the system has.
    const QRawFont &primaryFont();

private:
    QFont m_font;
    std::optional<QRawFont> m_primary;
    qreal m_ascent = 0;
    qreal m_descent = 0;
    QHash<char32_t, qreal> m_advances;
    QHash<char32_t, bool> m_shown;
};

// Every font the labels use, each opened once, and the lines shaped in them.
class FontLibrary {
public:
    FontLibrary();

    // Identifies a face by the families asked for (our fallbacks appended)
    // and weight; the id is stable for the library's lifetime.
    int faceId(const QStringList &families, bool bold);
    FontFace &face(int id) { return *m_faces[id]; }

    const ShapedLine &shape(int faceId, const QString &line);

private:
    std::vector<std::unique_ptr<FontFace>> m_faces;
    QHash<std::pair<QStringList, bool>, int> m_faceIds;
    // The faces asked for last: most look-ups end here without hashing the names.
    struct RecentFace {
        QStringList families;
        bool bold = false;
        int id = -1;
    };
    std::array<RecentFace, 4> m_recent;
    size_t m_nextRecent = 0;
    QCache<QString, ShapedLine> m_shapedLines;
};

} // namespace corvane
