#include "temperatureengine.h"

#include <QtTest>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

using Block = std::array<unsigned char, CalibrationBlock::Size>;

void put16(Block &b, int at, std::uint16_t v)
{
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}

void put32(Block &b, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = std::uint8_t(v >> (8 * i));
}

// A block whose index is simply offsetBase + raw: gain 8192 at distance 50 and humidity 60,
// slope 8192.
Block identityBlock(std::uint16_t offsetBase = 0, bool wide = true, std::uint8_t family = 1)
{
    Block b{};
    b[0] = 0xAA;
    b[1] = 0x55;
    put16(b, 36, wide ? 1 : 0);
    b[234] = family;
    put16(b, 248, 8192);
    put16(b, 258, offsetBase);
    put16(b, 260, 1000);
    return b;
}

MeasureParams identityParams(std::uint16_t emissivity = 100)
{
    MeasureParams p;
    p.emissivity = emissivity;
    p.humidity = 60;
    p.distance = 50;
    p.reflectedTemp = 230;
    p.atmosphericTemp = 230;
    p.gain = 100;
    p.offset = 0;
    return p;
}

// An independent reading of the conversion rules, wrapping through unsigned 32-bit arithmetic.
std::int32_t w32(std::uint32_t v) { return std::int32_t(v); }
std::int16_t w16(std::int32_t v) { return std::int16_t(std::uint16_t(std::uint32_t(v) & 0xFFFF)); }
std::int32_t mul(std::int32_t a, std::int32_t b) { return w32(std::uint32_t(a) * std::uint32_t(b)); }
std::int32_t add(std::int32_t a, std::int32_t b) { return w32(std::uint32_t(a) + std::uint32_t(b)); }

std::int16_t referenceF(std::int16_t c, int emissivity, int background)
{
    if (emissivity == 100)
        return c;
    const int e = emissivity < 50 ? 50 : emissivity;
    const double ta = (c + 2735) / 10.0, tb = (background + 2735) / 10.0;
    const double x = std::pow(ta, 4.0), y = std::pow(tb, 4.0);
    const double r = (x - y) * 100 / (e + 1) + y;
    if (r < 0)
        return 0;
    return w16(std::int32_t(std::int64_t(std::pow(r, 0.25) * 10 - 2735)));
}

float referenceOutput(std::int16_t f, const MeasureParams &p)
{
    float e = 0;
    if (p.emissivity == 95 && f >= 1551)
        e = (21148.0f * f + float(f) * f) / 1000000.0f - 12.0f;
    return ((float(f) + e) * float(p.gain) / 100.0f + float(p.offset)) / 10.0f;
}

float reference(const Block &bytes, const MeasureParams &p, std::uint16_t raw)
{
    const CalibrationBlock b(bytes.data());
    const std::int32_t d = p.distance - 50;
    const std::int32_t g1 = add(b.gainBase(), add(mul(d, add(mul(b.gainDistQuad(), d), b.gainDistLin())), 0) / 10000) & 0xFFFF;
    const std::uint32_t g = (std::uint32_t(g1) * std::uint32_t(5060 - p.humidity) / 5000) & 0xFFFF;
    const std::uint32_t s = (std::uint32_t(b.gainScale()) * g / 1000) & 0xFFFF;
    std::int32_t a = (b.offsetBase() + b.offsetTrim()) & 0xFFFF;
    a = add(a, mul(d, add(mul(b.offsetDistQuad(), d), b.offsetDistLin())) / 10000);
    a = add(a, mul(std::int32_t(g), b.gainToOffset()) / 1000);
    const std::int16_t indexAtZero = w16(a);
    std::int32_t index = w16(indexAtZero + (std::int16_t(raw) * std::int32_t(s)) / 8192);
    index = index < 0 ? 0 : index > 16383 ? 16383 : index;
    const bool familyA = b.curveFamily() == 1 || b.curveFamily() == 3;
    const TemperatureCurve curve = b.rangeSelect() ? (familyA ? TemperatureCurve::WideA : TemperatureCurve::WideB)
                                                   : (familyA ? TemperatureCurve::NarrowA : TemperatureCurve::NarrowB);
    const std::int16_t c = w16(temperatureCurve(curve)[index] + b.curveOffset());
    const int background = std::abs(p.reflectedTemp - p.atmosphericTemp) <= 20 ? p.atmosphericTemp : p.reflectedTemp;
    return referenceOutput(referenceF(c, p.emissivity, background), p);
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::vector<std::uint16_t> allRawValues()
{
    std::vector<std::uint16_t> raw(65536);
    for (int i = 0; i < 65536; ++i)
        raw[i] = std::uint16_t(i);
    return raw;
}

float convertOne(const Block &b, const MeasureParams &p, std::uint16_t raw)
{
    float out = std::numeric_limits<float>::quiet_NaN();
    if (convertRawToTemperature(&raw, b.data(), 1, p, &out) != 0)
        qFatal("conversion failed");
    return out;
}

} // namespace

