// Statistics of a full-image rectangle and of a polygon over half the image of a 640 x 512
// matrix, against a plain loop that only sums the matrix, in one run.
#include "openedphotos.h"
#include "photostore.h"
#include "regionstatistics.h"

#include "benchtiming.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

const QString kPath = "/bench/photo.jpg";
const QRectF kImage(0, 0, 1000, 800);

void preparePhotograph()
{
    TemperatureMatrix m(640, 512);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 640; ++x)
            m[std::size_t(y)][std::size_t(x)] = 20.0f + 0.01f * float(x) + 0.02f * float(y);
    PhotoRecord record;
    record.path = kPath;
    record.hasTemperature = true;
    record.matrix = sharedMatrix(m);
    PhotoStore::program().insert(record);
    loadedPhotoPaths() = QStringList{kPath};
}

float plainSum()
{
    const SharedMatrix kept = PhotoStore::program().residentMatrix(kPath);
    const TemperatureMatrix &m = *kept;
    float sum = 0.0f;
    for (float t : m)
        sum += t;
    return sum;
}

RegionStats fullRectangle()
{
    return rectangleStatistics(kImage, kImage, 640, 512, TemperatureGrid::of(kPath));
}

// A diamond through the middles of the four sides: half the image.
RegionStats halfPolygon()
{
    return polygonStatistics({{500, 0}, {1000, 400}, {500, 800}, {0, 400}}, kImage, TemperatureGrid::of(kPath));
}

void BM_PlainSum(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(plainSum());
    state.SetItemsProcessed(state.iterations() * 640 * 512);
}

void BM_FullRectangle(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(fullRectangle());
    state.SetItemsProcessed(state.iterations() * 640 * 512);
}

void BM_HalfPolygon(benchmark::State &state)
{
    int pixels = 0;
    for (auto _ : state)
        pixels = halfPolygon().count;
    state.SetItemsProcessed(state.iterations() * pixels);
}

} // namespace

BENCHMARK(BM_PlainSum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRectangle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalfPolygon)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    preparePhotograph();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double plain = secondsPer(plainSum) / (640 * 512);
    const double rect = secondsPer(fullRectangle) / (640 * 512);
    const double polygon = secondsPer(halfPolygon) / halfPolygon().count;
    std::printf("plain sum %.0f Mpixel/s; full rectangle %.0f Mpixel/s (%.1fx the plain sum's time a pixel); "
                "half-image polygon (%d pixels) %.0f Mpixel/s (%.1fx)\n",
                1e-6 / plain, 1e-6 / rect, rect / plain, halfPolygon().count, 1e-6 / polygon, polygon / plain);
    return 0;
}
