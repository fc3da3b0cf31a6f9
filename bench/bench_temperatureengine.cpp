// Converts a full 640 x 512 frame with the engine (per-call table of the emissivity step)
// and with the plain per-pixel loop, at emissivity 100 and 95, and prints the speed-up.
#include "temperatureengine.h"

#include "benchtiming.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kPixels = 640 * 512;

std::array<unsigned char, CalibrationBlock::Size> block()
{
    std::array<unsigned char, CalibrationBlock::Size> b{};
    b[0] = 0xAA;
    b[1] = 0x55;
    b[36] = 1;     // wide range
    b[234] = 1;    // family A
    b[248] = 0x00; // gain base 8192
    b[249] = 0x20;
    b[258] = 0xD0; // offset base 2000
    b[259] = 0x07;
    b[260] = 0xE8; // gain scale 1000
    b[261] = 0x03;
    return b;
}

// A scene spread over the curve: mostly panels around one level, some hot and cold parts.
std::vector<std::uint16_t> frame()
{
    std::mt19937 random(1);
    std::normal_distribution<double> scene(4000, 900);
    std::vector<std::uint16_t> raw(kPixels);
    for (auto &v : raw)
        v = std::uint16_t(std::clamp(scene(random), 0.0, 14000.0));
    return raw;
}

MeasureParams params(std::uint16_t emissivity)
{
    MeasureParams p;
    p.emissivity = emissivity;
    p.humidity = 60;
    p.distance = 50;
    return p;
}

using Converter = int (*)(const std::uint16_t *, const unsigned char *, int, const MeasureParams &, float *);

void convertFrame(benchmark::State &state, Converter convert, std::uint16_t emissivity)
{
    const auto b = block();
    const auto raw = frame();
    std::vector<float> out(kPixels);
    const MeasureParams p = params(emissivity);
    for (auto _ : state) {
        convert(raw.data(), b.data(), kPixels, p, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}

void BM_Table_E100(benchmark::State &s) { convertFrame(s, convertRawToTemperature, 100); }
void BM_Plain_E100(benchmark::State &s) { convertFrame(s, convertRawToTemperaturePerPixel, 100); }
void BM_Table_E95(benchmark::State &s) { convertFrame(s, convertRawToTemperature, 95); }
void BM_Plain_E95(benchmark::State &s) { convertFrame(s, convertRawToTemperaturePerPixel, 95); }
BENCHMARK(BM_Table_E100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plain_E100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Table_E95)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plain_E95)->Unit(benchmark::kMillisecond);

double secondsPerFrame(Converter convert, std::uint16_t emissivity)
{
    const auto b = block();
    const auto raw = frame();
    std::vector<float> out(kPixels);
    const MeasureParams p = params(emissivity);
    return secondsPer([&] { return convert(raw.data(), b.data(), kPixels, p, out.data()); }, 20);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    for (std::uint16_t e : {100, 95}) {
        const double table = secondsPerFrame(convertRawToTemperature, e);
        const double plain = secondsPerFrame(convertRawToTemperaturePerPixel, e);
        std::printf("emissivity %3u: table %.2f ms/frame (%.1f Mpixel/s), plain loop %.2f ms/frame "
                    "(%.1f Mpixel/s), ratio %.1fx\n",
                    e, table * 1e3, kPixels / table / 1e6, plain * 1e3, kPixels / plain / 1e6, plain / table);
    }
    return 0;
}
