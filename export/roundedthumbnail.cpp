#include "roundedthumbnail.h"

#include "screenlayout.h"

#include <QPainter>
#include <QPainterPath>

QPixmap roundedThumbnail(const QPixmap &picture)
{
    const ScreenLayout &layout = shellValues().layout;
    const QSize size(layout.thumbWidth, layout.thumbHeight);
    QPixmap rounded(size);
    rounded.fill(Qt::transparent);
    QPainter painter(&rounded);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), 10, 10);
    painter.setClipPath(clip);
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return rounded;
}
