#include "heatmaplegend.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kMargin = 10;
constexpr int kBarWidth = 30;
constexpr int kTickOverhang = 10; // a tick line reaches past the bar towards its text
constexpr int kTextGap = 5;
}

HeatMapLegend::HeatMapLegend(const QColor &hot, const QColor &cold, const QVector<LegendTick> &ticks, QWidget *parent)
    : QWidget(parent)
    , m_hot(hot)
    , m_cold(cold)
    , m_ticks(ticks)
{
    setObjectName("legend");
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

QRect HeatMapLegend::barRect() const
{
    // Half a line above the top tick and below the bottom one, for the texts centred on them.
    const int halfLine = fontMetrics().height() / 2 + 1;
    const int top = kMargin + halfLine;
    return QRect(kMargin, top, kBarWidth, std::max(1, height() - top - kMargin - halfLine));
}

int HeatMapLegend::tickY(int index) const
{
    const QRect bar = barRect();
    return bar.top() + (m_ticks[index].height - kLegendBarTop) * (bar.height() - 1) / kLegendBarLength;
}

int HeatMapLegend::textLeft() const
{
    return kMargin + kBarWidth + kTickOverhang + kTextGap;
}

int HeatMapLegend::textWidth() const
{
    int widest = 0;
    for (const LegendTick &tick : m_ticks)
        widest = std::max(widest, fontMetrics().horizontalAdvance(tick.text));
    return widest;
}

QRect HeatMapLegend::tickTextRect(int index) const
{
    const int line = fontMetrics().height();
    return QRect(textLeft(), tickY(index) - line / 2, textWidth(), line);
}

QSize HeatMapLegend::sizeHint() const
{
    return QSize(minimumSizeHint().width(), std::max(400, minimumSizeHint().height()));
}

QSize HeatMapLegend::minimumSizeHint() const
{
    // Tall enough for every tick's text on a line of its own.
    const int line = fontMetrics().height();
    return QSize(textLeft() + textWidth() + kMargin, 2 * kMargin + (int(m_ticks.size()) + 1) * line);
}

void HeatMapLegend::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect bar = barRect();
    QLinearGradient gradient(bar.topLeft(), bar.bottomLeft());
    gradient.setColorAt(0, m_hot);
    gradient.setColorAt(1, m_cold);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRect(bar);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < m_ticks.size(); ++i) {
        const int y = tickY(i);
        painter.drawLine(bar.left(), y, bar.right() + kTickOverhang, y);
        painter.drawText(tickTextRect(i), Qt::AlignLeft | Qt::AlignVCenter, m_ticks[i].text);
    }
}
