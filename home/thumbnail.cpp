#include "thumbnail.h"

#include "picturereader.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

QImage decodeThumbnail(const QString &path, const QSize &size)
{
    if (!QFileInfo(path).isFile())
        return QImage(); // a FIFO or device named like a photograph would block the import
    QImageReader reader(path);
    // Even a scaled decode of a picture declaring a huge size allocates for it: refused.
    if (!pictureSizeFits(reader.size()))
        return QImage();
    reader.setScaledSize(size);
    return reader.read();
}

QPixmap loadThumbnail(const QString &path, const QSize &size)
{
    return QPixmap::fromImage(decodeThumbnail(path, size));
}

QImage roundedThumbnailImage(const QString &path, const QSize &size)
{
    const QImage picture = decodeThumbnail(path, size);
    if (picture.isNull())
        return QImage();
    QImage rounded(size, QImage::Format_ARGB32_Premultiplied);
    rounded.fill(Qt::transparent);
    QPainter painter(&rounded);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), 10, 10);
    painter.setClipPath(clip);
    // The decoder scales as it reads, so the picture is normally of the size already.
    painter.drawImage(0, 0, picture.size() == size ? picture
                                                   : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return rounded;
}
