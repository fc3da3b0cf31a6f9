#include "runstatistics.h"

#include "temperaturematrix.h"

#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {

#ifdef __SSE2__
float lanesMax(__m128 v)
{
    v = _mm_max_ps(v, _mm_movehl_ps(v, v));
    v = _mm_max_ps(v, _mm_shuffle_ps(v, v, 1));
    return _mm_cvtss_f32(v);
}

float lanesMin(__m128 v)
{
    v = _mm_min_ps(v, _mm_movehl_ps(v, v));
    v = _mm_min_ps(v, _mm_shuffle_ps(v, v, 1));
    return _mm_cvtss_f32(v);
}

double lanesSum(__m128d v)
{
    return _mm_cvtsd_f64(_mm_add_sd(v, _mm_unpackhi_pd(v, v)));
}

int lanesTotal(__m128i v)
{
    v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
    return _mm_cvtsi128_si32(v);
}
#endif

} // namespace

namespace {

// The extremes of the readings of values[0 .. count - 1] by plain comparison.
void scanExtremes(const float *values, int count, float &max, float &min)
{
    for (int i = 0; i < count; ++i) {
        const float t = values[i];
        if (t == NA_TEMPERATURE)
            continue;
        if (t > max)
            max = t;
        if (t < min)
            min = t;
    }
}

// Adds values[i .. count - 1] one by one to what the wide steps found and makes the result.
RunStatistics finishedRun(const float *values, int i, int count, float max, float min, double sum, int readings)
{
    scanExtremes(values + i, count - i, max, min);
    for (; i < count; ++i) {
        if (values[i] == NA_TEMPERATURE)
            continue;
        sum += double(values[i]);
        ++readings;
    }
    RunStatistics s;
    s.count = readings;
    if (readings > 0) {
        s.max = max;
        s.min = min;
        s.sum = sum;
    }
    return s;
}

} // namespace

