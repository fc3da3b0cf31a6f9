#pragma once

#include "mygraphicitem.h"

#include <QVector>

// Measures the pixels inside a polygon clicked vertex by vertex (odd-even rule).
class MyGraphicPolygonItem : public MyGraphicItem
{
    Q_OBJECT
public:
    static constexpr int NoVertex = 1024;

    MyGraphicPolygonItem(const QPointF &bandStart = QPointF(), const QPointF &bandEnd = QPointF());

    int type() const override { return PolygonItemType; }
    ItemKind kind() const override { return KindPolygon; }
    ItemPtr clone() const override;
    RegionStats measure(const TemperatureGrid &grid, const QPointF &offset) const override;
    void mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset, double radiusScale,
                     bool turns) override;
    void keepInsideImage() override;

    bool inProgress() const { return m_inProgress; }
    void setInProgress(bool inProgress);
    QVector<QPointF> vertices() const { return m_vertices; }
    void addVertex(const QPointF &vertex);
    void moveVertex(int index, const QPointF &vertex);
    void setVertices(const QVector<QPointF> &vertices);
    void setRubberBand(const QPointF &start, const QPointF &end);
    QVector<float> sampleList(const QString &path) const;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    QRectF geometryRect() const override { return boundingRect(); }
    Qt::CursorShape cursorForHandle(int) const override { return Qt::CrossCursor; }
    int noHandle() const override { return NoVertex; }
    void resizeThroughHandle(int vertex, const QPointF &p) override { moveVertex(vertex, p); }
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;

    void rebuildHandles() override;

private:

    bool m_inProgress = false;
    QVector<QPointF> m_vertices;
    QPointF m_bandStart;
    QPointF m_bandEnd;
};
