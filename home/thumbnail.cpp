#include "thumbnail.h"

#include "picturereader.h"

#include <QFileInfo>
#include <QImageReader>

QPixmap loadThumbnail(const QString &path, const QSize &size)
{
    if (!QFileInfo(path).isFile())
        return QPixmap(); // a FIFO or device named like a photograph would block the import
    QImageReader reader(path);
    // Even a scaled decode of a picture declaring a huge size allocates for it: refused.
    if (!pictureSizeFits(reader.size()))
        return QPixmap();
    reader.setScaledSize(size);
    return QPixmap::fromImage(reader.read());
}
