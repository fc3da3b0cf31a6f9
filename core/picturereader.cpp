#include "picturereader.h"

#include "irinfo.h"

#include <QFileInfo>
#include <QImageReader>

bool pictureSizeFits(const QSize &size)
{
    return size.width() > 0 && size.height() > 0 && qint64(size.width()) * size.height() <= kRawFramePixels;
}

QImage readBoundedPicture(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return QImage(); // a FIFO or device would block the decoder
    QImageReader reader(path);
    // The header alone: a picture is never decoded to learn its size.
    if (!pictureSizeFits(reader.size()))
        return QImage();
    const QImage image = reader.read();
    // A decoder may still end with another size than its header stated.
    return pictureSizeFits(image.size()) ? image : QImage();
}