class TestTemperatureEngine : public QObject
{
    Q_OBJECT
private slots:
    void curvesPassThroughTheirRows()
    {
        struct CurveRows
        {
            TemperatureCurve curve;
            int first, lowerEnd, upper, upperStart, maxStep;
            std::array<int, 9> rows;
        };
        const std::array<int, 9> indices = {2048, 3072, 4096, 5120, 6144, 8192, 10240, 12288, 14336};
        const CurveRows curves[] = {
            {TemperatureCurve::WideA, -100, 2933, 5600, 13364, 3, {-100, 204, 1425, 2171, 2765, 3723, 4522, 5248, 5600}},
            {TemperatureCurve::NarrowA, -300, 1818, 1600, 13678, 1, {-227, 70, 324, 533, 709, 1016, 1274, 1484, 1600}},
            {TemperatureCurve::WideB, -200, 2896, 5650, 10575, 3, {-200, 236, 1782, 2690, 3440, 4566, 5512, 5650, 5650}},
            {TemperatureCurve::NarrowB, -300, 2413, 1600, 10417, 1, {-300, 28, 401, 675, 903, 1289, 1579, 1600, 1600}},
        };
        for (const CurveRows &c : curves) {
            const std::int16_t *v = temperatureCurve(c.curve);
            for (int k = 0; k < 9; ++k)
                QCOMPARE(int(v[indices[k]]), c.rows[k]);
            QCOMPARE(int(v[0]), c.first);
            QCOMPARE(int(v[c.lowerEnd]), c.first);
            QVERIFY(v[c.lowerEnd + 1] > c.first);
            QVERIFY(v[c.upperStart - 1] < c.upper);
            QCOMPARE(int(v[c.upperStart]), c.upper);
            QCOMPARE(int(v[kCurveSize - 1]), c.upper);
            for (int i = 1; i < kCurveSize; ++i) {
                const int step = v[i] - v[i - 1];
                QVERIFY2(step >= 0 && step <= c.maxStep, qPrintable(QString("index %1 step %2").arg(i).arg(step)));
            }
        }
    }

    void validationCodesInOrder()
    {
        Block b = identityBlock();
        float out = 7.0f;
        const std::uint16_t raw = 3000;
        auto code = [&](const MeasureParams &p) { return convertRawToTemperature(&raw, b.data(), 1, p, &out); };
        auto with = [](auto change) {
            MeasureParams p = identityParams();
            change(p);
            return p;
        };
        QCOMPARE(code(with([](MeasureParams &p) { p.emissivity = 0; })), -2);
        QCOMPARE(code(with([](MeasureParams &p) { p.emissivity = 101; })), -2);
        QCOMPARE(code(with([](MeasureParams &p) { p.humidity = 101; })), -3);
        QCOMPARE(code(with([](MeasureParams &p) { p.distance = 4; })), -4);
        QCOMPARE(code(with([](MeasureParams &p) { p.distance = 5001; })), -4);
        QCOMPARE(code(with([](MeasureParams &p) { p.reflectedTemp = -401; })), -5);
        QCOMPARE(code(with([](MeasureParams &p) { p.reflectedTemp = 5501; })), -5);
        QCOMPARE(code(with([](MeasureParams &p) { p.atmosphericTemp = -401; })), -6);
        QCOMPARE(code(with([](MeasureParams &p) { p.atmosphericTemp = 1001; })), -6);
        QCOMPARE(code(with([](MeasureParams &p) { p.gain = 0; })), -7);
        QCOMPARE(code(with([](MeasureParams &p) { p.gain = 201; })), -7);
        QCOMPARE(code(with([](MeasureParams &p) { p.offset = -101; })), -8);
        QCOMPARE(code(with([](MeasureParams &p) { p.offset = 101; })), -8);
        // Edges of the accepted ranges pass.
        QCOMPARE(code(with([](MeasureParams &p) {
                     p.emissivity = 1; p.humidity = 100; p.distance = 5000; p.reflectedTemp = 5500;
                     p.atmosphericTemp = -400; p.gain = 200; p.offset = -100; })), 0);
        // The first wrong field decides; the magic comes before all of them.
        QCOMPARE(code(with([](MeasureParams &p) { p.offset = 200; p.humidity = 300; p.gain = 0; })), -3);
        QCOMPARE(code(with([](MeasureParams &p) { p.gain = 0; p.offset = 200; })), -7);
        b[1] = 0x54;
        out = 7.0f;
        QCOMPARE(code(with([](MeasureParams &p) { p.emissivity = 0; })), -1);
        QCOMPARE(out, 7.0f); // nothing written on failure
        QCOMPARE(convertRawToTemperature(&raw, nullptr, 1, identityParams(), &out), -1);
    }

