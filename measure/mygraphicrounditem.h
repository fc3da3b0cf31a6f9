#pragma once

#include "mygraphicitem.h"

// Measures a disk: centre in item coordinates, radius in scene units.
class MyGraphicRoundItem : public MyGraphicItem
{
    Q_OBJECT
public:
    MyGraphicRoundItem();

    int type() const override { return RoundItemType; }
    ItemKind kind() const override { return KindRound; }
    ItemPtr clone() const override;
    RegionStats measure(const TemperatureGrid &grid, const QPointF &offset) const override;
    void mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset, double radiusScale,
                     bool turns) override;
    void keepInsideImage() override;

    QPointF centre() const { return m_centre; }
    double radius() const { return m_radius; }
    void setCircle(const QPointF &centre, double radius);
    // The largest radius a circle at this scene centre has inside the picture.
    double roomAround(const QPointF &sceneCentre) const;
    QVector<float> sampleList(const QString &path) const;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    QRectF geometryRect() const override { return boundingRect(); }
    Qt::CursorShape cursorForHandle(int handle) const override;
    void resizeThroughHandle(int handle, const QPointF &p) override;

    void rebuildHandles() override;

private:

    QPointF m_centre;
    double m_radius = 0;
};
