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
    void computeStatistics(const QPointF &offset, const QString &path) override;
    void turnGeometry(const std::function<QPointF(const QPointF &)> &turn, const QPointF &offset,
                      bool turnsNarrow) override;
    // The temperature of every pixel of the rectangle, in pixel-set order.
    QVector<float> sampleList(const QString &path) const;

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    Qt::CursorShape cursorForHandle(int handle) const override;
    void rebuildHandles() override;
};
