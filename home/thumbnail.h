#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

// A photograph decoded straight at thumbnail size: the JPEG decoder scales while it reads,
// so a grid of hundreds of photographs fills several times faster than with full decodes.
// A file that cannot be decoded gives a null image. Safe on any thread.
QImage decodeThumbnail(const QString &path, const QSize &size);

// The same, as a pixmap (GUI thread only).
QPixmap loadThumbnail(const QString &path, const QSize &size);

// A photograph as the home page's grid shows it: decoded at size and clipped to a rounded
// rectangle of radius 10, transparent outside (antialiased). A null image when the file
// cannot be decoded. Safe on any thread.
QImage roundedThumbnailImage(const QString &path, const QSize &size);
