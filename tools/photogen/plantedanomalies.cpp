#include "plantedanomalies.h"

#include "hotspotdetector.h"

#include <cmath>

namespace {

// Whole tenths of a degree, as the tenths-of-a-kelvin kinds decode them.
long tenthsOf(float celsius)
{
    return std::lround(double(celsius) * 10.0);
}

float fromTenths(long tenths)
{
    return float(tenths) / 10.0f;
}

} // namespace

PlantedAnomaly hotCell(QPoint topLeft, int side, float deltaT)
{
    const QRect area(topLeft, QSize(side, side));
    return {AnomalyKind::HotCell, area, area.center(), deltaT};
}

PlantedAnomaly diodeBand(QRect strip, float deltaT)
{
    return {AnomalyKind::DiodeBand, strip, strip.center(), deltaT};
}

PlantedAnomaly hotConnector(QPoint topLeft, float deltaT)
{
    const QRect area(topLeft, QSize(2, 2));
    return {AnomalyKind::HotConnector, area, area.bottomRight(), deltaT};
}

std::vector<float> inspectionScene(int width, int height, int variant)
{
    std::vector<float> t(std::size_t(width) * std::size_t(height));
    const int horizon = height / 5;
    const int rowHeight = std::max(2, (height - horizon) / 8);
    const int moduleWidth = std::max(2, width / 8);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double v;
            if (y < horizon) {
                v = -6.0 + 6.0 * y / std::max(1, horizon); // sky
            } else {
                const int panelRow = (y - horizon) / rowHeight;
                const bool gap = (y - horizon) % rowHeight == 0 || x % moduleWidth == 0;
                v = gap ? 27.0 : 33.0 + 0.4 * (panelRow % 3) + 0.8 * std::sin(x * 0.07 + variant);
            }
            t[std::size_t(y) * std::size_t(width) + std::size_t(x)] = float(v);
        }
    }
    return t;
}

float plantAnomalies(std::vector<float> &temperatures, int width, int height, const std::vector<PlantedAnomaly> &anomalies)
{
    for (float &t : temperatures) {
        if (t != NA_TEMPERATURE)
            t = fromTenths(tenthsOf(t));
    }
    // The reference once planted: the planted pixels are above it whatever their values, so
    // any value above every reading stands in for them.
    TemperatureMatrix planted(width, height);
    std::copy(temperatures.begin(), temperatures.end(), planted.row(0));
    for (const PlantedAnomaly &a : anomalies) {
        for (int y = a.area.top(); y <= a.area.bottom(); ++y)
            std::fill(planted.row(y) + a.area.left(), planted.row(y) + a.area.right() + 1, 10000.0f);
    }
    const float reference = findHotSpots(planted, HotSpotSettings()).reference;
    const long referenceTenths = tenthsOf(reference);
    for (const PlantedAnomaly &a : anomalies) {
        const long hottest = referenceTenths + tenthsOf(a.deltaT);
        for (int y = a.area.top(); y <= a.area.bottom(); ++y) {
            for (int x = a.area.left(); x <= a.area.right(); ++x)
                temperatures[std::size_t(y) * std::size_t(width) + std::size_t(x)] = fromTenths(hottest - 10);
        }
        temperatures[std::size_t(a.hottest.y()) * std::size_t(width) + std::size_t(a.hottest.x())] = fromTenths(hottest);
    }
    return reference;
}
