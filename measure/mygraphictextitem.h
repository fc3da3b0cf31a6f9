#pragma once

#include "temperaturematrix.h"

#include <QGraphicsItem>
#include <QObject>
#include <QPen>

// The whole-frame overlay: the hottest pixel in red, the coldest in blue, the centre in
// black, with MAX, MIN and AVG texts. Not a measurement item: no name, no handles.
class MyGraphicTextItem : public QObject, public QGraphicsItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)
public:
    explicit MyGraphicTextItem(QGraphicsItem *parent = nullptr);

    void setPen(const QPen &pen) { m_pen = pen; update(); }
    void setImageRect(const QRectF &imageRect);
    // The photograph on show: its whole-frame statistics, its frame size before turning and
    // its quarter turns. The overlay keeps them, so painting reads no table.
    void setPhoto(const TempStats &stats, const QSize &frame, int rotationState);
    // Scene positions of the hottest and coldest pixel of the photograph on show.
    QPointF maximumMarker() const;
    QPointF minimumMarker() const;
    // The three texts as they are drawn.
    QStringList texts() const;

    QRectF boundingRect() const override { return m_imageRect; }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    QPointF marker(const QPointF &framePixel) const;

    QPen m_pen;
    QRectF m_imageRect;
    TempStats m_stats;
    QSize m_frame;
    int m_rotationState = 0;
};
