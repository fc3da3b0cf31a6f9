#include "hotspotdetector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {

// A pixel without a reading is marked NA_TEMPERATURE; a value that is not a number is no
// reading either (it would break the median's ordering).
bool hasReading(float t)
{
    return t != NA_TEMPERATURE && t == t;
}

// A run of pixels at or above a cutoff in one row, x0 to x1 inclusive, with its hottest
// pixel (the first of equals).
struct Run
{
    int y, x0, x1;
    float max;
    int maxX;
};

struct Region
{
    int area = 0;
    std::int64_t sumX = 0, sumY = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    float max = 0.0f;
    QPoint maxPos;
};

// The buffers of one thread, grown to the largest frame it has met and kept.
struct Scratch
{
    std::vector<float> sample;
    std::vector<float> middle;
    std::vector<Run> runs;
    std::vector<Run> kept;
    std::vector<int> parent;
    std::vector<Region> regions;
};

Scratch &scratch()
{
    thread_local Scratch s;
    return s;
}

// The steps below count the readings of values[0 ..) and those below low, and copy those from
// low to high to out, which they move past them; out has room for n + 4 values. Of a group
// with any inside the bracket, every value is written and out moves past those inside,
// without a branch per value (they fall either side of the bracket unpredictably). A set
// mask lane is -1: subtracting it counts the lane. They set found when any value is at or
// above hot (a reading or not) and return how many values they took.
#ifdef __SSE2__
int narrowBracketSteps(const float *values, int n, float low, float high, float hot, std::size_t &count,
                       std::size_t &below, float *&out, bool &found)
{
    const __m128 noReading = _mm_set1_ps(NA_TEMPERATURE), lowest = _mm_set1_ps(low), highest = _mm_set1_ps(high);
    const __m128 hottest = _mm_set1_ps(hot);
    __m128i readings = _mm_setzero_si128(), under = _mm_setzero_si128();
    __m128 anyHot = _mm_setzero_ps();
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128 v = _mm_loadu_ps(values + i);
        anyHot = _mm_or_ps(anyHot, _mm_cmpge_ps(v, hottest));
        const __m128 reading = _mm_and_ps(_mm_cmpneq_ps(v, noReading), _mm_cmpord_ps(v, v));
        const __m128 beneath = _mm_and_ps(reading, _mm_cmplt_ps(v, lowest));
        readings = _mm_sub_epi32(readings, _mm_castps_si128(reading));
        under = _mm_sub_epi32(under, _mm_castps_si128(beneath));
        const int inside = _mm_movemask_ps(_mm_andnot_ps(beneath, _mm_and_ps(reading, _mm_cmple_ps(v, highest))));
        if (inside == 0)
            continue;
        for (int lane = 0; lane < 4; ++lane) {
            *out = values[i + lane];
            out += (inside >> lane) & 1;
        }
    }
    alignas(16) std::int32_t lanes[2][4];
    _mm_store_si128(reinterpret_cast<__m128i *>(lanes[0]), readings);
    _mm_store_si128(reinterpret_cast<__m128i *>(lanes[1]), under);
    for (int lane = 0; lane < 4; ++lane) {
        count += std::size_t(lanes[0][lane]);
        below += std::size_t(lanes[1][lane]);
    }
    found = _mm_movemask_ps(anyHot) != 0;
    return i;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
#define QCT_WIDE_BRACKET 1
// The same eight values a step.
__attribute__((target("avx2"))) int wideBracketSteps(const float *values, int n, float low, float high, float hot,
                                                     std::size_t &count, std::size_t &below, float *&out, bool &found)
{
    const __m256 noReading = _mm256_set1_ps(NA_TEMPERATURE), lowest = _mm256_set1_ps(low);
    const __m256 highest = _mm256_set1_ps(high), hottest = _mm256_set1_ps(hot);
    __m256i readings = _mm256_setzero_si256(), under = _mm256_setzero_si256();
    __m256 anyHot = _mm256_setzero_ps();
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256 v = _mm256_loadu_ps(values + i);
        anyHot = _mm256_or_ps(anyHot, _mm256_cmp_ps(v, hottest, _CMP_GE_OQ));
        const __m256 reading = _mm256_and_ps(_mm256_cmp_ps(v, noReading, _CMP_NEQ_OQ), _mm256_cmp_ps(v, v, _CMP_ORD_Q));
        const __m256 beneath = _mm256_and_ps(reading, _mm256_cmp_ps(v, lowest, _CMP_LT_OQ));
        readings = _mm256_sub_epi32(readings, _mm256_castps_si256(reading));
        under = _mm256_sub_epi32(under, _mm256_castps_si256(beneath));
        const int inside =
            _mm256_movemask_ps(_mm256_andnot_ps(beneath, _mm256_and_ps(reading, _mm256_cmp_ps(v, highest, _CMP_LE_OQ))));
        if (inside == 0)
            continue;
        for (int lane = 0; lane < 8; ++lane) {
            *out = values[i + lane];
            out += (inside >> lane) & 1;
        }
    }
    alignas(32) std::int32_t lanes[2][8];
    _mm256_store_si256(reinterpret_cast<__m256i *>(lanes[0]), readings);
    _mm256_store_si256(reinterpret_cast<__m256i *>(lanes[1]), under);
    for (int lane = 0; lane < 8; ++lane) {
        count += std::size_t(lanes[0][lane]);
        below += std::size_t(lanes[1][lane]);
    }
    found = _mm256_movemask_ps(anyHot) != 0;
    return i;
}

