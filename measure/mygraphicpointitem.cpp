#include "mygraphicpointitem.h"

#include "regionstatistics.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

MyGraphicPointItem::MyGraphicPointItem(QGraphicsItem *parent)
{
    setParentItem(parent);
}

ItemPtr MyGraphicPointItem::clone() const
{
    auto copy = std::make_shared<MyGraphicPointItem>();
    copy->copyCommonFrom(*this);
    copy->m_point = m_point;
    copy->m_dotRadius = m_dotRadius;
    return copy;
}

void MyGraphicPointItem::setPoint(const QPointF &point)
{
    prepareGeometryChange();
    m_point = point;
    m_handles = {{1, QRectF(point.x() - m_handleSize / 2, point.y() - m_handleSize / 2, m_handleSize, m_handleSize)}};
    update();
}

void MyGraphicPointItem::computeTemperature(const QPointF &scenePoint, const QString &path)
{
    computeStatistics(scenePoint - m_point, path);
}

RegionStats MyGraphicPointItem::measure(const TemperatureGrid &grid, const QPointF &offset) const
{
    return pointStatistics(m_point + offset, m_imageRect, grid);
}

void MyGraphicPointItem::mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset, double,
                                     bool)
{
    setPoint(map(m_point + offset));
}

void MyGraphicPointItem::keepInsideImage()
{
    setPoint(insideImage(m_point + pos()) - pos());
}

QRectF MyGraphicPointItem::boundingRect() const
{
    return QRectF(m_point.x() - m_dotRadius - m_margin, m_point.y() - m_dotRadius - m_margin,
                  2 * (m_dotRadius + m_margin), 2 * (m_dotRadius + m_margin));
}

void MyGraphicPointItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    painter->setPen(onScreen(m_pen));
    painter->setBrush(QBrush(m_pen.color()));
    painter->drawEllipse(QRectF(m_point.x() - m_dotRadius, m_point.y() - m_dotRadius, 2 * m_dotRadius, 2 * m_dotRadius));
    drawSelectionFrame(painter, option);

    // Right of the picture's centre the label goes left of the point.
    QPointF offset(10, 6);
    if (m_point.x() > m_imageRect.left() + m_imageRect.width() / 2)
        offset.setX(-labelText().size() * (labelPointSize(m_pen.width()) + 2));
    if (std::abs(m_point.y() - m_imageRect.top()) < 10)
        offset.setY(offset.y() + 10);
    drawLabel(painter, m_point, offset);
}
