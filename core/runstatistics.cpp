#include "runstatistics.h"

#ifdef __SSE2__
#include <emmintrin.h>
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
#endif

} // namespace

RunStatistics runStatistics(const float *values, int count)
{
    RunStatistics s;
    s.max = s.min = values[0];
    int i = 0;
#ifdef __SSE2__
    // Eight values a step, in four independent double sums; a value only replaces an extreme
    // it beats (the operand order keeps what a plain comparison would keep).
    if (count >= 8) {
        __m128 max = _mm_set1_ps(values[0]);
        __m128 min = max;
        __m128d sum0 = _mm_setzero_pd(), sum1 = sum0, sum2 = sum0, sum3 = sum0;
        for (; i + 8 <= count; i += 8) {
            const __m128 a = _mm_loadu_ps(values + i);
            const __m128 b = _mm_loadu_ps(values + i + 4);
            max = _mm_max_ps(a, max);
            max = _mm_max_ps(b, max);
            min = _mm_min_ps(a, min);
            min = _mm_min_ps(b, min);
            sum0 = _mm_add_pd(sum0, _mm_cvtps_pd(a));
            sum1 = _mm_add_pd(sum1, _mm_cvtps_pd(_mm_movehl_ps(a, a)));
            sum2 = _mm_add_pd(sum2, _mm_cvtps_pd(b));
            sum3 = _mm_add_pd(sum3, _mm_cvtps_pd(_mm_movehl_ps(b, b)));
        }
        s.max = lanesMax(max);
        s.min = lanesMin(min);
        s.sum = lanesSum(_mm_add_pd(_mm_add_pd(sum0, sum1), _mm_add_pd(sum2, sum3)));
    }
#endif
    for (; i < count; ++i) {
        const float t = values[i];
        if (t > s.max)
            s.max = t;
        if (t < s.min)
            s.min = t;
        s.sum += double(t);
    }
    return s;
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
