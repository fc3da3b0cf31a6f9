#include "roundedthumbnail.h"

#include "roundedimage.h"
#include "screenlayout.h"


QPixmap roundedThumbnail(const QPixmap &picture)
{
    const ScreenLayout &layout = shellValues().layout;
    return QPixmap::fromImage(roundedImage(picture.toImage(), QSize(layout.thumbWidth, layout.thumbHeight)));
}
