#pragma once

#include "heatmapdata.h"

#include <QColor>
#include <QWidget>

// The colour legend beside the 3D heat map: a bar from the hottest colour at the top to the
// coldest at the bottom, its ticks spread over the widget's height and the widget as wide as
// its longest text, so that the legend stays whole at any size the window takes.
class HeatMapLegend : public QWidget
{
    Q_OBJECT
public:
    HeatMapLegend(const QColor &hot, const QColor &cold, const QVector<LegendTick> &ticks, QWidget *parent = nullptr);

    const QVector<LegendTick> &ticks() const { return m_ticks; }
    QRect barRect() const;
    QRect tickTextRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int tickY(int index) const;
    int textLeft() const;
    int textWidth() const;

    QColor m_hot;
    QColor m_cold;
    QVector<LegendTick> m_ticks;
};
