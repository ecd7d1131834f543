#include "PictureCache.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace corvane {

namespace {

// Image sizes are rounded up to a step so that slightly different boxes
// share one stored image.
constexpr int kImageSizeStep = 32;
constexpr int kMaxImagePixels = 4096;

int roundUpToStep(qreal pixels)
{
    const int wanted = qBound(kImageSizeStep, int(std::ceil(pixels)), kMaxImagePixels);
    return (wanted + kImageSizeStep - 1) / kImageSizeStep * kImageSizeStep;
}

} // namespace

struct PictureCache::Picture {
    QDateTime modified;
    qint64 size = -1;
    std::unique_ptr<QSvgRenderer> svg;
    QImage raster;
    QHash<quint64, QImage> images; // SVG rendered per pixel size

    QSizeF naturalSize() const
    {
        if (svg) {
            const QRectF view = svg->viewBoxF();
            return view.isEmpty() ? QSizeF(svg->defaultSize()) : view.size();
        }
        return raster.size();
    }
};

PictureCache::PictureCache() = default;
PictureCache::~PictureCache() = default;

bool PictureCache::load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        m_pictures.remove(path);
        return false;
    }
    const auto known = m_pictures.constFind(path);
    if (known != m_pictures.constEnd() && (*known)->modified == info.lastModified() && (*known)->size == info.size())
        return true;

    auto picture = std::make_shared<Picture>();
    picture->modified = info.lastModified();
    picture->size = info.size();
    if (info.suffix().compare(u"svg", Qt::CaseInsensitive) == 0
        || info.suffix().compare(u"svgz", Qt::CaseInsensitive) == 0) {
        picture->svg = std::make_unique<QSvgRenderer>(path);
        if (!picture->svg->isValid() || picture->naturalSize().isEmpty())
            picture.reset();
    } else {
        QImageReader reader(path);
        picture->raster = reader.read();
        if (picture->raster.isNull())
            picture.reset();
    }
    if (!picture) {
        m_pictures.remove(path);
        return false;
    }
    m_pictures.insert(path, picture);
    return true;
}

PictureCache::Picture *PictureCache::find(const QString &path)
{
    const auto found = m_pictures.constFind(path);
    return found == m_pictures.constEnd() ? nullptr : found->get();
}

const QImage &PictureCache::imageAt(Picture &picture, const QSize &pixels)
{
    const quint64 key = (quint64(pixels.width()) << 32) | quint64(pixels.height());
    auto found = picture.images.find(key);
    if (found == picture.images.end()) {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        picture.svg->render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
        painter.end();
        found = picture.images.insert(key, image);
    }
    return *found;
}

void PictureCache::draw(QPainter &painter, const QString &path, const QRectF &box, qreal unitsPerInch, bool asImage)
{
    Picture *picture = find(path);
    if (!picture || box.isEmpty())
        return;
    const QSizeF natural = picture->naturalSize();
    const QSizeF fitted = natural.scaled(box.size(), Qt::KeepAspectRatio);
    const QRectF target(box.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);

    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Flat colours and sharp edges: JPEG would blur them and save little.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    if (picture->svg && !asImage) {
        painter.setRenderHint(QPainter::Antialiasing);
        picture->svg->render(&painter, target);
    } else if (picture->svg) {
        const qreal pixelsPerUnit = kPictureImageDpi / unitsPerInch;
        const int longSide = roundUpToStep(qMax(fitted.width(), fitted.height()) * pixelsPerUnit);
        const QSizeF pixels = natural.scaled(QSizeF(longSide, longSide), Qt::KeepAspectRatio);
        painter.drawImage(target,
                          imageAt(*picture, QSize(qMax(1, qRound(pixels.width())), qMax(1, qRound(pixels.height())))));
    } else {
        painter.drawImage(target, picture->raster);
    }
    painter.restore();
}

} // namespace corvane
