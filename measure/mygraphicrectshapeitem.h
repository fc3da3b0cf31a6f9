#pragma once

#include "mygraphicitem.h"

// The geometry the line and the rectangle share: a normalised rectangle in item coordinates
// (the item's position is where the drag began), resized through corner and edge handles
// that never bring two opposite edges within 16 units.
class MyGraphicRectShapeItem : public MyGraphicItem
{
    Q_OBJECT
public:
    QRectF rect() const { return m_rect; }
    void setRect(const QRectF &rect);

    QRectF boundingRect() const override;

protected:
    QRectF geometryRect() const override { return m_rect; }
    bool ignoresMovesOutsideImage() const override { return true; }
    void resizeThroughHandle(int handle, const QPointF &p) override;

    QRectF m_rect;
};
