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
    void computeStatistics(const QPointF &offset, const QString &path) override;
    void turnGeometry(const std::function<QPointF(const QPointF &)> &turn, const QPointF &offset,
                      bool turnsNarrow) override;

    QPointF point() const { return m_point; }
    void setPoint(const QPointF &point);
    float temperature() const { return m_temperature; }
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
    float m_temperature = NA_TEMPERATURE;
};