bool wideBracket()
{
    static const bool wide = __builtin_cpu_supports("avx2") != 0;
    return wide;
}
#endif

// Counts the readings of values[0 .. n - 1] and those below low, and copies those from low
// to high to out, which it moves past them; out has room for n + 4 values. True when any
// value is at or above hot (a reading or not), so that a row without one need not be searched
// for runs.
bool bracketRun(const float *values, int n, float low, float high, float hot, std::size_t &count, std::size_t &below,
                float *&out)
{
    int i = 0;
    bool found = false;
#ifdef QCT_WIDE_BRACKET
    if (wideBracket())
        i = wideBracketSteps(values, n, low, high, hot, count, below, out, found);
    else
#endif
#ifdef __SSE2__
        i = narrowBracketSteps(values, n, low, high, hot, count, below, out, found);
#endif
    for (; i < n; ++i) {
        const float t = values[i];
        found = found || t >= hot;
        if (!hasReading(t))
            continue;
        ++count;
        if (t < low)
            ++below;
        else if (t <= high)
            *out++ = t;
    }
    return found;
}

// The value of rank k (from 0) among values[0 .. n - 1], all within [low, high]. A histogram
// of the bracket narrows it to one bin, and only the values of that bin are ordered: on a
// frame that is a few times quicker than selecting among all of them.
float selectInBracket(float *values, std::size_t n, std::size_t k, float low, float high)
{
    constexpr int bins = 1024;
    if (!(high > low))
        return low;
    const float scale = float(bins) / (high - low);
    const auto binOf = [low, scale](float v) { return std::min(bins - 1, int((v - low) * scale)); };
    std::size_t counts[bins] = {};
    for (std::size_t i = 0; i < n; ++i)
        ++counts[binOf(values[i])];
    int bin = 0;
    std::size_t before = 0;
    while (before + counts[bin] <= k)
        before += counts[bin++];
    // Readings on a coarse grid (a tenth of a kelvin) leave one value in the bin.
    std::size_t kept = 0;
    float least = high, most = low;
    for (std::size_t i = 0; i < n; ++i) {
        if (binOf(values[i]) == bin) {
            least = std::min(least, values[i]);
            most = std::max(most, values[i]);
            values[kept++] = values[i];
        }
    }
    if (least == most)
        return least;
    std::nth_element(values, values + (k - before), values + kept);
    return values[k - before];
}

// Brackets the lower median of the area's readings from a sample of every 6th pixel of every
// 16th row (8th on small frames): low and high hold it unless the sample is unlike the frame.
// False when the area is too small to sample. A larger sample narrows the bracket less than
// its own selection costs.
bool sampleBracket(const TemperatureMatrix &matrix, const QRect &area, Scratch &s, float &low, float &high)
{
    const int rowStep = area.height() >= 128 ? 16 : area.height() >= 64 ? 8 : 1;
    const int columnStep = area.width() >= 64 ? 6 : 1;
    s.sample.clear();
    for (int y = area.top() + rowStep / 2; y <= area.bottom(); y += rowStep) {
        const float *row = matrix.row(y);
        for (int x = area.left() + (y / rowStep) % columnStep; x <= area.right(); x += columnStep) {
            if (hasReading(row[x]))
                s.sample.push_back(row[x]);
        }
    }
    const std::size_t n = s.sample.size();
    if (n < 64)
        return false;
    // Four standard deviations of the rank of the frame's median in a random sample (√n / 2
    // each): the pass then gathers about 4 / √n of the readings (7 % of a 640 x 512 frame).
    const std::size_t reach = std::max<std::size_t>(8, std::size_t(2 * std::sqrt(double(n))));
    const std::size_t centre = (n - 1) / 2, bottom = centre - std::min(centre, reach), top = std::min(n - 1, centre + reach);
    std::nth_element(s.sample.begin(), s.sample.begin() + std::ptrdiff_t(top), s.sample.end());
    high = s.sample[top];
    std::nth_element(s.sample.begin(), s.sample.begin() + std::ptrdiff_t(bottom), s.sample.begin() + std::ptrdiff_t(top));
    low = s.sample[bottom];
    return true;
}

