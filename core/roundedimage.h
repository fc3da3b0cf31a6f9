#pragma once

#include <QImage>
#include <QSize>

// The picture scaled to size and clipped to a rectangle with rounded corners (radius 10), the
// corners transparent: the thumbnails of the library and of the export list. A null picture
// gives the transparent shape alone. Safe on any thread.
QImage roundedImage(const QImage &picture, const QSize &size);
