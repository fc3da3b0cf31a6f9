#include "roundedimage.h"

#include <QPainter>
#include <QPainterPath>

QImage roundedImage(const QImage &picture, const QSize &size)
{
    QImage rounded(size, QImage::Format_ARGB32_Premultiplied);
    rounded.fill(Qt::transparent);
    QPainter painter(&rounded);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), 10, 10);
    painter.setClipPath(clip);
    // A decoder that scales as it reads gives the picture at its size already.
    if (!picture.isNull())
        painter.drawImage(0, 0, picture.size() == size ? picture
                                                       : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return rounded;
}