// The lower median of all the area's readings, NA_TEMPERATURE when it has none.
float selectedMedian(const TemperatureMatrix &matrix, const QRect &area, Scratch &s)
{
    s.middle.clear();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const float *row = matrix.row(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            if (hasReading(row[x]))
                s.middle.push_back(row[x]);
        }
    }
    if (s.middle.empty())
        return NA_TEMPERATURE;
    const auto median = s.middle.begin() + std::ptrdiff_t((s.middle.size() - 1) / 2);
    std::nth_element(s.middle.begin(), median, s.middle.end());
    return *median;
}

// The first x from `from` on whose value is at or above cutoff (a reading or not), or width.
int nextAtOrAbove(const float *row, int from, int width, float cutoff)
{
    int x = from;
#ifdef __SSE2__
    // Most of a frame is below the cutoff: eight pixels a branch.
    const __m128 limit = _mm_set1_ps(cutoff);
    for (; x + 8 <= width; x += 8) {
        const __m128 a = _mm_cmpge_ps(_mm_loadu_ps(row + x), limit), b = _mm_cmpge_ps(_mm_loadu_ps(row + x + 4), limit);
        if (_mm_movemask_ps(_mm_or_ps(a, b)) != 0)
            break;
    }
#endif
    while (x < width && !(row[x] >= cutoff))
        ++x;
    return x;
}

// The first x from `from` on that is not a reading at or above cutoff, or width.
int endOfRun(const float *row, int from, int width, float cutoff)
{
    int x = from;
#ifdef __SSE2__
    // Not a number fails the comparison; no reading is compared apart.
    const __m128 limit = _mm_set1_ps(cutoff), noReading = _mm_set1_ps(NA_TEMPERATURE);
    for (; x + 4 <= width; x += 4) {
        const __m128 v = _mm_loadu_ps(row + x);
        if (_mm_movemask_ps(_mm_and_ps(_mm_cmpge_ps(v, limit), _mm_cmpneq_ps(v, noReading))) != 0xF)
            break;
    }
#endif
    while (x < width && row[x] >= cutoff && hasReading(row[x]))
        ++x;
    return x;
}

// The first x of the greatest value of row[x0 .. x1 - 1], all of them numbers.
int firstMaximum(const float *row, int x0, int x1)
{
    float max = row[x0];
    int x = x0 + 1;
#ifdef __SSE2__
    if (x1 - x0 >= 8) {
        __m128 most = _mm_loadu_ps(row + x0);
        for (x = x0 + 4; x + 4 <= x1; x += 4)
            most = _mm_max_ps(most, _mm_loadu_ps(row + x));
        most = _mm_max_ps(most, _mm_shuffle_ps(most, most, _MM_SHUFFLE(2, 3, 0, 1)));
        most = _mm_max_ps(most, _mm_shuffle_ps(most, most, _MM_SHUFFLE(1, 0, 3, 2)));
        max = _mm_cvtss_f32(most);
        for (; x < x1; ++x)
            max = std::max(max, row[x]);
        x = x0;
        while (row[x] != max)
            ++x;
        return x;
    }
#endif
    int at = x0;
    for (; x < x1; ++x) {
        if (row[x] > max) {
            max = row[x];
            at = x;
        }
    }
    return at;
}

// Appends the runs of readings at or above cutoff in row y between from and to (exclusive).
void appendRuns(const float *row, int y, int from, int to, float cutoff, std::vector<Run> &runs)
{
    for (int x = nextAtOrAbove(row, from, to, cutoff); x < to; x = nextAtOrAbove(row, x, to, cutoff)) {
        if (!hasReading(row[x])) {
            ++x;
            continue;
        }
        const int end = endOfRun(row, x + 1, to, cutoff), hottest = firstMaximum(row, x, end);
        runs.push_back(Run{y, x, end - 1, row[hottest], hottest});
        x = end;
    }
}

int root(std::vector<int> &parent, int label)
{
    while (parent[std::size_t(label)] != label) {
        parent[std::size_t(label)] = parent[std::size_t(parent[std::size_t(label)])];
        label = parent[std::size_t(label)];
    }
    return label;
}

void join(std::vector<int> &parent, int a, int b)
{
    a = root(parent, a);
    b = root(parent, b);
    if (a != b)
        parent[std::size_t(std::max(a, b))] = std::min(a, b);
}

