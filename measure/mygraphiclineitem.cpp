#include "mygraphiclineitem.h"

#include "regionstatistics.h"

#include <QPainter>

#include <cmath>

MyGraphicLineItem::MyGraphicLineItem() = default;

ItemPtr MyGraphicLineItem::clone() const
{
    auto copy = std::make_shared<MyGraphicLineItem>();
    copy->copyCommonFrom(*this);
    copy->m_direction = m_direction;
    copy->setRect(m_rect);
    return copy;
}

void MyGraphicLineItem::setDirection(int direction)
{
    m_direction = direction;
    rebuildHandles();
    update();
}

QPointF MyGraphicLineItem::start() const
{
    return m_direction == 2 ? m_rect.topLeft() : m_rect.topRight();
}

QPointF MyGraphicLineItem::end() const
{
    return m_direction == 2 ? m_rect.bottomRight() : m_rect.bottomLeft();
}

RegionStats MyGraphicLineItem::measure(const TemperatureGrid &grid, const QPointF &offset) const
{
    return lineStatistics(start() + offset, end() + offset, m_imageRect, grid.height(), grid);
}

void MyGraphicLineItem::mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset,
                                    double, bool turns)
{
    setLine(map(start() + offset), map(end() + offset), turns);
}

void MyGraphicLineItem::keepInsideImage()
{
    setLine(insideImage(start() + pos()) - pos(), insideImage(end() + pos()) - pos(), false);
}

void MyGraphicLineItem::setLine(const QPointF &a, const QPointF &b, bool turned)
{
    // A quarter turn carries the segment onto the other diagonal of its new rectangle.
    const QRectF spanned = QRectF(a, b).normalized();
    const bool fallsRight = (a.x() <= b.x()) == (a.y() <= b.y());
    setRect(spanned);
    setDirection(turned ? (m_direction == 2 ? 1 : 2) : (fallsRight ? 2 : 1));
}

QVector<float> MyGraphicLineItem::sampleList(const QString &path) const
{
    const TemperatureGrid grid = TemperatureGrid::of(path);
    const QPointF a = start() + pos(), b = end() + pos();
    const int n = lineSampleCount(a, b, m_imageRect, grid.height());
    QVector<float> samples = {grid.at(sceneToPixel(a, m_imageRect, grid))};
    for (const QPointF &s : sampleLine(a, b, n))
        samples.append(grid.at(sceneToPixel(s, m_imageRect, grid)));
    return samples;
}

Qt::CursorShape MyGraphicLineItem::cursorForHandle(int handle) const
{
    return handle == 1 || handle == 4 ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
}

void MyGraphicLineItem::rebuildHandles()
{
    const QRectF b = handleFrame(m_rect);
    const double s = handleSize();
    if (m_direction == 2)
        m_handles = {{1, QRectF(b.left(), b.top(), s, s)}, {4, QRectF(b.right() - s, b.bottom() - s, s, s)}};
    else
        m_handles = {{2, QRectF(b.right() - s, b.top(), s, s)}, {3, QRectF(b.left(), b.bottom() - s, s, s)}};
}

void MyGraphicLineItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    painter->setPen(onScreen(m_pen));
    painter->drawLine(start(), end());
    drawDecorations(painter, option);
    const QRectF b = boundingRect();
    const int size = labelPointSize(m_pen.width());
    drawLabel(painter, b.center(), QPointF(8, m_direction == 2 ? -size : size));
}
