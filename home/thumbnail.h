#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// A photograph decoded straight at thumbnail size: the JPEG decoder scales while it reads,
// so a grid of hundreds of photographs fills several times faster than with full decodes.
// A file that cannot be decoded gives a null pixmap.
QPixmap loadThumbnail(const QString &path, const QSize &size);
