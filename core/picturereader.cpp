#include "picturereader.h"

#include "cfile.h"
#include "irinfo.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

bool pictureSizeFits(const QSize &size)
{
    return size.width() > 0 && size.height() > 0 && qint64(size.width()) * size.height() <= kRawFramePixels;
}

QSize pictureFileSize(const QByteArray &nativePath)
{
    const CFile file = openForReading(nativePath.constData());
    QFile device;
    if (!file || !device.open(::fileno(file.get()), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return QSize();
    // The name's suffix picks the decoder to try first, as for a reader given the path.
    QImageReader reader(&device, QFileInfo(QFile::decodeName(nativePath)).suffix().toLower().toLatin1());
    return reader.size();
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
