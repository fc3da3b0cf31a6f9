#include "picturemapping.h"

namespace {

// One quarter turn to the left of a point of a frame widthBefore wide.
QPointF turnLeft(const QPointF &p, double widthBefore)
{
    return QPointF(p.y(), widthBefore - p.x());
}

QPointF turnBack(const QPointF &p, double widthBefore)
{
    return QPointF(widthBefore - p.y(), p.x());
}

} // namespace

QPointF PictureMapping::toScene(const QPointF &pixel) const
{
    QPointF p = pixel;
    QSize size = frame;
    for (int t = 0; t < turns % 4; ++t) {
        p = turnLeft(p, size.width());
        size.transpose();
    }
    return QPointF(image.left() + p.x() / size.width() * image.width(),
                   image.top() + p.y() / size.height() * image.height());
}

QPointF PictureMapping::toPixel(const QPointF &scene) const
{
    const QSize turned = turnedFrame();
    QPointF p((scene.x() - image.left()) / image.width() * turned.width(),
              (scene.y() - image.top()) / image.height() * turned.height());
    QSize size = turned;
    for (int t = 0; t < turns % 4; ++t) {
        size.transpose(); // the size before this turn
        p = turnBack(p, size.width());
    }
    return p;
}

double PictureMapping::radiusToScene(double pixels) const
{
    return pixels / turnedFrame().width() * image.width();
}

double PictureMapping::radiusToPixels(double scene) const
{
    return scene / image.width() * turnedFrame().width();
}
