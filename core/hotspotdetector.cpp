#include "hotspotdetector.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A pixel without a reading is marked NA_TEMPERATURE; a value that is not a number is no
// reading either (it would break the median's ordering).
bool hasReading(float t)
{
    return t != NA_TEMPERATURE && t == t;
}

// The buffers of one thread, grown to the largest frame it has met and kept.
struct Scratch
{
    std::vector<float> readings;
    std::vector<std::uint8_t> seen;
    std::vector<int> queue;
};

Scratch &scratch()
{
    thread_local Scratch s;
    return s;
}

float lowerMedian(const TemperatureMatrix &matrix, const QRect &area, std::vector<float> &readings)
{
    readings.clear();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const float *row = matrix.row(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            if (hasReading(row[x]))
                readings.push_back(row[x]);
        }
    }
    if (readings.empty())
        return NA_TEMPERATURE;
    const auto middle = readings.begin() + std::ptrdiff_t((readings.size() - 1) / 2);
    std::nth_element(readings.begin(), middle, readings.end());
    return *middle;
}

// The region of hot pixels 8-connected to start, each marked seen; its hottest pixel is the
// first in row-major order among equals, whatever order the search meets them in.
HotSpot collectRegion(const TemperatureMatrix &matrix, int start, float cutoff, Scratch &s)
{
    const int width = matrix.width(), height = matrix.height();
    const float *values = matrix.begin();
    std::vector<int> &queue = s.queue;
    queue.clear();
    queue.push_back(start);
    s.seen[std::size_t(start)] = 1;
    int maxIndex = start;
    int left = width, top = height, right = -1, bottom = -1;
    std::int64_t sumX = 0, sumY = 0;
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const int index = queue[next];
        const int x = index % width, y = index / width;
        const float t = values[index];
        if (t > values[maxIndex] || (t == values[maxIndex] && index < maxIndex))
            maxIndex = index;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        sumX += x;
        sumY += y;
        for (int ny = std::max(0, y - 1); ny <= std::min(height - 1, y + 1); ++ny) {
            for (int nx = std::max(0, x - 1); nx <= std::min(width - 1, x + 1); ++nx) {
                const int neighbour = ny * width + nx;
                const float v = values[neighbour];
                if (!s.seen[std::size_t(neighbour)] && hasReading(v) && v >= cutoff) {
                    s.seen[std::size_t(neighbour)] = 1;
                    queue.push_back(neighbour);
                }
            }
        }
    }
    HotSpot spot;
    spot.maxPos = QPoint(maxIndex % width, maxIndex / width);
    spot.max = values[maxIndex];
    spot.area = int(queue.size());
    spot.bounds = QRect(QPoint(left, top), QPoint(right, bottom));
    spot.centroid = QPointF(double(sumX) / spot.area, double(sumY) / spot.area);
    return spot;
}

} // namespace

int hotSpotClass(float deltaT, const HotSpotSettings &settings)
{
    if (deltaT < settings.classLimits[0])
        return 1;
    return deltaT < settings.classLimits[1] ? 2 : 3;
}

HotSpots findHotSpots(const TemperatureMatrix &matrix, const HotSpotSettings &settings)
{
    HotSpots found;
    if (matrix.empty())
        return found;
    const QRect frame(0, 0, matrix.width(), matrix.height());
    const QRect area = settings.referenceArea ? settings.referenceArea->intersected(frame) : frame;
    Scratch &s = scratch();
    found.reference = area.isEmpty() ? NA_TEMPERATURE : lowerMedian(matrix, area, s.readings);
    if (found.reference == NA_TEMPERATURE)
        return found;

    const float cutoff = found.reference + settings.threshold;
    const std::size_t count = matrix.valueCount();
    s.seen.resize(count);
    std::memset(s.seen.data(), 0, count);
    const float *values = matrix.begin();
    for (std::size_t i = 0; i < count; ++i) {
        // Most pixels are below the cutoff: one comparison each.
        if (!(values[i] >= cutoff) || s.seen[i] || !hasReading(values[i]))
            continue;
        HotSpot spot = collectRegion(matrix, int(i), cutoff, s);
        if (spot.area < settings.minimumArea)
            continue;
        spot.reference = found.reference;
        spot.deltaT = spot.max - found.reference;
        if (settings.irradiance)
            spot.deltaTNormalised = double(spot.deltaT) * 1000.0 / *settings.irradiance;
        spot.severity = hotSpotClass(spot.deltaT, settings);
        found.spots.append(spot);
    }
    std::sort(found.spots.begin(), found.spots.end(), [](const HotSpot &a, const HotSpot &b) {
        if (a.deltaT != b.deltaT)
            return a.deltaT > b.deltaT;
        return a.maxPos.y() != b.maxPos.y() ? a.maxPos.y() < b.maxPos.y() : a.maxPos.x() < b.maxPos.x();
    });
    return found;
}
