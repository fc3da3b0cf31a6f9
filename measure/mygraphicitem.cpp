#include "mygraphicitem.h"

#include "mygraphicsscene.h"

#include "temperatureformat.h"

#include <QCursor>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>

MyGraphicItem::MyGraphicItem()
    : m_pen(QColor(0, 255, 0), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable | ItemSendsGeometryChanges);
    setAcceptHoverEvents(true);
}

void MyGraphicItem::copyCommonFrom(const MyGraphicItem &other)
{
    m_pen = other.m_pen;
    m_imageRect = other.m_imageRect;
    m_margin = other.m_margin;
    m_handleSize = other.m_handleSize;
    m_viewZoom = other.m_viewZoom;
    m_handles = other.m_handles;
    m_activeHandle = other.noHandle();
    m_dragStartRect = other.m_dragStartRect;
    m_creating = other.m_creating;
    m_stats = other.m_stats;
    setName(other.name());
}

void MyGraphicItem::setPen(const QPen &pen)
{
    m_pen = pen;
    update();
}

ItemPtr MyGraphicItem::copyInPlace() const
{
    const ItemPtr copy = clone();
    copy->setPos(pos());
    return copy;
}

void MyGraphicItem::placeOn(const QRectF &to)
{
    const QRectF from = m_imageRect;
    const QPointF offset = pos();
    m_imageRect = to;
    setPos(0, 0);
    if (!from.isEmpty() && from != to) {
        auto map = [from, to](const QPointF &q) {
            return QPointF(to.left() + (q.x() - from.left()) / from.width() * to.width(),
                           to.top() + (q.y() - from.top()) / from.height() * to.height());
        };
        mapGeometry(map, offset, to.width() / from.width(), false);
    } else if (offset != QPointF(0, 0)) {
        mapGeometry([](const QPointF &q) { return q; }, offset, 1.0, false);
    }
    keepInsideImage();
}

QPointF MyGraphicItem::insideImage(const QPointF &p) const
{
    const QRectF &r = m_imageRect;
    return QPointF(std::clamp(p.x(), r.left(), r.left() + r.width()), std::clamp(p.y(), r.top(), r.top() + r.height()));
}

void MyGraphicItem::computeStatistics(const QPointF &offset, const QString &path)
{
    storeStatistics(measure(TemperatureGrid::of(path), offset).stats, offset);
}

void MyGraphicItem::remeasureOnScene()
{
    if (auto *shown = qobject_cast<MyGraphicsScene *>(scene()))
        computeStatistics(pos(), shown->photoPath());
}

void MyGraphicItem::setCreating(bool creating)
{
    m_creating = creating;
    update();
}

int MyGraphicItem::labelPointSize(int penWidth)
{
    return penWidth == 2 ? 9 : penWidth == 4 ? 11 : 13;
}

void MyGraphicItem::setViewZoom(double zoom)
{
    if (zoom == m_viewZoom)
        return;
    m_viewZoom = zoom;
    rebuildHandles();
    update();
}

QRectF MyGraphicItem::handleFrame(const QRectF &geometry) const
{
    const double margin = m_margin / m_viewZoom;
    return geometry.adjusted(-margin, -margin, margin, margin);
}

QPen MyGraphicItem::onScreen(const QPen &pen)
{
    QPen cosmetic(pen);
    cosmetic.setCosmetic(true);
    return cosmetic;
}

void MyGraphicItem::drawOnScreen(QPainter *painter, const QPointF &anchor, const QPointF &offset, const QString &text)
{
    const double zoom = QStyleOptionGraphicsItem::levelOfDetailFromTransform(painter->worldTransform());
    painter->save();
    painter->translate(anchor);
    painter->scale(1 / zoom, 1 / zoom);
    painter->drawText(offset, text);
    painter->restore();
}

Qt::CursorShape MyGraphicItem::cursorForHandle(int) const
{
    return Qt::SizeAllCursor;
}

void MyGraphicItem::resizeThroughHandle(int, const QPointF &)
{
}

QString MyGraphicItem::labelText() const
{
    return name() + ' ' + shownTemperature(m_stats.max);
}

void MyGraphicItem::drawLabel(QPainter *painter, const QPointF &anchor, const QPointF &offset) const
{
    if (m_creating)
        return;
    QFont font("Microsoft YaHei");
    font.setPointSize(labelPointSize(m_pen.width()));
    painter->setFont(font);
    painter->setPen(onScreen(m_pen));
    drawOnScreen(painter, anchor, offset, labelText());
}