namespace {

RunStatistics narrowRunStatistics(const float *values, int count)
{
    // The extremes start beyond every reading, so the first reading replaces both.
    float max = -std::numeric_limits<float>::infinity();
    float min = std::numeric_limits<float>::infinity();
    double sum = 0.0;
    int readings = 0;
    int i = 0;
#ifdef __SSE2__
    // Eight values a step, in four independent double sums. Pixels without a reading are masked
    // out rather than branched over, so runs with and without gaps cost the same: they add 0 to
    // the sum and to the count, offer 0 to the maximum, and offer their own 65536 to the
    // minimum, which any reading below it beats. Only when that may have decided an extreme (a
    // run with gaps whose readings are all at most 0, or all 65536 and above) are the extremes
    // found again by plain comparison. A value only replaces an extreme it beats (the operand
    // order keeps what a plain comparison would keep).
    if (count >= 8) {
        const __m128 noReading = _mm_set1_ps(NA_TEMPERATURE);
        __m128 maxLanes = _mm_set1_ps(max);
        __m128 minLanes = _mm_set1_ps(min);
        __m128i countLanes = _mm_setzero_si128();
        __m128d sum0 = _mm_setzero_pd(), sum1 = sum0, sum2 = sum0, sum3 = sum0;
        for (; i + 8 <= count; i += 8) {
            const __m128 a = _mm_loadu_ps(values + i);
            const __m128 b = _mm_loadu_ps(values + i + 4);
            const __m128 readA = _mm_cmpneq_ps(a, noReading);
            const __m128 readB = _mm_cmpneq_ps(b, noReading);
            const __m128 keptA = _mm_and_ps(readA, a);
            const __m128 keptB = _mm_and_ps(readB, b);
            maxLanes = _mm_max_ps(keptA, maxLanes);
            maxLanes = _mm_max_ps(keptB, maxLanes);
            minLanes = _mm_min_ps(a, minLanes);
            minLanes = _mm_min_ps(b, minLanes);
            sum0 = _mm_add_pd(sum0, _mm_cvtps_pd(keptA));
            sum1 = _mm_add_pd(sum1, _mm_cvtps_pd(_mm_movehl_ps(keptA, keptA)));
            sum2 = _mm_add_pd(sum2, _mm_cvtps_pd(keptB));
            sum3 = _mm_add_pd(sum3, _mm_cvtps_pd(_mm_movehl_ps(keptB, keptB)));
            // A set mask lane is -1: subtracting it counts the reading.
            countLanes = _mm_sub_epi32(countLanes, _mm_castps_si128(readA));
            countLanes = _mm_sub_epi32(countLanes, _mm_castps_si128(readB));
        }
        readings = lanesTotal(countLanes);
        sum = lanesSum(_mm_add_pd(_mm_add_pd(sum0, sum1), _mm_add_pd(sum2, sum3)));
        max = lanesMax(maxLanes);
        min = lanesMin(minLanes);
        if (readings < i && readings > 0 && (max <= 0.0f || min == NA_TEMPERATURE)) {
            max = -std::numeric_limits<float>::infinity();
            min = std::numeric_limits<float>::infinity();
            scanExtremes(values, i, max, min);
        }
    }
#endif
    return finishedRun(values, i, count, max, min, sum, readings);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define QCT_WIDE_STATISTICS 1

// The same eight-value steps as above, one register each: lanes 0-3 of the double sums are
// sum0 and sum1, lanes 4-7 sum2 and sum3, added in the same order, so the same bits.
__attribute__((target("avx2"))) RunStatistics wideRunStatistics(const float *values, int count)
{
    if (count < 8)
        return narrowRunStatistics(values, count);
    const __m256 noReading = _mm256_set1_ps(NA_TEMPERATURE);
    __m256 maxLanes = _mm256_set1_ps(-std::numeric_limits<float>::infinity());
    __m256 minLanes = _mm256_set1_ps(std::numeric_limits<float>::infinity());
    __m256i countLanes = _mm256_setzero_si256();
    __m256d sumA = _mm256_setzero_pd(), sumB = sumA;
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256 v = _mm256_loadu_ps(values + i);
        const __m256 read = _mm256_cmp_ps(v, noReading, _CMP_NEQ_UQ);
        const __m256 kept = _mm256_and_ps(read, v);
        maxLanes = _mm256_max_ps(kept, maxLanes);
        minLanes = _mm256_min_ps(v, minLanes);
        sumA = _mm256_add_pd(sumA, _mm256_cvtps_pd(_mm256_castps256_ps128(kept)));
        sumB = _mm256_add_pd(sumB, _mm256_cvtps_pd(_mm256_extractf128_ps(kept, 1)));
        countLanes = _mm256_sub_epi32(countLanes, _mm256_castps_si256(read));
    }
    const __m128d sum01 = _mm_add_pd(_mm256_castpd256_pd128(sumA), _mm256_extractf128_pd(sumA, 1));
    const __m128d sum23 = _mm_add_pd(_mm256_castpd256_pd128(sumB), _mm256_extractf128_pd(sumB, 1));
    double sum = lanesSum(_mm_add_pd(sum01, sum23));
    int readings = lanesTotal(
        _mm_add_epi32(_mm256_castsi256_si128(countLanes), _mm256_extracti128_si256(countLanes, 1)));
    float max = lanesMax(_mm_max_ps(_mm256_extractf128_ps(maxLanes, 1), _mm256_castps256_ps128(maxLanes)));
    float min = lanesMin(_mm_min_ps(_mm256_extractf128_ps(minLanes, 1), _mm256_castps256_ps128(minLanes)));
    // Lanes meet in another order than above, which only matters between 0 and -0: an extreme
    // of zero is found the narrow way, so its sign is always the same.
    if (max == 0.0f || min == 0.0f)
        return narrowRunStatistics(values, count);
    if (readings < i && readings > 0 && (max <= 0.0f || min == NA_TEMPERATURE)) {
        max = -std::numeric_limits<float>::infinity();
        min = std::numeric_limits<float>::infinity();
        scanExtremes(values, i, max, min);
    }
    return finishedRun(values, i, count, max, min, sum, readings);
}

bool wideStatistics()
{
    static const bool wide = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return wide;
}
#endif

} // namespace

RunStatistics runStatistics(const float *values, int count)
{
#ifdef QCT_WIDE_STATISTICS
    if (wideStatistics())
        return wideRunStatistics(values, count);
#endif
    return narrowRunStatistics(values, count);
}

int firstIndexOf(const float *values, int count, float value)
{
    int i = 0;
#ifdef __SSE2__
    // Rows of a frame that warms towards its edge beat the maximum every time: four at a time.
    const __m128 wanted = _mm_set1_ps(value);
    for (; i + 4 <= count; i += 4) {
        const int equal = _mm_movemask_ps(_mm_cmpeq_ps(_mm_loadu_ps(values + i), wanted));
        if (equal != 0)
            return i + __builtin_ctz(unsigned(equal));
    }
#endif
    for (; i < count; ++i) {
        if (values[i] == value)
            return i;
    }
    return count;
}