    void emptyFrames()
    {
        const Block b = identityBlock();
        float out = 7.0f;
        const std::uint16_t raw = 1;
        QCOMPARE(convertRawToTemperature(&raw, b.data(), 0, identityParams(95), &out), 0);
        QCOMPARE(convertRawToTemperature(&raw, b.data(), -5, identityParams(), &out), 0);
        QCOMPARE(convertRawToTemperature(nullptr, b.data(), 0, identityParams(), nullptr), 0);
        QCOMPARE(out, 7.0f);
        QCOMPARE(convertRawToTemperature(nullptr, b.data(), 4, identityParams(), &out), -1);
    }

    void emissivity100IsCurvePlusOffsetTrimmed()
    {
        Block b = identityBlock(0, true, 1);
        const std::int16_t *wideA = temperatureCurve(TemperatureCurve::WideA);
        QCOMPARE(convertOne(b, identityParams(), 5120), 217.1f);
        put16(b, 22, std::uint16_t(-50)); // curve offset -5.0 °C
        QCOMPARE(convertOne(b, identityParams(), 5120), float(wideA[5120] - 50) / 10.0f);
        MeasureParams p = identityParams();
        p.gain = 150;
        p.offset = -20;
        QCOMPARE(convertOne(b, p, 5120), ((float(wideA[5120] - 50)) * 150.0f / 100.0f - 20.0f) / 10.0f);

        // Curve choice by range and family.
        QCOMPARE(convertOne(identityBlock(0, false, 3), identityParams(), 4096), 32.4f);
        QCOMPARE(convertOne(identityBlock(0, true, 2), identityParams(), 4096), 178.2f);
        QCOMPARE(convertOne(identityBlock(0, false, 0), identityParams(), 4096), 40.1f);
    }

    void indexIsClampedAndRawIsSigned()
    {
        const Block b = identityBlock(100);
        QCOMPARE(convertOne(b, identityParams(), std::uint16_t(-150)), -10.0f); // index -50: first entry
        QCOMPARE(convertOne(b, identityParams(), 20000), 560.0f);               // past the end: last entry
        QCOMPARE(convertOne(b, identityParams(), 40000), -10.0f);               // read as -25536
        // An index that wraps past 32767 in 16 bits turns negative and takes the first entry.
        QCOMPARE(convertOne(identityBlock(30000), identityParams(), 5000), -10.0f);
    }

    void emissivityAndBackground()
    {
        const Block b = identityBlock();
        // Below 50 the emissivity counts as 50.
        for (std::uint16_t raw : {3000, 6000, 12000}) {
            QCOMPARE(convertOne(b, identityParams(30), raw), convertOne(b, identityParams(50), raw));
            QVERIFY(convertOne(b, identityParams(50), raw) != convertOne(b, identityParams(51), raw));
        }
        // Background: air temperature within 2.0 °C of the reflected one, else the reflected one.
        auto temperatures = [](std::int16_t reflected, std::int16_t air) {
            MeasureParams p = identityParams(50);
            p.reflectedTemp = reflected;
            p.atmosphericTemp = air;
            return p;
        };
        const MeasureParams near = temperatures(250, 230), atAir = temperatures(230, 230);
        const MeasureParams far = temperatures(251, 230), atReflected = temperatures(251, 251);
        QCOMPARE(convertOne(b, near, 2000), convertOne(b, atAir, 2000));
        QCOMPARE(convertOne(b, far, 2000), convertOne(b, atReflected, 2000));
        QVERIFY(convertOne(b, far, 2000) != convertOne(b, near, 2000));
        // A scene colder than its background at low emissivity: R below zero gives 0.
        MeasureParams hotBackground = identityParams(50);
        hotBackground.reflectedTemp = 5500;
        QCOMPARE(convertOne(b, hotBackground, 0), 0.0f);
    }

