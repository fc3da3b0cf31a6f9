#include "temperatureengine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

#include "temperaturecurves.inc"

// The conversion is specified in wrapping 32-bit and 16-bit integer arithmetic. Products are
// formed in 64 bits and cut explicitly, so the wrap is exact and free of undefined behaviour.
std::int32_t wrap32(std::int64_t v)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

std::int16_t wrap16(std::int64_t v)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v)));
}

// Distance term d * (quad * d + lin) / 10000 of the gain and the offset.
std::int32_t distanceTerm(std::int32_t d, std::int32_t quad, std::int32_t lin)
{
    const std::int32_t inner = wrap32(std::int64_t(wrap32(std::int64_t(quad) * d)) + lin);
    return wrap32(std::int64_t(d) * inner) / 10000;
}

int validate(const CalibrationBlock &block, const MeasureParams &p)
{
    if (!block.hasMagic())
        return EngineBadBlock;
    if (p.emissivity < 1 || p.emissivity > 100)
        return EngineBadEmissivity;
    if (p.humidity > 100)
        return EngineBadHumidity;
    if (p.distance < 5 || p.distance > 5000)
        return EngineBadDistance;
    if (p.reflectedTemp < -400 || p.reflectedTemp > 5500)
        return EngineBadReflectedTemp;
    if (p.atmosphericTemp < -400 || p.atmosphericTemp > 1000)
        return EngineBadAtmosphericTemp;
    if (p.gain < 1 || p.gain > 200)
        return EngineBadGain;
    if (p.offset < -100 || p.offset > 100)
        return EngineBadOffset;
    return EngineOk;
}

// Everything that is constant over one frame.
struct FrameConstants
{
    std::uint32_t slope;       // S: raw slope
    std::int16_t indexAtZero;  // A: curve index at raw 0
    const std::int16_t *curve;
    std::uint16_t curveOffset;
    int emissivity;
    int effectiveEmissivity;   // never below 50
    int background;            // tenths of °C
    int gain;
    int offset;
};

FrameConstants frameConstants(const CalibrationBlock &block, const MeasureParams &p)
{
    FrameConstants c;
    const std::int32_t d = std::int32_t(p.distance) - 50;
    const std::uint32_t g1 =
        std::uint32_t(wrap32(std::int64_t(block.gainBase()) + distanceTerm(d, block.gainDistQuad(), block.gainDistLin())))
        & 0xFFFFu;
    const std::uint32_t g = (g1 * (5060u - p.humidity) / 5000u) & 0xFFFFu;
    c.slope = (std::uint32_t(block.gainScale()) * g / 1000u) & 0xFFFFu;

    const std::int32_t base = (std::int32_t(block.offsetBase()) + block.offsetTrim()) & 0xFFFF;
    const std::int32_t coupling = wrap32(std::int64_t(g) * block.gainToOffset()) / 1000;
    const std::int32_t sum = wrap32(std::int64_t(wrap32(std::int64_t(base)
                                                        + distanceTerm(d, block.offsetDistQuad(), block.offsetDistLin())))
                                    + coupling);
    c.indexAtZero = wrap16(sum);

    const bool wide = block.rangeSelect() != 0;
    const bool familyA = block.curveFamily() == 1 || block.curveFamily() == 3;
    c.curve = temperatureCurve(familyA ? (wide ? TemperatureCurve::WideA : TemperatureCurve::NarrowA)
                                       : (wide ? TemperatureCurve::WideB : TemperatureCurve::NarrowB));
    c.curveOffset = block.curveOffset();
    c.emissivity = p.emissivity;
    c.effectiveEmissivity = std::max<int>(p.emissivity, 50);
    c.background = std::abs(p.reflectedTemp - p.atmosphericTemp) <= 20 ? p.atmosphericTemp : p.reflectedTemp;
    c.gain = p.gain;
    c.offset = p.offset;
    return c;
}

int curveIndex(const FrameConstants &c, std::uint16_t rawValue)
{
    const std::int32_t r = static_cast<std::int16_t>(rawValue);
    // |r * S| < 2^31 for a signed 16-bit r and a 16-bit S.
    const std::int16_t index = wrap16(std::int64_t(c.indexAtZero) + (r * std::int32_t(c.slope)) / 8192);
    return std::clamp<int>(index, 0, kCurveSize - 1);
}

// The temperature of one curve index: everything after the look-up depends on nothing else.
float temperatureAtIndex(const FrameConstants &c, int index)
{
    const std::int16_t apparent = wrap16(std::int64_t(c.curve[index]) + c.curveOffset);
    std::int32_t f = apparent;
    if (c.emissivity != 100) {
        const double ta = (apparent + 2735) / 10.0;
        const double tb = (c.background + 2735) / 10.0;
        const double x = std::pow(ta, 4.0);
        const double y = std::pow(tb, 4.0);
        const double r = (x - y) * 100 / (c.effectiveEmissivity + 1) + y;
        f = r < 0 ? 0 : wrap16(static_cast<std::int64_t>(std::pow(r, 0.25) * 10 - 2735));
    }
    float e = 0.0f;
    if (c.emissivity == 95 && f >= 1551) {
        const float ff = static_cast<float>(f);
        e = (21148.0f * ff + ff * ff) / 1000000.0f - 12.0f;
    }
    return ((static_cast<float>(f) + e) * static_cast<float>(c.gain) / 100.0f + static_cast<float>(c.offset)) / 10.0f;
}

void convertPerPixel(const FrameConstants &c, const std::uint16_t *raw, int n, float *out)
{
    for (int i = 0; i < n; ++i)
        out[i] = temperatureAtIndex(c, curveIndex(c, raw[i]));
}

