#pragma once

#include <QPointF>

#include <vector>

// Stands for "no temperature available" wherever a temperature is stored or returned; every
// display shows "NA" for it.
constexpr float NA_TEMPERATURE = 65536.0f;

// A photograph's temperatures in °C: height rows of width values, row 0 first.
using TemperatureRow = std::vector<float>;
using TemperatureMatrix = std::vector<TemperatureRow>;

// Maximum, minimum and average with the positions of maximum and minimum (column, row for
// whole-frame statistics). Ties keep the first pixel met.
struct TempStats
{
    float max = NA_TEMPERATURE;
    float min = NA_TEMPERATURE;
    float avg = NA_TEMPERATURE;
    QPointF maxPos;
    QPointF minPos;
};
