#include "thumbnail.h"

#include "picturereader.h"

#include <QImageReader>

QPixmap loadThumbnail(const QString &path, const QSize &size)
{
    QImageReader reader(path);
    // Even a scaled decode of a picture declaring a huge size allocates for it: refused.
    if (!pictureSizeFits(reader.size()))
        return QPixmap();
    reader.setScaledSize(size);
    return QPixmap::fromImage(reader.read());
}
