#pragma once

#include "photorecord.h"

#include <QVector>

// The temperatures a photograph's colours stand for, as its colour scale shows them.
struct TemperatureScale
{
    bool known = false;          // without temperatures the ends read "NA"
    float low = NA_TEMPERATURE;  // °C at the palette's first entry
    float high = NA_TEMPERATURE; // °C at its last entry
    TemperatureUnit unit = TemperatureUnit::Celsius;
};

// A picture drawn from the temperatures over a manual span: that span. Otherwise (an automatic
// span, or the embedded picture, which the camera stretches over the frame) the photograph's
// minimum to maximum. A span without width is widened by half a degree each way.
TemperatureScale temperatureScale(const PhotoRecord &record);

// The values worth labelling between low and high (both in one unit): the multiples of a step
// of 1, 2 or 5 times a power of ten, the finest step that puts at most maxTicks of them strictly
// between the ends; rising. decimals (when given) receives the decimals that step needs.
QVector<double> scaleTicks(double low, double high, int maxTicks, int *decimals = nullptr);
