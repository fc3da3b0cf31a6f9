#include "diagnostics.h"
#include "photoloader.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void writeFile(const std::string &path, const std::uint8_t *data, std::size_t size)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
}

} // namespace

// Any file may be handed to the loader: as a photograph and as its own ".irg" companion it
// must give a code, never a crash or a read outside its buffers.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // One folder of the system's temporary folder for the whole run, removed with its files
    // when the run ends.
    static QTemporaryDir folder(QDir::tempPath() + "/qct-fuzz-replay-XXXXXX");
    if (!folder.isValid())
        std::abort();
    static const std::string base = QDir(folder.path()).filePath("photo").toStdString();
    static const bool quiet = (setDiagnosticStream(nullptr), true);
    (void)quiet;
    writeFile(base + ".jpg", data, size);
    writeFile(base + ".irg", data, size);
    // Mostly a small picture, which keeps the runs fast; now and then the full frame.
    const bool full = size > 0 && (data[size / 2] & 15) == 0;
    const int width = full ? 640 : 32;
    const int height = full ? 512 : 24;
    TempStats stats;
    IrInfo info;
    TemperatureMatrix matrix;
    const int result = loadIrImage((base + ".jpg").c_str(), width, height, &stats, info, matrix);
    if (result > 0 || result < LoadFrameIncomplete)
        std::abort();
    if (result == 0 && (matrix.height() != height || matrix.width() != width))
        std::abort();
    return 0;
}
