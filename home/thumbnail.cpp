#include "thumbnail.h"

#include "picturereader.h"
#include "roundedimage.h"

#include <QFileInfo>
#include <QImageReader>

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
    return picture.isNull() ? QImage() : roundedImage(picture, size);
}
