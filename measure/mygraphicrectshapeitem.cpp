#include "mygraphicrectshapeitem.h"

#include <algorithm>

void MyGraphicRectShapeItem::setRect(const QRectF &rect)
{
    prepareGeometryChange();
    m_rect = rect;
    rebuildHandles();
    update();
}

QRectF MyGraphicRectShapeItem::boundingRect() const
{
    return m_rect.adjusted(-m_margin, -m_margin, m_margin, m_margin);
}

void MyGraphicRectShapeItem::resizeThroughHandle(int handle, const QPointF &p)
{
    const QRectF &s = m_dragStartRect;
    const double limit = 2 * (1 + m_margin);
    QRectF r = m_rect;
    switch (handle) {
    case 1:
        if (s.right() - p.x() <= limit || s.bottom() - p.y() <= limit)
            return;
        r.setTopLeft(p);
        break;
    case 2: // follows the pointer, held 16 units from the opposite edges
        r.setRight(s.left() + std::max(limit, p.x() - s.left()));
        r.setTop(s.bottom() - std::max(limit, s.bottom() - p.y()));
        break;
    case 3:
        if (s.right() - p.x() <= limit || p.y() - s.top() <= limit)
            return;
        r.setBottomLeft(p);
        break;
    case 4:
        if (p.x() - s.left() <= limit || p.y() - s.top() <= limit)
            return;
        r.setBottomRight(p);
        break;
    case 5:
        if (s.bottom() - p.y() <= limit || s.width() <= limit)
            return;
        r.setTop(p.y());
        break;
    case 6:
        if (p.y() - s.top() <= limit || s.width() <= limit)
            return;
        r.setBottom(p.y());
        break;
    case 7:
        if (s.right() - p.x() <= limit || s.height() <= limit)
            return;
        r.setLeft(p.x());
        break;
    case 8:
        if (p.x() - s.left() <= limit || s.height() <= limit)
            return;
        r.setRight(p.x());
        break;
    default:
        return;
    }
    setRect(r);
}

