#include "thumbnail.h"

#include <QImageReader>

QPixmap loadThumbnail(const QString &path, const QSize &size)
{
    QImageReader reader(path);
    reader.setScaledSize(size);
    return QPixmap::fromImage(reader.read());
}
