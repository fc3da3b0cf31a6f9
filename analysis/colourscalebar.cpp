#include "colourscalebar.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QColor kBackground(0x33, 0x33, 0x33); // the page's
const QColor kText(255, 255, 255, 217);     // white at 85 %
constexpr double kLowest = -273.15;         // °C: no end goes below absolute zero

QString fixed(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith('-') && text.toDouble() == 0.0)
        text.remove(0, 1); // "-0.0" reads as a temperature below zero
    return text;
}

// Where the bar lies in an area: room for half a text above and below, so the end texts,
// centred on the bar's ends, stay inside; handles to its left.
QRect barIn(const QRect &area, const QFontMetrics &metrics)
{
    const int margin = metrics.height() / 2 + 2;
    const int left = metrics.height() / 2 + 6;
    return QRect(area.left() + left, area.top() + margin, std::max(10, metrics.height()),
                 std::max(1, area.height() - 2 * margin));
}

constexpr int kTick = 4; // tick length, and the gap before a text

} // namespace

QVector<ScaleLabel> scaleLabels(const TemperatureScale &scale, int maxTicks)
{
    if (!scale.known)
        return {{0.0, QStringLiteral("NA"), true}, {0.0, QStringLiteral("NA"), true}};
    const QString unit = unitSymbol(scale.unit);
    const double low = fromCelsius(scale.low, scale.unit), high = fromCelsius(scale.high, scale.unit);
    int decimals = 0;
    const QVector<double> ticks = scaleTicks(low, high, maxTicks, &decimals);
    QVector<ScaleLabel> labels{{high, fixed(high, 1) + unit, true}};
    for (auto tick = ticks.rbegin(); tick != ticks.rend(); ++tick)
        labels.append({*tick, fixed(*tick, decimals) + unit, false});
    labels.append({low, fixed(low, 1) + unit, true});
    return labels;
}

int colourScaleWidth(const QFont &font)
{
    const QFontMetrics metrics(font);
    const QRect bar = barIn(QRect(0, 0, 1, 100), metrics);
    QFont bold = font;
    bold.setBold(true);
    return bar.right() + 1 + 2 * kTick + QFontMetrics(bold).horizontalAdvance(QString::fromUtf8("-888.8℃")) + 4;
}

void paintColourScale(QPainter &painter, const QRect &area, const Palette &palette, const TemperatureScale &scale,
                      const QFont &font, bool handles)
{
    painter.save();
    painter.fillRect(area, kBackground);
    const QFontMetrics metrics(font, painter.device()); // the device's resolution, not the screen's
    const QRect bar = barIn(area, metrics);
    if (palette.isEmpty() || !scale.known) {
        painter.fillRect(bar, QColor(0x55, 0x55, 0x55)); // no colour stands for a temperature
    } else {
        // One row per pixel of the bar, the last entry on its top row and the first on its
        // bottom row whatever its height (a scaled strip of entries could skip either end).
        const int last = palette.size() - 1, rows = bar.height();
        QImage strip(1, rows, QImage::Format_RGB32);
        for (int r = 0; r < rows; ++r)
            strip.setPixel(0, r, palette[rows > 1 ? last - r * last / (rows - 1) : last]);
        painter.drawImage(bar, strip);
    }

    const QVector<ScaleLabel> labels = scaleLabels(scale, std::min(6, bar.height() / (3 * metrics.height())));
    const double high = labels.first().value, low = labels.last().value;
    const double top = bar.top(), bottom = bar.bottom() + 1;
    auto yOf = [&](const ScaleLabel &label, int index) {
        if (!scale.known || !(high > low))
            return index == 0 ? top : bottom;
        return bottom - (label.value - low) / (high - low) * (bottom - top);
    };
    const int textLeft = bar.right() + 1 + 2 * kTick;
    for (int i = 0; i < labels.size(); ++i) {
        const ScaleLabel &label = labels[i];
        const double y = yOf(label, i);
        // A tick too near an end would write over the end's text.
        if (!label.end && (y - top < metrics.height() || bottom - y < metrics.height()))
            continue;
        QFont labelFont = font;
        labelFont.setBold(label.end);
        painter.setFont(labelFont);
        painter.setPen(kText);
        painter.drawLine(QPointF(bar.right() + 1, y), QPointF(bar.right() + 1 + kTick, y));
        const QRectF box(textLeft, y - metrics.height() / 2.0, area.right() - textLeft, metrics.height());
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, label.text);
    }

    if (handles) {
        // Small arrows at the ends: they can be dragged.
        const double size = metrics.height() / 2.0;
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kText);
        for (double y : {top, bottom}) {
            const double tip = bar.left() - 2;
            painter.drawPolygon(QPolygonF(QVector<QPointF>{{tip, y}, {tip - size, y - size / 2}, {tip - size, y + size / 2}}));
        }
    }
    painter.restore();
}

