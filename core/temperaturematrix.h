#pragma once

#include <QPointF>

#include <memory>
#include <vector>

// Stands for "no temperature available" wherever a temperature is stored or returned; every
// display shows "NA" for it.
constexpr float NA_TEMPERATURE = 65536.0f;

// A photograph's temperatures in °C: height rows of width values, row 0 first.
using TemperatureRow = std::vector<float>;
using TemperatureMatrix = std::vector<TemperatureRow>;

// A matrix that never changes once built, shared by every reader: a reader keeps its copy of the
// pointer, so a reload replacing a table's entry cannot pull the values from under it.
using SharedMatrix = std::shared_ptr<const TemperatureMatrix>;

inline SharedMatrix sharedMatrix(TemperatureMatrix matrix)
{
    return std::make_shared<const TemperatureMatrix>(std::move(matrix));
}

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
