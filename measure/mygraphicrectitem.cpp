#include "mygraphicrectitem.h"

#include "regionstatistics.h"

#include <QPainter>

MyGraphicRectItem::MyGraphicRectItem() = default;

ItemPtr MyGraphicRectItem::clone() const
{
    auto copy = std::make_shared<MyGraphicRectItem>();
    copy->copyCommonFrom(*this);
    copy->setRect(m_rect);
    return copy;
}

RegionStats MyGraphicRectItem::measure(const TemperatureGrid &grid, const QPointF &offset) const
{
    return rectangleStatistics(m_rect.translated(offset), m_imageRect, grid.width(), grid.height(), grid);
}

void MyGraphicRectItem::mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset, double,
                                    bool)
{
    setRect(QRectF(map(m_rect.topLeft() + offset), map(m_rect.bottomRight() + offset)).normalized());
}

void MyGraphicRectItem::keepInsideImage()
{
    const QPointF a = insideImage(m_rect.topLeft() + pos()), b = insideImage(m_rect.bottomRight() + pos());
    setRect(QRectF(a - pos(), b - pos()));
}

QVector<float> MyGraphicRectItem::sampleList(const QString &path) const
{
    const QRectF scene = m_rect.translated(pos());
    const TemperatureGrid grid = TemperatureGrid::of(path);
    const QPoint a = sceneToPixel(scene.topLeft(), m_imageRect, grid.width(), grid.height());
    const QPoint b = sceneToPixel(scene.bottomRight(), m_imageRect, grid.width(), grid.height());
    QVector<float> samples;
    for (const QPoint &p : rectanglePixels(QRectF(a.x(), a.y(), b.x() - a.x(), b.y() - a.y())))
        samples.append(grid.at(p));
    return samples;
}

Qt::CursorShape MyGraphicRectItem::cursorForHandle(int handle) const
{
    switch (handle) {
    case 1:
    case 4:
        return Qt::SizeFDiagCursor;
    case 2:
    case 3:
        return Qt::SizeBDiagCursor;
    case 5:
    case 6:
        return Qt::SizeVerCursor;
    default:
        return Qt::SizeHorCursor;
    }
}

void MyGraphicRectItem::rebuildHandles()
{
    const QRectF b = handleFrame(m_rect);
    const double s = handleSize();
    m_handles = {{1, QRectF(b.left(), b.top(), s, s)},
                 {2, QRectF(b.right() - s, b.top(), s, s)},
                 {3, QRectF(b.left(), b.bottom() - s, s, s)},
                 {4, QRectF(b.right() - s, b.bottom() - s, s, s)},
                 {5, QRectF(b.center().x() - s / 2, b.top(), s, s)},
                 {6, QRectF(b.center().x() - s / 2, b.bottom() - s, s, s)},
                 {7, QRectF(b.left(), b.center().y() - s / 2, s, s)},
                 {8, QRectF(b.right() - s, b.center().y() - s / 2, s, s)}};
}

void MyGraphicRectItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    painter->setPen(onScreen(m_pen));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(m_rect);
    drawDecorations(painter, option);
    const QRectF b = boundingRect();
    drawLabel(painter, b.center(), QPointF(-labelPointSize(m_pen.width()), 4));
}
