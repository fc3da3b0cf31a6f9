#pragma once

#include "temperaturematrix.h"

#include <QString>
#include <QVector>
#include <QtDataVisualization/QSurfaceDataArray>

// One tick of the heat map's colour legend: its height along a bar drawn from kLegendBarTop
// down kLegendBarLength pixels, and its text.
constexpr int kLegendBarTop = 10;
constexpr int kLegendBarLength = 380;
struct LegendTick
{
    int height;
    QString text;
};

// The legend ticks for a temperature range: more ticks for wider ranges, the top one at the
// maximum, each further one lower by range / ticks, the last one at the minimum.
QVector<LegendTick> legendTicks(float maximum, float minimum);

// Surface rows for the heat map: one row per image column x, one item per image row y at
// (y, t[y][x], x). Null when the matrix holds fewer than width x height values.
QtDataVisualization::QSurfaceDataArray *surfaceDataArray(const TemperatureMatrix &matrix, int width, int height);
