#pragma once

#include "mygraphicitem.h"

// A measuring point: the temperature of one pixel. Moved, never resized.
class MyGraphicPointItem : public MyGraphicItem
{
    Q_OBJECT
public:
    explicit MyGraphicPointItem(QGraphicsItem *parent = nullptr);

    int type() const override { return PointItemType; }
    ItemKind kind() const override { return KindPoint; }
    ItemPtr clone() const override;
    RegionStats measure(const TemperatureGrid &grid, const QPointF &offset) const override;
    void mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset, double radiusScale,
                     bool turns) override;
    void keepInsideImage() override;

    QPointF point() const { return m_point; }
    void setPoint(const QPointF &point);
    float temperature() const { return m_stats.avg; }
    // The temperature at a scene point of the photograph.
    void computeTemperature(const QPointF &scenePoint, const QString &path);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    QRectF geometryRect() const override { return boundingRect(); }
    bool usesHandles() const override { return false; }

private:
    QPointF m_point;
    double m_dotRadius = 0.5;
};