void MyGraphicItem::drawDecorations(QPainter *painter, const QStyleOptionGraphicsItem *option) const
{
    if (isSelected()) {
        drawSelectionFrame(painter, option);
        painter->setPen(onScreen(QPen(QColor(255, 0, 0), 3)));
        painter->setBrush(QBrush(QColor(255, 0, 0)));
        for (const QRectF &handle : m_handles)
            painter->drawEllipse(handle);
    }
    if (m_creating)
        return;
    painter->setPen(onScreen(QPen(Qt::red, 5)));
    painter->drawPoint(m_stats.maxPos);
    painter->setPen(onScreen(QPen(Qt::blue, 5)));
    painter->drawPoint(m_stats.minPos);
}

void MyGraphicItem::storeStatistics(const TempStats &sceneStats, const QPointF &offset)
{
    m_stats = sceneStats;
    m_stats.maxPos -= offset;
    m_stats.minPos -= offset;
    update(); // the label shows the reading
}

void MyGraphicItem::drawSelectionFrame(QPainter *painter, const QStyleOptionGraphicsItem *option) const
{
    if (!(option->state & QStyle::State_Selected))
        return;
    const QPen frame(option->palette.windowText(), 0, Qt::DashLine);
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    const qreal inset = frame.widthF() / 2;
    painter->drawRect(boundingRect().adjusted(inset, inset, -inset, -inset));
}

void MyGraphicItem::hoverMoveEvent(QGraphicsSceneHoverEvent *event)
{
    if (isSelected() && usesHandles()) {
        m_activeHandle = noHandle();
        for (auto it = m_handles.constBegin(); it != m_handles.constEnd(); ++it) {
            if (it.value().contains(event->pos())) {
                m_activeHandle = it.key();
                break;
            }
        }
        setCursor(m_activeHandle == noHandle() ? Qt::SizeAllCursor : cursorForHandle(m_activeHandle));
    }
    QGraphicsItem::hoverMoveEvent(event);
}

void MyGraphicItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    if (usesHandles()) {
        m_activeHandle = noHandle();
        setCursor(Qt::ArrowCursor);
    }
    QGraphicsItem::hoverLeaveEvent(event);
}

void MyGraphicItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_activeHandle != noHandle()) {
        m_dragStartRect = boundingRect();
        event->accept();
        return;
    }
    QGraphicsItem::mousePressEvent(event);
}

void MyGraphicItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->buttons() == Qt::LeftButton) {
        if (m_creating)
            return;
        if (ignoresMovesOutsideImage() && !m_imageRect.contains(event->scenePos()))
            return;
        if (m_activeHandle != noHandle()) {
            resizeThroughHandle(m_activeHandle, event->pos());
            // A handle near the border may carry an edge past it (the minimum size pushes it).
            keepInsideImage();
            remeasureOnScene();
            return;
        }
    }
    QGraphicsItem::mouseMoveEvent(event);
}

void MyGraphicItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_activeHandle != noHandle())
        setSelected(true);
    QGraphicsItem::mouseReleaseEvent(event);
}

QVariant MyGraphicItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && isSelected()) {
        QPointF position = value.toPointF();
        QRectF g = geometryRect();
        const QRectF &r = m_imageRect;
        // A shape as large as the picture has no room for its margin: then the shape itself
        // is what stays inside (a margin box wider than the picture would push it out).
        if (g.width() > r.width() || g.height() > r.height())
            g = g.adjusted(m_margin, m_margin, -m_margin, -m_margin);
        // Where the item's position may go so that its geometry stays inside the picture; an
        // axis without room keeps the position it has.
        const double left = r.left() - g.left(), top = r.top() - g.top();
        const double right = left + r.width() - g.width(), bottom = top + r.height() - g.height();
        position.setX(left <= right ? std::clamp(position.x(), left, right) : pos().x());
        position.setY(top <= bottom ? std::clamp(position.y(), top, bottom) : pos().y());
        return position;
    }
    // Wherever the move ended (clamped or not), the readings are those of the pixels under it.
    if (change == ItemPositionHasChanged && !m_creating)
        remeasureOnScene();
    return QGraphicsItem::itemChange(change, value);
}
