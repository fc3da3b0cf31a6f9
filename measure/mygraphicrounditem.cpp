#include "mygraphicrounditem.h"

#include "regionstatistics.h"

#include <QPainter>

#include <cmath>

MyGraphicRoundItem::MyGraphicRoundItem() = default;

ItemPtr MyGraphicRoundItem::clone() const
{
    auto copy = std::make_shared<MyGraphicRoundItem>();
    copy->copyCommonFrom(*this);
    copy->setCircle(m_centre, m_radius);
    return copy;
}

void MyGraphicRoundItem::setCircle(const QPointF &centre, double radius)
{
    prepareGeometryChange();
    m_centre = centre;
    m_radius = radius;
    rebuildHandles();
    update();
}

double MyGraphicRoundItem::roomAround(const QPointF &c) const
{
    const QRectF &r = m_imageRect;
    return std::max(0.0, std::min({c.x() - r.left(), r.left() + r.width() - c.x(), c.y() - r.top(),
                                   r.top() + r.height() - c.y()}));
}

RegionStats MyGraphicRoundItem::measure(const TemperatureGrid &grid, const QPointF &offset) const
{
    return circleStatistics(m_centre + offset, m_radius, m_imageRect, grid.width(), grid.height(), grid);
}

void MyGraphicRoundItem::mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset,
                                     double radiusScale, bool)
{
    setCircle(map(m_centre + offset), m_radius * radiusScale);
}

void MyGraphicRoundItem::keepInsideImage()
{
    // The largest circle the picture holds, its centre moved in so that all of it is inside.
    const QRectF &r = m_imageRect;
    const double radius = std::max(0.0, std::min({m_radius, r.width() / 2, r.height() / 2}));
    const QPointF c = m_centre + pos();
    const QPointF inside(std::clamp(c.x(), r.left() + radius, r.left() + r.width() - radius),
                         std::clamp(c.y(), r.top() + radius, r.top() + r.height() - radius));
    setCircle(inside - pos(), radius);
}

QVector<float> MyGraphicRoundItem::sampleList(const QString &path) const
{
    const TemperatureGrid grid = TemperatureGrid::of(path);
    const QPoint c = sceneToPixel(m_centre + pos(), m_imageRect, grid.width(), grid.height());
    const int r = circlePixelRadius(m_radius, m_imageRect, grid.width());
    QVector<float> samples;
    for (const QPoint &p : diskPixels(c, r))
        samples.append(grid.at(p));
    return samples;
}

QRectF MyGraphicRoundItem::boundingRect() const
{
    const double r = m_radius + m_margin;
    return QRectF(m_centre.x() - r, m_centre.y() - r, 2 * r, 2 * r);
}

Qt::CursorShape MyGraphicRoundItem::cursorForHandle(int handle) const
{
    return handle == 1 || handle == 2 ? Qt::SizeVerCursor : Qt::SizeHorCursor;
}

void MyGraphicRoundItem::rebuildHandles()
{
    const QRectF b = handleFrame(QRectF(m_centre.x() - m_radius, m_centre.y() - m_radius, 2 * m_radius, 2 * m_radius));
    const double s = handleSize();
    m_handles = {{1, QRectF(b.center().x() - s / 2, b.top(), s, s)},
                 {2, QRectF(b.center().x() - s / 2, b.bottom() - s, s, s)},
                 {3, QRectF(b.left(), b.center().y() - s / 2, s, s)},
                 {4, QRectF(b.right() - s, b.center().y() - s / 2, s, s)}};
}

void MyGraphicRoundItem::resizeThroughHandle(int, const QPointF &p)
{
    const double radius = std::min(std::hypot(p.x() - m_centre.x(), p.y() - m_centre.y()), roomAround(m_centre + pos()));
    if (radius < 4)
        return;
    setCircle(m_centre, radius);
}

void MyGraphicRoundItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    painter->setPen(onScreen(m_pen));
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(m_centre, m_radius, m_radius);
    drawDecorations(painter, option);
    const QRectF b = boundingRect();
    const int size = labelPointSize(m_pen.width());
    drawLabel(painter, b.center(), QPointF(-size, size));
}