    void highTemperatureTerm()
    {
        // Pick the apparent temperature through the curve offset on the flat top of wide A, so
        // that the emissivity step lands exactly on 155.0 and 155.1 °C.
        Block b = identityBlock();
        const MeasureParams p = identityParams(95);
        std::int16_t offsetFor1550 = 0, offsetFor1551 = 0;
        for (int c = 1400; c < 1700; ++c) {
            const std::int16_t f = referenceF(std::int16_t(c), 95, 230);
            if (f == 1550 && !offsetFor1550)
                offsetFor1550 = std::int16_t(c - 5600);
            if (f == 1551 && !offsetFor1551)
                offsetFor1551 = std::int16_t(c - 5600);
        }
        QVERIFY(offsetFor1550 && offsetFor1551);
        put16(b, 22, std::uint16_t(offsetFor1550));
        QCOMPARE(convertOne(b, p, 16000), 155.0f);
        put16(b, 22, std::uint16_t(offsetFor1551));
        const float withTerm = convertOne(b, p, 16000);
        QCOMPARE(withTerm, (1551.0f + (21148.0f * 1551 + 1551.0f * 1551) / 1000000.0f - 12.0f) / 10.0f);
        QVERIFY(std::fabs(withTerm - 157.42f) < 0.01f);
        // Only at exactly 95 %.
        QVERIFY(std::fabs(convertOne(b, identityParams(96), 16000) - 155.0f) < 1.0f);
    }

    void tableMatchesPlainConversionOverAllRawValues()
    {
        const std::vector<std::uint16_t> raw = allRawValues();
        std::vector<float> fast(raw.size()), plain(raw.size());
        std::mt19937 random(7);
        std::vector<std::pair<Block, MeasureParams>> cases;
        for (std::uint16_t e : {100, 95, 30, 1, 72})
            cases.push_back({identityBlock(2000), identityParams(e)});
        for (int k = 0; k < 6; ++k) {
            Block b{};
            for (auto &byte : b)
                byte = std::uint8_t(random());
            b[0] = 0xAA;
            b[1] = 0x55;
            MeasureParams p;
            p.emissivity = std::uint16_t(1 + random() % 100);
            p.humidity = std::uint16_t(random() % 101);
            p.distance = std::uint16_t(5 + random() % 4996);
            p.reflectedTemp = std::int16_t(-400 + int(random() % 5901));
            p.atmosphericTemp = std::int16_t(-400 + int(random() % 1401));
            p.gain = std::uint16_t(1 + random() % 200);
            p.offset = std::int16_t(-100 + int(random() % 201));
            cases.push_back({b, p});
        }
        for (const auto &c : cases) {
            QCOMPARE(convertRawToTemperature(raw.data(), c.first.data(), int(raw.size()), c.second, fast.data()), 0);
            QCOMPARE(convertRawToTemperaturePerPixel(raw.data(), c.first.data(), int(raw.size()), c.second, plain.data()), 0);
            for (std::size_t i = 0; i < raw.size(); ++i) {
                const float expected = reference(c.first, c.second, raw[i]);
                if (!sameBits(fast[i], expected) || !sameBits(plain[i], expected))
                    QFAIL(qPrintable(QString("raw %1: %2 / %3, expected %4").arg(i).arg(fast[i]).arg(plain[i]).arg(expected)));
            }
        }
    }

