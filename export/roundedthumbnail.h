#pragma once

#include <QPixmap>

// The picture scaled to the thumbnail size of the screen (aspect ratio ignored) inside a
// rounded frame of radius 10, transparent outside: the look of every thumbnail list.
QPixmap roundedThumbnail(const QPixmap &picture);
