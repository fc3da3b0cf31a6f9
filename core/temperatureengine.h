#pragma once

#include <cstdint>
#include <vector>

// The parameters handed to the temperature engine, in the order it validates them.
struct MeasureParams
{
    std::uint16_t emissivity = 100;    // percent, 1..100
    std::uint16_t humidity = 0;        // percent, 0..100
    std::uint16_t distance = 50;       // 5..5000; corrections are referred to 50
    std::int16_t reflectedTemp = 230;  // tenths of °C, -400..5500
    std::int16_t atmosphericTemp = 230;// tenths of °C, -400..1000
    std::uint16_t gain = 100;          // percent, 1..200
    std::int16_t offset = 0;           // tenths of °C, -100..100
};

// Read-only view of the 2,560-byte calibration block that follows a calibrated raw frame.
// All fields are little-endian at fixed offsets.
class CalibrationBlock
{
public:
    static constexpr int Size = 2560;

    explicit CalibrationBlock(const unsigned char *bytes) : m_bytes(bytes) {}

    bool hasMagic() const { return m_bytes[0] == 0xAA && m_bytes[1] == 0x55; }
    std::uint16_t humidity() const { return u16(4); }
    std::uint16_t distance() const { return u16(6); }
    std::uint16_t emissivity() const { return u16(8); }
    std::int16_t reflectedTemp() const { return static_cast<std::int16_t>(u16(10)); }
    std::uint16_t curveOffset() const { return u16(22); }
    std::uint16_t rangeSelect() const { return u16(36); }
    std::uint8_t curveFamily() const { return m_bytes[234]; }
    std::int32_t gainDistQuad() const { return s32(240); }
    std::int32_t gainDistLin() const { return s32(244); }
    std::uint16_t gainBase() const { return u16(248); }
    std::int32_t offsetDistQuad() const { return s32(250); }
    std::int32_t offsetDistLin() const { return s32(254); }
    std::uint16_t offsetBase() const { return u16(258); }
    std::uint16_t gainScale() const { return u16(260); }
    std::int32_t gainToOffset() const { return s32(262); }
    std::uint16_t offsetTrim() const { return u16(266); }

private:
    std::uint16_t u16(int at) const { return static_cast<std::uint16_t>(m_bytes[at] | (m_bytes[at + 1] << 8)); }
    std::int32_t s32(int at) const
    {
        const std::uint32_t v = std::uint32_t(m_bytes[at]) | (std::uint32_t(m_bytes[at + 1]) << 8)
            | (std::uint32_t(m_bytes[at + 2]) << 16) | (std::uint32_t(m_bytes[at + 3]) << 24);
        return static_cast<std::int32_t>(v);
    }
    const unsigned char *m_bytes;
};

// The four curves: index (0..16383) to tenths of °C, non-decreasing.
enum class TemperatureCurve { WideA, NarrowA, WideB, NarrowB };
constexpr int kCurveSize = 16384;
const std::int16_t *temperatureCurve(TemperatureCurve curve);

// Result codes of convertRawToTemperature.
enum EngineResult {
    EngineOk = 0,
    EngineBadBlock = -1, // no block, no 0xAA 0x55 magic, or no frame/output for n > 0
    EngineBadEmissivity = -2,
    EngineBadHumidity = -3,
    EngineBadDistance = -4,
    EngineBadReflectedTemp = -5,
    EngineBadAtmosphericTemp = -6,
    EngineBadGain = -7,
    EngineBadOffset = -8,
};

// Converts n raw values (read as signed 16-bit) into °C through the calibration block
// (CalibrationBlock::Size bytes). Nothing is written unless the result is EngineOk.
// Re-entrant: everything comes from the arguments and the constant curves.
int convertRawToTemperature(const std::uint16_t *raw, const unsigned char *calibration, int n,
                            const MeasureParams &params, float *out);

// One frame's conversion, prepared once: the temperature of every raw value from the frame's
// lowest to its highest, each curve index evaluated once. A caller can then convert the frame
// piece by piece, a row at a time, with the same results as convertRawToTemperature.
class RawTemperatureTable
{
public:
    // EngineOk, or the code convertRawToTemperature gives for the same arguments.
    int prepare(const std::uint16_t *raw, const unsigned char *calibration, int n, const MeasureParams &params);
    // Only values of the frame given to prepare (anything else is outside the table).
    void convert(const std::uint16_t *raw, int count, float *out) const;

private:
    std::uint16_t m_lowest = 0;
    std::vector<float> m_byRaw;
};

// The same conversion evaluated pixel by pixel, without the per-call table; kept as the
// baseline the table is measured and checked against.
int convertRawToTemperaturePerPixel(const std::uint16_t *raw, const unsigned char *calibration, int n,
                                    const MeasureParams &params, float *out);