// A missing output is the caller's check: it is EngineBadBlock as well.
int checkArguments(const std::uint16_t *raw, const unsigned char *calibration, int n, const MeasureParams &params)
{
    if (!calibration || (n > 0 && !raw))
        return EngineBadBlock;
    return validate(CalibrationBlock(calibration), params);
}

struct RawRange
{
    std::uint16_t lowest;
    std::uint16_t highest;
};

// The lowest and highest of n >= 1 raw values.
RawRange rawRange(const std::uint16_t *raw, int n)
{
    RawRange r{raw[0], raw[0]};
    int i = 0;
#ifdef __SSE2__
    // Eight values a step; SSE2 compares signed words, so the sign bit is flipped first.
    if (n >= 8) {
        const __m128i flip = _mm_set1_epi16(std::int16_t(0x8000));
        __m128i lowest = _mm_xor_si128(_mm_set1_epi16(std::int16_t(raw[0])), flip);
        __m128i highest = lowest;
        for (; i + 8 <= n; i += 8) {
            const __m128i v = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(raw + i)), flip);
            lowest = _mm_min_epi16(lowest, v);
            highest = _mm_max_epi16(highest, v);
        }
        alignas(16) std::uint16_t lows[8], highs[8];
        _mm_store_si128(reinterpret_cast<__m128i *>(lows), _mm_xor_si128(lowest, flip));
        _mm_store_si128(reinterpret_cast<__m128i *>(highs), _mm_xor_si128(highest, flip));
        r.lowest = *std::min_element(lows, lows + 8);
        r.highest = *std::max_element(highs, highs + 8);
    }
#endif
    for (; i < n; ++i) {
        r.lowest = std::min(r.lowest, raw[i]);
        r.highest = std::max(r.highest, raw[i]);
    }
    return r;
}

// Temperatures of the curve indices met so far, for one set of the constants they depend on
// (everything after the look-up: curve, its offset, emissivity, background, gain and offset).
struct IndexTemperatures
{
    const std::int16_t *curve = nullptr;
    std::uint16_t curveOffset = 0;
    int emissivity = -1;
    int background = 0;
    int gain = 0;
    int offset = 0;
    std::vector<float> values = std::vector<float>(kCurveSize);
    std::vector<unsigned char> known = std::vector<unsigned char>(kCurveSize, 0);
};

IndexTemperatures &indexTemperatures(const FrameConstants &c)
{
    thread_local IndexTemperatures kept;
    if (kept.curve != c.curve || kept.curveOffset != c.curveOffset || kept.emissivity != c.emissivity
        || kept.background != c.background || kept.gain != c.gain || kept.offset != c.offset) {
        kept.curve = c.curve;
        kept.curveOffset = c.curveOffset;
        kept.emissivity = c.emissivity;
        kept.background = c.background;
        kept.gain = c.gain;
        kept.offset = c.offset;
        std::fill(kept.known.begin(), kept.known.end(), 0);
    }
    return kept;
}

} // namespace

const std::int16_t *temperatureCurve(TemperatureCurve curve)
{
    switch (curve) {
    case TemperatureCurve::WideA:
        return kCurveWideA;
    case TemperatureCurve::NarrowA:
        return kCurveNarrowA;
    case TemperatureCurve::WideB:
        return kCurveWideB;
    case TemperatureCurve::NarrowB:
        break;
    }
    return kCurveNarrowB;
}

int RawTemperatureTable::prepare(const std::uint16_t *raw, const unsigned char *calibration, int n,
                                 const MeasureParams &params)
{
    m_byRaw.clear();
    const int result = checkArguments(raw, calibration, n, params);
    if (result != EngineOk || n <= 0)
        return result;
    const FrameConstants c = frameConstants(CalibrationBlock(calibration), params);
    const RawRange range = rawRange(raw, n);
    m_lowest = range.lowest;
    m_byRaw.resize(std::size_t(range.highest - range.lowest) + 1);
    // The emissivity correction costs two fourth powers and a fourth root and depends only on
    // the curve index, so each index is evaluated once. Photographs of one camera with the same
    // settings share these temperatures, so they are kept per thread for the next frame.
    IndexTemperatures &byIndex = indexTemperatures(c);
    for (std::size_t i = 0; i < m_byRaw.size(); ++i) {
        const int index = curveIndex(c, std::uint16_t(range.lowest + i));
        if (!byIndex.known[std::size_t(index)]) {
            byIndex.values[std::size_t(index)] = temperatureAtIndex(c, index);
            byIndex.known[std::size_t(index)] = 1;
        }
        m_byRaw[i] = byIndex.values[std::size_t(index)];
    }
    return EngineOk;
}

void RawTemperatureTable::convert(const std::uint16_t *raw, int count, float *out) const
{
    const float *byRaw = m_byRaw.data();
    for (int i = 0; i < count; ++i)
        out[i] = byRaw[raw[i] - m_lowest];
}

int convertRawToTemperature(const std::uint16_t *raw, const unsigned char *calibration, int n,
                            const MeasureParams &params, float *out)
{
    if (!out && n > 0)
        return EngineBadBlock;
    RawTemperatureTable table;
    const int result = table.prepare(raw, calibration, n, params);
    if (result == EngineOk && n > 0)
        table.convert(raw, n, out);
    return result;
}

int convertRawToTemperaturePerPixel(const std::uint16_t *raw, const unsigned char *calibration, int n,
                                    const MeasureParams &params, float *out)
{
    if (n > 0 && !out)
        return EngineBadBlock;
    const int result = checkArguments(raw, calibration, n, params);
    if (result != EngineOk || n <= 0)
        return result;
    convertPerPixel(frameConstants(CalibrationBlock(calibration), params), raw, n, out);
    return EngineOk;
}
