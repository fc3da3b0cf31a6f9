#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// True for a picture size the program handles: at least one pixel each way and no more pixels
// than the thermal frame holds (kRawFramePixels, 640 x 512), the largest frame the loader reads.
bool pictureSizeFits(const QSize &size);

// The pixel size a picture file's header declares; invalid when there is none. nativePath is
// the file name's bytes. Only a regular file is opened (a FIFO would wait for a writer forever).
QSize pictureFileSize(const QByteArray &nativePath);

// A photograph's visible picture, decoded only when the size its header declares fits; a null
// image when it does not, when the header states no size, or when the picture cannot be read.
// A header claiming 65000 x 65000 pixels is refused before anything is allocated for it.
QImage readBoundedPicture(const QString &path);