    // Temperatures of curve indices are kept from one frame to the next while the constants
    // they depend on stay the same: frames that differ from the one before in a single one of
    // them (curve, curve offset, emissivity, background, gain, offset) convert as on their own.
    void keptTemperaturesFollowEveryConstant()
    {
        std::vector<std::uint16_t> raw(4000);
        for (std::size_t i = 0; i < raw.size(); ++i)
            raw[i] = std::uint16_t(1000 + i * 7);
        std::vector<std::pair<Block, MeasureParams>> steps;
        const auto step = [&steps](Block b, MeasureParams p) { steps.push_back({b, p}); };
        MeasureParams p = identityParams(90);
        step(identityBlock(2000), p);
        step(identityBlock(2000, false), p);    // another curve
        step(identityBlock(2000, false, 2), p); // another family
        Block shifted = identityBlock(2000, false, 2);
        put16(shifted, 22, 17); // curve offset
        QCOMPARE(CalibrationBlock(shifted.data()).curveOffset(), std::uint16_t(17));
        step(shifted, p);
        p.emissivity = 80;
        step(shifted, p);
        p.reflectedTemp = 900; // background
        step(shifted, p);
        p.gain = 150;
        step(shifted, p);
        p.offset = -40;
        step(shifted, p);
        step(identityBlock(2000), identityParams(90)); // back to the first
        for (const auto &[block, params] : steps) {
            std::vector<float> out(raw.size());
            QCOMPARE(convertRawToTemperature(raw.data(), block.data(), int(raw.size()), params, out.data()), 0);
            for (std::size_t i = 0; i < raw.size(); ++i) {
                const float expected = reference(block, params, raw[i]);
                if (!sameBits(out[i], expected))
                    QFAIL(qPrintable(QString("raw %1: %2, expected %3").arg(raw[i]).arg(out[i]).arg(expected)));
            }
        }
    }

    // A table prepared over a frame covers exactly its range of raw values: frames whose lowest
    // or highest value sits in the last few values, or on either side of 0x8000, convert row by
    // row like the plain loop.
    void preparedTableConvertsTheFrameRowByRow()
    {
        const Block b = identityBlock(2000);
        const MeasureParams p = identityParams(95);
        std::mt19937 random(11);
        const std::vector<std::vector<std::uint16_t>> frames = {
            {3000, 3010, 3005, 3001, 3009, 3002, 3003, 3004, 3006, 2990},
            {3000, 3010, 3005, 3001, 3009, 3002, 3003, 3004, 3006, 3011, 3007},
            {0x7FFE, 0x8001, 0x7FFF, 0x8000, 0x7FFD, 0x8002, 0x7FFF, 0x8000, 0x8003},
            {5, 4, 3},
        };
        std::vector<std::vector<std::uint16_t>> all = frames;
        std::vector<std::uint16_t> scene(640 * 3);
        for (std::uint16_t &v : scene)
            v = std::uint16_t(2900 + random() % 400);
        all.push_back(scene);
        for (const std::vector<std::uint16_t> &frame : all) {
            RawTemperatureTable table;
            QCOMPARE(table.prepare(frame.data(), b.data(), int(frame.size()), p), 0);
            std::vector<float> rows(frame.size()), plain(frame.size());
            const int width = frame.size() % 3 == 0 ? int(frame.size()) / 3 : 1;
            for (std::size_t at = 0; at < frame.size(); at += std::size_t(width))
                table.convert(frame.data() + at, width, rows.data() + at);
            QCOMPARE(convertRawToTemperaturePerPixel(frame.data(), b.data(), int(frame.size()), p, plain.data()), 0);
            for (std::size_t i = 0; i < frame.size(); ++i)
                QVERIFY2(sameBits(rows[i], plain[i]), qPrintable(QString("raw %1").arg(frame[i])));
        }
        RawTemperatureTable refused;
        QCOMPARE(refused.prepare(frames[0].data(), b.data(), int(frames[0].size()), identityParams(0)), -2);
    }

    void extremeBlocksGiveFiniteTemperatures()
    {
        const std::vector<std::uint16_t> raw = allRawValues();
        std::vector<float> out(raw.size());
        for (std::uint8_t fill : {0x00, 0xFF, 0x80, 0x7F}) {
            Block b;
            b.fill(fill);
            b[0] = 0xAA;
            b[1] = 0x55;
            put32(b, 240, fill & 1 ? 0x7FFFFFFFu : 0x80000000u);
            put32(b, 250, fill & 1 ? 0x80000000u : 0x7FFFFFFFu);
            for (std::uint16_t distance : {5, 50, 5000}) {
                for (std::uint16_t e : {1, 95, 100}) {
                    MeasureParams p = identityParams(e);
                    p.distance = distance;
                    p.humidity = 0;
                    p.gain = 200;
                    p.reflectedTemp = 5500;
                    p.atmosphericTemp = -400;
                    QCOMPARE(convertRawToTemperature(raw.data(), b.data(), int(raw.size()), p, out.data()), 0);
                    for (std::size_t i = 0; i < raw.size(); ++i) {
                        QVERIFY(std::isfinite(out[i]));
                        if (!sameBits(out[i], reference(b, p, raw[i])))
                            QFAIL("differs from the reference");
                    }
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestTemperatureEngine)
#include "tst_temperatureengine.moc"
