#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QString>

#include <memory>

class QPainter;
class QSvgRenderer;

namespace corvane {

// Pictures named by fields ("#BMP=Data\GHS02.svg"), loaded once each.
// SVG is drawn as vectors on screen and printers; in a PDF every picture is
// drawn through one high-resolution image per printed size, which the PDF
// stores once however many labels show it.
class PictureCache {
public:
    PictureCache();
    ~PictureCache();

    // (Re)loads the file if it changed since it was last read. False when it
    // is missing or unreadable.
    bool load(const QString &path);

    // Draws a loaded picture centred in `box` with its aspect ratio kept.
    // `box` is in the painter's units, `unitsPerInch` converts it to print size.
    void draw(QPainter &painter, const QString &path, const QRectF &box, qreal unitsPerInch, bool asImage);

private:
    struct Picture;
    Picture *find(const QString &path);
    const QImage &imageAt(Picture &picture, const QSize &pixels);

    QHash<QString, std::shared_ptr<Picture>> m_pictures;
};

// Resolution of pictures drawn as images into a PDF.
inline constexpr qreal kPictureImageDpi = 600.0;

} // namespace corvane
