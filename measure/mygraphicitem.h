#pragma once

#include "measurement.h"
#include "regionstatistics.h"
#include "temperaturematrix.h"

#include <QGraphicsItem>
#include <QMap>
#include <QObject>
#include <QPen>

#include <functional>
#include <memory>

// QGraphicsItem type values of the measurement items.
enum MeasurementItemType {
    LineItemType = QGraphicsItem::UserType + 1,
    PointItemType = QGraphicsItem::UserType + 2,
    PolygonItemType = QGraphicsItem::UserType + 3,
    RectItemType = QGraphicsItem::UserType + 4,
    RoundItemType = QGraphicsItem::UserType + 5,
};

class MyGraphicItem;
using ItemPtr = std::shared_ptr<MyGraphicItem>;

// What every measurement item shares: name, pen, the picture rectangle its geometry is drawn
// in, handles, the creating flag, its statistics, moves clamped to the picture and the name
// label. The kinds add only their geometry.
//
// Geometry is kept in scene coordinates of the picture rectangle; statistics map it onto the
// pixel grid of the photograph they are computed for, at that photograph's own size and
// rotation, so the same layout reads the pixels under it on a photograph of any size.
class MyGraphicItem : public QObject, public QGraphicsItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)
public:
    static constexpr int NameKey = 1;
    static constexpr int NoHandle = 0;

    QString name() const { return data(NameKey).toString(); }
    void setName(const QString &name) { setData(NameKey, name); }
    QPen pen() const { return m_pen; }
    void setPen(const QPen &pen);
    // The picture rectangle the geometry is drawn in.
    void setMappingContext(const QRectF &imageRect) { m_imageRect = imageRect; }
    QRectF imageRect() const { return m_imageRect; }
    // Moves the geometry to the same place of the picture drawn in another rectangle, kept
    // inside it; the item ends at position (0, 0).
    void placeOn(const QRectF &imageRect);
    bool isCreating() const { return m_creating; }
    void setCreating(bool creating);
    const TempStats &stats() const { return m_stats; }
    // The name with the hottest reading (a point's own), as drawn beside the shape.
    QString labelText() const;

    virtual ItemKind kind() const = 0;
    // A copy with every field, the name included, at position (0, 0).
    virtual ItemPtr clone() const = 0;
    // The same copy at this item's position.
    ItemPtr copyInPlace() const;
    // Statistics of the geometry shifted by offset (the item's position) over the grid;
    // positions are scene points.
    virtual RegionStats measure(const TemperatureGrid &grid, const QPointF &offset) const = 0;
    // Statistics of the geometry shifted by offset for the photograph, kept by the item.
    void computeStatistics(const QPointF &offset, const QString &path);
    // Replaces the geometry by its defining points, taken in scene coordinates (shifted by
    // offset, the position of the item) and passed through map; a radius is multiplied by
    // radiusScale. turns: map is a quarter turn (a line then runs along the other diagonal).
    // The result is in scene coordinates, for an item at position (0, 0).
    virtual void mapGeometry(const std::function<QPointF(const QPointF &)> &map, const QPointF &offset,
                             double radiusScale, bool turns) = 0;
    // Clamps the geometry (shifted by the item's position) into the picture rectangle.
    virtual void keepInsideImage() = 0;

    // The pixel size of the label for a pen width: 2 -> 9 pt, 4 -> 11 pt, others 13 pt.
    static int labelPointSize(int penWidth);

    // The view's zoom: handles keep their size on screen, so that a zoomed-in shape is not
    // all handle.
    void setViewZoom(double zoom);

    // A pen drawn as wide on screen at every zoom.
    static QPen onScreen(const QPen &pen);
    // Draws text at offset screen pixels from a scene point, as large at every zoom.
    static void drawOnScreen(QPainter *painter, const QPointF &anchor, const QPointF &offset, const QString &text);

protected:
    MyGraphicItem();
    void copyCommonFrom(const MyGraphicItem &other);

    // The rectangle that must stay inside the picture when the item is moved.
    virtual QRectF geometryRect() const = 0;
    virtual bool usesHandles() const { return true; }
    virtual Qt::CursorShape cursorForHandle(int handle) const;
    virtual bool ignoresMovesOutsideImage() const { return false; }
    virtual void resizeThroughHandle(int handle, const QPointF &itemPosition);
    virtual int noHandle() const { return NoHandle; }
    virtual void rebuildHandles() {}
    // The handles' side in scene units at the view's zoom.
    double handleSize() const { return m_handleSize / m_viewZoom; }
    // The frame whose corners and sides hold the handles: the shape's geometry with the margin
    // as wide on screen as unzoomed (the bounding rectangle at the whole picture).
    QRectF handleFrame(const QRectF &geometry) const;

    // The label at offset screen pixels from a scene point.
    void drawLabel(QPainter *painter, const QPointF &anchor, const QPointF &offset) const;
    // What every shape draws over itself: selection frame and red handle dots when selected,
    // then the hottest point in red and the coldest in blue once the item is drawn.
    void drawDecorations(QPainter *painter, const QStyleOptionGraphicsItem *option) const;
    // Keeps region statistics with their positions moved from the scene into the item.
    void storeStatistics(const TempStats &sceneStats, const QPointF &offset);
    void drawSelectionFrame(QPainter *painter, const QStyleOptionGraphicsItem *option) const;

    void hoverMoveEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

    QPen m_pen;
    // Statistics for the photograph whose items the scene shows (nothing off a scene).
    void remeasureOnScene();
    // A scene point held inside the picture rectangle.
    QPointF insideImage(const QPointF &scene) const;

    QRectF m_imageRect;
    double m_margin = 7.0;
    double m_handleSize = 8.0; // on screen
    double m_viewZoom = 1.0;
    QMap<int, QRectF> m_handles;
    int m_activeHandle = NoHandle;
    QRectF m_dragStartRect;
    bool m_creating = false;
    TempStats m_stats;
};
