#include "mygraphictextitem.h"

#include "mygraphicitem.h"

#include "regionstatistics.h"

#include <QPainter>

namespace {

QString valueText(const char *caption, float value)
{
    return QString(caption) + (value == NA_TEMPERATURE ? QString("NA") : QString::number(value, 'f', 1) + QString::fromUtf8("℃"));
}

} // namespace

MyGraphicTextItem::MyGraphicTextItem(QGraphicsItem *parent)
{
    setParentItem(parent);
}

void MyGraphicTextItem::setImageRect(const QRectF &imageRect)
{
    prepareGeometryChange();
    m_imageRect = imageRect;
    update();
}

void MyGraphicTextItem::setPhoto(const TempStats &stats, const QSize &frame, int rotationState)
{
    m_stats = stats;
    m_frame = frame;
    m_rotationState = rotationState;
    update();
}

QPointF MyGraphicTextItem::marker(const QPointF &framePixel) const
{
    // Turned as the picture is: the frame of the photograph, then each quarter turn.
    QPoint p = framePixel.toPoint();
    QSize size = m_frame;
    for (int turn = 0; turn < m_rotationState; ++turn) {
        p = quarterTurn(p, size.width());
        size.transpose();
    }
    return pixelToScene(p, m_imageRect, size.width(), size.height());
}

QPointF MyGraphicTextItem::maximumMarker() const
{
    return marker(m_stats.maxPos);
}

QPointF MyGraphicTextItem::minimumMarker() const
{
    return marker(m_stats.minPos);
}

QStringList MyGraphicTextItem::texts() const
{
    return {valueText("MAX:", m_stats.max), valueText("MIN:", m_stats.min), valueText("AVG:", m_stats.avg)};
}

void MyGraphicTextItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QPointF hottest = maximumMarker(), coldest = minimumMarker(), centre = m_imageRect.center();
    painter->setPen(MyGraphicItem::onScreen(QPen(Qt::red, 5)));
    painter->drawPoint(hottest);
    painter->setPen(MyGraphicItem::onScreen(QPen(Qt::blue, 5)));
    painter->drawPoint(coldest);
    painter->setPen(MyGraphicItem::onScreen(QPen(Qt::black, 5)));
    painter->drawPoint(centre);

    painter->setPen(MyGraphicItem::onScreen(m_pen));
    const int size = MyGraphicItem::labelPointSize(m_pen.width());
    QFont font("Microsoft YaHei");
    font.setPointSize(size);
    painter->setFont(font);
    const QStringList t = texts();
    // Offsets in screen pixels from the marker.
    auto offset = [this, size](const QPointF &at, const QString &text) {
        QPointF p(at.x() > m_imageRect.left() + m_imageRect.width() / 2 ? -text.size() * (size + 2) : size, 6);
        if (std::abs(at.y() - m_imageRect.top()) < 10)
            p.setY(p.y() + 10);
        else if (std::abs(at.y() - (m_imageRect.top() + m_imageRect.height())) < 10)
            p.setY(p.y() - 30);
        return p;
    };
    MyGraphicItem::drawOnScreen(painter, hottest, offset(hottest, t[0]), t[0]);
    MyGraphicItem::drawOnScreen(painter, coldest, offset(coldest, t[1]), t[1]);
    MyGraphicItem::drawOnScreen(painter, centre, QPointF(size, 4), t[2]);
}
