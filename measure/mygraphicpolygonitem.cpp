#include "mygraphicpolygonitem.h"

#include "regionstatistics.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

MyGraphicPolygonItem::MyGraphicPolygonItem(const QPointF &bandStart, const QPointF &bandEnd)
    : m_bandStart(bandStart)
    , m_bandEnd(bandEnd)
{
    m_handleSize = 10.0;
    m_activeHandle = NoVertex;
}

ItemPtr MyGraphicPolygonItem::clone() const
{
    auto copy = std::make_shared<MyGraphicPolygonItem>(m_bandStart, m_bandEnd);
    copy->copyCommonFrom(*this);
    copy->m_inProgress = m_inProgress;
    copy->setVertices(m_vertices);
    return copy;
}

void MyGraphicPolygonItem::setInProgress(bool inProgress)
{
    prepareGeometryChange();
    m_inProgress = inProgress;
    update();
}

void MyGraphicPolygonItem::addVertex(const QPointF &vertex)
{
    prepareGeometryChange();
    m_vertices.append(vertex);
    rebuildHandles();
    update();
}

void MyGraphicPolygonItem::moveVertex(int index, const QPointF &vertex)
{
    if (index < 0 || index >= m_vertices.size())
        return;
    prepareGeometryChange();
    m_vertices[index] = vertex;
    rebuildHandles();
    update();
}

void MyGraphicPolygonItem::setVertices(const QVector<QPointF> &vertices)
{
    prepareGeometryChange();
    m_vertices = vertices;
    rebuildHandles();
    update();
}

void MyGraphicPolygonItem::setRubberBand(const QPointF &start, const QPointF &end)
{
    prepareGeometryChange();
    m_bandStart = start;
    m_bandEnd = end;
    update();
}

RegionStats MyGraphicPolygonItem::measure(const TemperatureGrid &grid, const QPointF &offset) const
{
    QVector<QPointF> scene;
    for (const QPointF &v : m_vertices)
        scene.append(v + offset);
    return polygonStatistics(scene, m_imageRect, grid);
}

void MyGraphicPolygonItem::mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset,
                                       double, bool)
{
    QVector<QPointF> mapped;
    for (const QPointF &v : m_vertices)
        mapped.append(map(v + offset));
    setVertices(mapped);
}

void MyGraphicPolygonItem::keepInsideImage()
{
    QVector<QPointF> inside;
    for (const QPointF &v : m_vertices)
        inside.append(insideImage(v + pos()) - pos());
    setVertices(inside);
}

QVector<float> MyGraphicPolygonItem::sampleList(const QString &path) const
{
    // Mapped without clamping, unlike the statistics.
    const TemperatureGrid grid = TemperatureGrid::of(path);
    QVector<QPointF> pixels;
    for (const QPointF &v : m_vertices)
        pixels.append(sceneToPixel(v + pos(), m_imageRect, grid.width(), grid.height()));
    QVector<float> samples;
    for (const QPoint &p : polygonPixels(QPolygonF(pixels).boundingRect(), pixels))
        samples.append(grid.at(p));
    return samples;
}

void MyGraphicPolygonItem::rebuildHandles()
{
    m_handles.clear();
    for (int i = 0; i < m_vertices.size(); ++i)
        m_handles.insert(i, QRectF(m_vertices[i].x() - handleSize() / 2, m_vertices[i].y() - handleSize() / 2,
                                   handleSize(), handleSize()));
}

QRectF MyGraphicPolygonItem::boundingRect() const
{
    QPainterPath path;
    path.addPolygon(QPolygonF(m_vertices));
    QRectF bounds = path.boundingRect();
    // While drawing, the rubber band is part of what is painted.
    if (m_inProgress)
        bounds = bounds.united(QRectF(m_bandStart, m_bandEnd).normalized());
    return bounds.adjusted(-m_margin, -m_margin, m_margin, m_margin);
}

void MyGraphicPolygonItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    // A vertex drag needs no drag start; every press goes on to select and move.
    QGraphicsItem::mousePressEvent(event);
}

void MyGraphicPolygonItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    painter->setPen(onScreen(m_pen));
    painter->setBrush(Qt::NoBrush);
    if (m_inProgress) {
        if (!(qFuzzyCompare(m_bandStart.x(), m_bandEnd.x()) && qFuzzyCompare(m_bandStart.y(), m_bandEnd.y())))
            painter->drawLine(m_bandStart, m_bandEnd);
        painter->drawPolyline(QPolygonF(m_vertices));
    } else {
        painter->drawPolygon(QPolygonF(m_vertices));
    }
    drawDecorations(painter, option);
    const QRectF b = boundingRect();
    drawLabel(painter, b.center(), QPointF(-labelPointSize(m_pen.width()), 4));
}
