// Loads a generated photograph of each container kind into the photograph store (file in the
// page cache) and compares it with only reading the file's first MiB.
#include "diagnostics.h"
#include "photogenerator.h"
#include "demoscene.h"
#include "photostore.h"
#include "temperaturematrix.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include "benchtiming.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

QTemporaryDir *folder = nullptr;

QString photoOf(ContainerKind kind)
{
    const QString path = folder->filePath(QString("kind%1.jpg").arg(int(kind)));
    if (!QFile::exists(path)) {
        PhotoSpec shot;
        shot.kind = kind;
        shot.temperatures = solarScene(shot.width, shot.height, 3);
        shot.camera.gimbalType = kind == ContainerKind::InfoBlockCalibrated ? "PV120" : "QT640";
        shot.calibration.emissivity = 95;
        shot.exif.hasGps = true;
        writePhoto(path, shot);
    }
    return path;
}

void readFirstMebibyte(const QString &path)
{
    std::vector<char> buffer(1048576);
    std::FILE *file = std::fopen(path.toLocal8Bit().constData(), "rb");
    benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), file));
    std::fclose(file);
}

void BM_ReadFirstMiB(benchmark::State &state)
{
    const QString path = photoOf(ContainerKind(state.range(0)));
    for (auto _ : state)
        readFirstMebibyte(path);
}

void BM_LoadPhotoRecord(benchmark::State &state)
{
    const QString path = photoOf(ContainerKind(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(PhotoStore::program().load(path));
    state.SetItemsProcessed(state.iterations());
}

// What every load of a 640 x 512 photograph stores besides reading the file: the matrix, built
// once (the record and the rotation table share it). No conversion at all.
double storedMatrixSeconds()
{
    const std::vector<float> frame(640 * 512, 21.5f);
    SharedMatrix kept;
    return secondsPer(
        [&] {
            TemperatureMatrix matrix(640, 512);
            std::copy(frame.begin(), frame.end(), matrix.row(0));
            kept = sharedMatrix(std::move(matrix));
            return kept->at(639, 511);
        },
        40);
}

const char *kindName(ContainerKind kind)
{
    switch (kind) {
    case ContainerKind::InfoBlockDirect: return "direct";
    case ContainerKind::InfoBlockCalibrated: return "calibrated";
    case ContainerKind::SegmentedRjpeg: return "segmented";
    case ContainerKind::CompanionIrg: return "companion";
    }
    return "";
}

} // namespace

BENCHMARK(BM_ReadFirstMiB)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadPhotoRecord)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setDiagnosticStream(nullptr);
    QTemporaryDir dir;
    folder = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("kinds 0..3: direct, calibrated (emissivity 95), segmented, companion; 640 x 512\n");
    for (ContainerKind kind : {ContainerKind::InfoBlockDirect, ContainerKind::InfoBlockCalibrated,
                               ContainerKind::SegmentedRjpeg, ContainerKind::CompanionIrg}) {
        const QString path = photoOf(kind);
        const double read = secondsPer([&] { readFirstMebibyte(path); return 0; }, 40);
        const double load = secondsPer([&] { return PhotoStore::program().load(path); }, 40);
        std::printf("%-10s: load %.3f ms (%.0f photographs/s), read of the first MiB %.3f ms, ratio %.1fx\n",
                    kindName(kind), load * 1e3, 1 / load, read * 1e3, load / read);
    }
    const double read = secondsPer([&] { readFirstMebibyte(photoOf(ContainerKind::InfoBlockDirect)); return 0; }, 40);
    const double stored = storedMatrixSeconds();
    std::printf("floor     : reading the direct photograph's first MiB and storing its matrix once, without "
                "converting anything: %.3f ms, ratio %.1fx\n",
                (read + stored) * 1e3, (read + stored) / read);
    return 0;
}
