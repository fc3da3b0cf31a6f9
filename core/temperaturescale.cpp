#include "temperaturescale.h"

#include "temperaturerendering.h"

#include <cmath>

TemperatureScale temperatureScale(const PhotoRecord &record)
{
    TemperatureScale scale;
    scale.unit = record.unit;
    if (!canRenderTemperatures(record))
        return scale;
    scale.known = true;
    const bool manual = showsTemperatures(record) && !record.span.automatic;
    scale.low = manual ? record.span.low : record.stats.min;
    scale.high = manual ? record.span.high : record.stats.max;
    if (!(scale.high > scale.low)) {
        const float middle = (scale.low + scale.high) / 2;
        scale.low = middle - 0.5f;
        scale.high = middle + 0.5f;
    }
    return scale;
}

QVector<double> scaleTicks(double low, double high, int maxTicks, int *decimals)
{
    QVector<double> ticks;
    if (decimals)
        *decimals = 0;
    if (maxTicks < 1 || !(high > low) || !std::isfinite(high - low))
        return ticks;
    // A value this close to an end is that end, not a tick beside it.
    const double tolerance = (high - low) * 1e-9;
    // With 10^e <= (high - low) / maxTicks < 10^(e + 1), a step of 10^(e - 1) always gives too
    // many and one of 2 * 10^(e + 1) never does.
    const int e0 = int(std::floor(std::log10((high - low) / maxTicks)));
    for (int e = e0 - 1; e <= e0 + 1; ++e) {
        const double power = std::pow(10.0, std::abs(e));
        for (int mantissa : {1, 2, 5}) {
            // k * m / 10^-e rather than k * (m * 10^e): multiples of 0.1 come out as written.
            auto value = [&](double k) { return e < 0 ? k * mantissa / power : k * mantissa * power; };
            const double step = value(1);
            ticks.clear();
            for (double k = std::floor(low / step); value(k) < high - tolerance && ticks.size() <= maxTicks; ++k) {
                if (value(k) > low + tolerance)
                    ticks.append(value(k));
            }
            if (ticks.size() <= maxTicks) {
                if (decimals)
                    *decimals = std::max(0, -e);
                return ticks;
            }
        }
    }
    ticks.clear();
    return ticks;
}
