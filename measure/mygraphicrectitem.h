#pragma once

#include "mygraphicrectshapeitem.h"

// Measures an axis-aligned rectangle of the picture.
class MyGraphicRectItem : public MyGraphicRectShapeItem
{
    Q_OBJECT
public:
    MyGraphicRectItem();

    int type() const override { return RectItemType; }
    ItemKind kind() const override { return KindRect; }
    ItemPtr clone() const override;
    RegionStats measure(const TemperatureGrid &grid, const QPointF &offset) const override;
    void mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset, double radiusScale,
                     bool turns) override;
    void keepInsideImage() override;
    // The temperature of every pixel of the rectangle, in pixel-set order.
    QVector<float> sampleList(const QString &path) const;

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    Qt::CursorShape cursorForHandle(int handle) const override;
    void rebuildHandles() override;
};