ColourScaleBar::ColourScaleBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName("colourScale");
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    setMouseTracking(true);
}

void ColourScaleBar::setScale(const Palette &palette, const TemperatureScale &scale, bool draggable)
{
    m_palette = palette;
    m_scale = scale;
    m_draggable = draggable && scale.known;
    if (!m_draggable)
        m_dragged = End::None;
    update();
}

QRect ColourScaleBar::barRect() const
{
    return barIn(rect(), QFontMetrics(font()));
}

QSize ColourScaleBar::sizeHint() const
{
    return QSize(colourScaleWidth(font()), 200);
}

QSize ColourScaleBar::minimumSizeHint() const
{
    return QSize(colourScaleWidth(font()), 100);
}

void ColourScaleBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintColourScale(painter, rect(), m_palette, m_scale, font(), m_draggable);
}

ColourScaleBar::End ColourScaleBar::endAt(const QPoint &point) const
{
    if (!m_draggable)
        return End::None;
    const QRect bar = barRect();
    const int reach = QFontMetrics(font()).height();
    const int toTop = std::abs(point.y() - bar.top()), toBottom = std::abs(point.y() - (bar.bottom() + 1));
    if (std::min(toTop, toBottom) > reach)
        return End::None;
    return toTop <= toBottom ? End::High : End::Low;
}

void ColourScaleBar::mousePressEvent(QMouseEvent *event)
{
    m_dragged = event->button() == Qt::LeftButton ? endAt(event->pos()) : End::None;
    m_pressed = m_scale;
    m_pressedBar = barRect();
    m_moved = false;
    event->accept();
}

void ColourScaleBar::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragged == End::None) {
        setCursor(endAt(event->pos()) == End::None ? Qt::ArrowCursor : Qt::SizeVerCursor);
        return;
    }
    // The bar as it stood at the press: the end follows the pointer, not its own last move.
    const double top = m_pressedBar.top(), bottom = m_pressedBar.bottom() + 1;
    const double at = m_pressed.low + (bottom - event->pos().y()) / (bottom - top) * (m_pressed.high - m_pressed.low);
    const TemperatureUnit unit = m_pressed.unit;
    const double shown = std::round(fromCelsius(at, unit) * 10.0) / 10.0;
    double low = m_pressed.low, high = m_pressed.high;
    // The ends stay a tenth of the unit apart.
    if (m_dragged == End::High)
        high = std::max(toCelsius(shown, unit), toCelsius(fromCelsius(low, unit) + 0.1, unit));
    else
        low = std::max(kLowest, std::min(toCelsius(shown, unit), toCelsius(fromCelsius(high, unit) - 0.1, unit)));
    if (float(low) != m_scale.low || float(high) != m_scale.high) {
        m_moved = true;
        emit sig_spanDragged(float(low), float(high));
    }
}

void ColourScaleBar::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragged = End::None;
    if (std::exchange(m_moved, false))
        emit sig_dragFinished();
    event->accept();
}

void ColourScaleBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateGeometry(); // the width follows the text size
    QWidget::changeEvent(event);
}