// Joins each run (in row-major order) with the runs of the row above that touch it, diagonals
// too: runs of one region end up with one root.
void joinRuns(const std::vector<Run> &runs, std::vector<int> &parent)
{
    parent.resize(runs.size());
    std::size_t rowStart = 0, above = 0, aboveEnd = 0, touching = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Run &run = runs[i];
        if (i == 0 || run.y != runs[i - 1].y) {
            const bool adjacent = i > 0 && run.y == runs[i - 1].y + 1;
            above = adjacent ? rowStart : i;
            aboveEnd = i;
            rowStart = i;
            touching = above;
        }
        parent[i] = int(i);
        while (touching < aboveEnd && runs[touching].x1 < run.x0 - 1)
            ++touching;
        for (std::size_t t = touching; t < aboveEnd && runs[t].x0 <= run.x1 + 1; ++t)
            join(parent, int(i), int(t));
    }
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
    if (area.isEmpty())
        return found;
    Scratch &s = scratch();
    s.runs.clear();
    // The frame is read once: each row is counted for the median and its runs at or above the
    // lowest cutoff the bracket allows are kept; once the median is known, only these runs are
    // read again. A bracket that missed the median costs a second reading of the frame.
    bool runsFound = false;
    float low = 0.0f, high = 0.0f;
    if (sampleBracket(matrix, area, s, low, high)) {
        std::size_t count = 0, below = 0;
        s.middle.resize(std::size_t(area.width()) * std::size_t(area.height()) + 4);
        float *gathered = s.middle.data();
        const float hotLow = low + settings.threshold;
        for (int y = 0; y < matrix.height(); ++y) {
            const float *row = matrix.row(y);
            const bool counted = y >= area.top() && y <= area.bottom();
            const bool hot = counted ? bracketRun(row + area.left(), area.width(), low, high, hotLow, count, below, gathered) : true;
            if (hot || area.width() < matrix.width())
                appendRuns(row, y, 0, matrix.width(), hotLow, s.runs);
        }
        const std::size_t rank = (count - 1) / 2, inside = std::size_t(gathered - s.middle.data());
        if (rank >= below && rank - below < inside) {
            found.reference = selectInBracket(s.middle.data(), inside, rank - below, low, high);
            runsFound = true;
        }
    }
    if (!runsFound) {
        found.reference = selectedMedian(matrix, area, s);
        if (found.reference == NA_TEMPERATURE)
            return found;
    }
    const float cutoff = found.reference + settings.threshold;
    s.kept.clear();
    if (runsFound) {
        // The reference is at least low: the runs hold every pixel at or above the cutoff.
        for (const Run &run : s.runs)
            appendRuns(matrix.row(run.y), run.y, run.x0, run.x1 + 1, cutoff, s.kept);
    } else {
        for (int y = 0; y < matrix.height(); ++y)
            appendRuns(matrix.row(y), y, 0, matrix.width(), cutoff, s.kept);
    }
    joinRuns(s.kept, s.parent);

    // Each run's figures go to its region's root; runs come in row-major order, so the first
    // run holding a region's maximum holds its first pixel of that value.
    s.regions.assign(s.kept.size(), Region());
    for (std::size_t i = 0; i < s.kept.size(); ++i) {
        const Run &run = s.kept[i];
        Region &r = s.regions[std::size_t(root(s.parent, int(i)))];
        const int length = run.x1 - run.x0 + 1;
        if (r.area == 0) {
            r.left = run.x0;
            r.right = run.x1;
            r.top = run.y;
            r.max = run.max;
            r.maxPos = QPoint(run.maxX, run.y);
        } else if (run.max > r.max) {
            r.max = run.max;
            r.maxPos = QPoint(run.maxX, run.y);
        }
        r.area += length;
        r.sumX += std::int64_t(run.x0 + run.x1) * length / 2;
        r.sumY += std::int64_t(run.y) * length;
        r.left = std::min(r.left, run.x0);
        r.right = std::max(r.right, run.x1);
        r.bottom = run.y;
    }
    for (const Region &r : s.regions) {
        if (r.area == 0 || r.area < settings.minimumArea)
            continue;
        HotSpot spot;
        spot.maxPos = r.maxPos;
        spot.max = r.max;
        spot.reference = found.reference;
        spot.deltaT = r.max - found.reference;
        if (settings.irradiance)
            spot.deltaTNormalised = double(spot.deltaT) * 1000.0 / *settings.irradiance;
        spot.area = r.area;
        spot.bounds = QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
        spot.centroid = QPointF(double(r.sumX) / r.area, double(r.sumY) / r.area);
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
