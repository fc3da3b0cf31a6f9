#pragma once

#include "temperaturematrix.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QVector>

#include <optional>

// What counts as an anomaly and how it is ranked.
struct HotSpotSettings
{
    float threshold = 5.0f;              // K above the reference a pixel must reach
    int minimumArea = 4;                 // pixels a region needs to count
    std::optional<double> irradiance;    // W/m²: when given, ΔT is also normalised to 1,000 W/m²
    float classLimits[2] = {10.0f, 20.0f}; // ΔT below the first: class 1, below the second: 2, else 3
    std::optional<QRect> referenceArea;  // pixels whose median is the reference; the whole frame without
};

// One anomaly: an 8-connected region of pixels at or above reference + threshold.
struct HotSpot
{
    QPoint maxPos;          // column, row of the hottest pixel (the first in row-major order on a tie)
    float max = 0.0f;       // °C
    float reference = 0.0f; // °C
    float deltaT = 0.0f;    // max - reference, K
    std::optional<double> deltaTNormalised; // deltaT × 1000 / irradiance
    int area = 0;           // pixels
    QRect bounds;           // in pixels
    QPointF centroid;       // mean column and row of its pixels
    int severity = 1;       // class 1, 2 or 3 from the lowest
};

struct HotSpots
{
    float reference = NA_TEMPERATURE; // NA_TEMPERATURE when the reference pixels hold no reading
    QVector<HotSpot> spots;           // highest ΔT first; equal ones in row-major order of their hottest pixel
};

// The class of a ΔT under the settings' limits.
int hotSpotClass(float deltaT, const HotSpotSettings &settings);

// The anomalies of a frame. The reference is the lower median of the readings (of the
// reference area when one is set): a temperature some pixel has, so ΔT is the difference of
// two readings. Pixels without a reading are in no region and no median. Linear in the
// number of pixels; the scratch buffers are the calling thread's own and kept for its next
// frame.
HotSpots findHotSpots(const TemperatureMatrix &matrix, const HotSpotSettings &settings);
