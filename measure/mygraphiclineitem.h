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
    void computeStatistics(const QPointF &offset, const QString &path) override;
    void turnGeometry(const std::function<QPointF(const QPointF &)> &turn, const QPointF &offset,
                      bool turnsNarrow) override;

    int direction() const { return m_direction; }
    void setDirection(int direction);
    QPointF start() const;
    QPointF end() const;
    // The temperature at the start point, then at each sample in sampling order.
    QVector<float> sampleList(const QString &path) const;

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    Qt::CursorShape cursorForHandle(int handle) const override;
    void rebuildHandles() override;

private:
    int m_direction = 1;
};
