#pragma once

#include "mygraphicrectshapeitem.h"

// Measures along a segment, stored as a rectangle and a direction: 2 runs from the top-left
// to the bottom-right corner, any other value from the top-right to the bottom-left corner.
class MyGraphicLineItem : public MyGraphicRectShapeItem
{
    Q_OBJECT
public:
    MyGraphicLineItem();

    int type() const override { return LineItemType; }
    ItemKind kind() const override { return KindLine; }
    ItemPtr clone() const override;
    RegionStats measure(const TemperatureGrid &grid, const QPointF &offset) const override;
    void mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset, double radiusScale,
                     bool turns) override;
    void keepInsideImage() override;

    int direction() const { return m_direction; }
    void setDirection(int direction);
    QPointF start() const;
    QPointF end() const;
    // The segment from a to b in item coordinates; turned: b and a came through a quarter turn
    // of the previous ends, otherwise the direction follows the ends.
    void setLine(const QPointF &a, const QPointF &b, bool turned);
    // The temperature at the start point, then at each sample in sampling order.
    QVector<float> sampleList(const QString &path) const;

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    Qt::CursorShape cursorForHandle(int handle) const override;
    void rebuildHandles() override;

private:
    int m_direction = 1;
};
