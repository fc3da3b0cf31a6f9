#include "rangeslider.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

RangeSlider::RangeSlider(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

RangeSlider::RangeSlider(Qt::Orientation orientation, Options options, QWidget *parent)
    : QWidget(parent)
    , m_orientation(orientation)
    , m_options(options)
{
    setMouseTracking(true);
}

int RangeSlider::length() const
{
    return m_orientation == Qt::Horizontal ? width() : height();
}

int RangeSlider::across() const
{
    return m_orientation == Qt::Horizontal ? height() : width();
}

int RangeSlider::usableLength() const
{
    return length() - (hasFirst() && hasSecond() ? 2 * HandleSide : HandleSide) - 2;
}

int RangeSlider::firstHandlePosition() const
{
    return m_interval ? usableLength() * (m_lower - m_minimum) / m_interval + 1 : 1;
}

int RangeSlider::secondHandlePosition() const
{
    const int p = m_interval ? usableLength() * (m_upper - m_minimum) / m_interval + 1 : 1;
    return p + (hasFirst() ? HandleSide : 0);
}

QRectF RangeSlider::handleRect(int position) const
{
    const int offset = (across() - 1 - 10) / 2;
    return m_orientation == Qt::Horizontal ? QRectF(position, offset, HandleSide, HandleSide)
                                           : QRectF(offset, position, HandleSide, HandleSide);
}

void RangeSlider::setRange(int minimum, int maximum)
{
    // A new range wholly above the old one sets its maximum first; otherwise the minimum
    // would be swapped with the old maximum and stay there.
    if (minimum > m_maximum) {
        setMaximum(maximum);
        setMinimum(minimum);
    } else {
        setMinimum(minimum);
        setMaximum(maximum);
    }
}

void RangeSlider::setLowerValue(int value)
{
    m_lower = std::clamp(value, m_minimum, m_maximum);
    if (m_emitWhileMoving || !m_firstPressed)
        emit lowerValueChanged(m_lower);
    update();
}

void RangeSlider::setUpperValue(int value)
{
    m_upper = std::clamp(value, m_minimum, m_maximum);
    if (m_emitWhileMoving || !m_secondPressed)
        emit upperValueChanged(m_upper);
    update();
}

void RangeSlider::setMinimum(int minimum)
{
    if (minimum > m_maximum) {
        m_minimum = m_maximum;
        m_maximum = minimum;
    } else {
        m_minimum = minimum;
    }
    m_interval = m_maximum - m_minimum;
    update();
    emit rangeChanged(m_minimum, m_maximum);
}

void RangeSlider::setMaximum(int maximum)
{
    if (maximum < m_minimum) {
        m_maximum = m_minimum;
        m_minimum = maximum;
    } else {
        m_maximum = maximum;
    }
    m_interval = m_maximum - m_minimum;
    update();
    emit rangeChanged(m_minimum, m_maximum);
}

void RangeSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int c = across(), l = length();
    const QRectF groove = m_orientation == Qt::Horizontal ? QRectF(1, (c - 5) / 2, l - 2, 5) : QRectF((c - 5) / 2, 1, 5, l - 2);
    painter.setPen(QPen(QBrush(Qt::gray), 0.8, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(QColor(208, 208, 208));
    painter.drawRoundedRect(groove, 1, 1);

    painter.setPen(QPen(Qt::darkGray, 0));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(QColor(250, 250, 250));
    const QRectF first = handleRect(firstHandlePosition()), second = handleRect(secondHandlePosition());
    if (hasFirst())
        painter.drawRoundedRect(first, 2, 2);
    if (hasSecond())
        painter.drawRoundedRect(second, 2, 2);

    painter.setRenderHint(QPainter::Antialiasing, false);
    const bool horizontal = m_orientation == Qt::Horizontal;
    const double start = (hasFirst() ? (horizontal ? first.right() : first.bottom()) : (horizontal ? first.left() : first.top())) + 0.5;
    const double end = (hasSecond() ? (horizontal ? second.left() : second.top()) : (horizontal ? second.right() : second.bottom())) - 0.5;
    const QRectF span = horizontal ? QRectF(start, groove.top(), end - start, groove.height())
                                   : QRectF(groove.left(), start, groove.width(), end - start);
    painter.fillRect(span, m_spanColor);
}

void RangeSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->pos();
    const int a = m_orientation == Qt::Horizontal ? at.x() : at.y();
    const int c = m_orientation == Qt::Horizontal ? at.y() : at.x();
    const int p1 = firstHandlePosition(), p2 = secondHandlePosition();
    bool onHandle = false;
    if (hasSecond() && handleRect(p2).contains(at)) {
        m_secondPressed = true;
        m_firstPressed = false;
        m_grabOffset = a - p2 - 5;
        onHandle = true;
    } else if (hasFirst() && handleRect(p1).contains(at)) {
        m_firstPressed = true;
        m_grabOffset = a - p1 - 5;
        onHandle = true;
    }
    if (c <= 1 || c >= across() - 1)
        return;
    const int step = m_interval < 10 ? 1 : m_interval / 10;
    if (a < p1) {
        setLowerValue(m_lower - step);
    } else if (onHandle) {
        return;
    } else if (a > p2 + HandleSide) {
        setUpperValue(m_upper + step);
    } else if (hasFirst() && hasSecond()) {
        if (a - p1 - HandleSide >= (p2 - p1 - HandleSide) / 2)
            setUpperValue(std::max(m_upper - step, m_lower));
        else
            setLowerValue(std::min(m_lower + step, m_upper));
    } else if (hasFirst()) {
        setLowerValue(std::min(m_lower + step, m_upper));
    } else if (hasSecond()) {
        setUpperValue(std::max(m_upper - step, m_lower));
    }
}

void RangeSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    double a = (m_orientation == Qt::Horizontal ? event->pos().x() : event->pos().y()) - m_grabOffset;
    const int p1 = firstHandlePosition(), p2 = secondHandlePosition();
    const double usable = std::max(1, usableLength());
    if (m_firstPressed && hasFirst()) {
        if (a + 4 >= p2)
            setLowerValue(m_upper);
        else
            setLowerValue(int(m_minimum + (a - 6) / usable * m_interval));
    } else if (m_secondPressed && hasSecond()) {
        const double gap = hasFirst() ? 16.5 : 5.5;
        if (a < p1 + gap) {
            setUpperValue(m_lower);
            return;
        }
        a -= hasFirst() ? 17 : 6;
        setUpperValue(int(m_minimum + a / usable * m_interval));
    }
}

void RangeSlider::mouseReleaseEvent(QMouseEvent *)
{
    if (m_firstPressed) {
        m_firstPressed = m_secondPressed = false;
        setLowerValue(m_lower);
    } else if (m_secondPressed) {
        m_firstPressed = m_secondPressed = false;
        setUpperValue(m_upper);
    }
}

void RangeSlider::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        m_spanColor = isEnabled() ? m_enabledColor : m_disabledColor;
        update();
    }
    QWidget::changeEvent(event);
}
