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

bool MyGraphicRoundItem::fitsImage(const QPointF &c, double r) const
{
    return c.x() - r >= m_imageRect.left() && c.x() + r <= m_imageRect.left() + m_imageRect.width()
        && c.y() - r >= m_imageRect.top() && c.y() + r <= m_imageRect.top() + m_imageRect.height();
}

void MyGraphicRoundItem::computeStatistics(const QPointF &offset, const QString &path)
{
    const RegionStats r = circleStatistics(m_centre + offset, m_radius, m_imageRect, m_imageWidth, m_imageHeight,
                                           TemperatureGrid::of(path));
    storeStatistics(r.stats, offset);
}

void MyGraphicRoundItem::turnGeometry(const std::function<QPointF(const QPointF &)> &turn, const QPointF &offset,
                                      bool turnsNarrow)
{
    // The picture is drawn narrower (or wider again) after the turn; the radius follows.
    setCircle(turn(m_centre + offset), m_radius * (turnsNarrow ? 0.8 : 1.25));
}

QVector<float> MyGraphicRoundItem::sampleList(const QString &path) const
{
    const TemperatureGrid grid = TemperatureGrid::of(path);
    const QPoint c = sceneToPixel(m_centre + pos(), m_imageRect, m_imageWidth, m_imageHeight);
    const int r = std::max(0, int(m_radius / m_imageRect.width() * m_imageWidth));
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
    const QRectF b = boundingRect();
    const double s = m_handleSize;
    m_handles = {{1, QRectF(b.center().x() - s / 2, b.top(), s, s)},
                 {2, QRectF(b.center().x() - s / 2, b.bottom() - s, s, s)},
                 {3, QRectF(b.left(), b.center().y() - s / 2, s, s)},
                 {4, QRectF(b.right() - s, b.center().y() - s / 2, s, s)}};
}

void MyGraphicRoundItem::resizeThroughHandle(int, const QPointF &p)
{
    const double radius = std::hypot(p.x() - m_centre.x(), p.y() - m_centre.y());
    if (radius < 4 || !fitsImage(m_centre + pos(), radius))
        return;
    setCircle(m_centre, radius);
}

void MyGraphicRoundItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    painter->setPen(m_pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(m_centre, m_radius, m_radius);
    drawDecorations(painter, option);
    const QRectF b = boundingRect();
    const int size = labelPointSize(m_pen.width());
    drawLabel(painter, QPointF(b.center().x() - size, b.center().y() + size));
}
