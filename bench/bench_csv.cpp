// CSV tables written per second for a 640 x 512 photograph, against one fwrite of the same
// number of bytes, in one run.
#include "benchphoto.h"
#include "benchtiming.h"
#include "csvwriter.h"
#include "demoscene.h"
#include "diagnostics.h"
#include "photogenerator.h"
#include "photorecord.h"
#include "photostore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setDiagnosticStream(nullptr);
    QTemporaryDir dir;
    const PhotoRecord record = PhotoStore::program().snapshot(loadedBenchPhoto(dir, 4));
    writeCsvFile(dir.path(), "table", &record);
    const qint64 bytes = QFile(dir.filePath("table.csv")).size();
    const std::vector<char> block(std::size_t(bytes), '7');
    const QByteArray plainPath = dir.filePath("plain.csv").toLocal8Bit();

    const double table = secondsPer([&] { return writeCsvFile(dir.path(), "table", &record); }, 20);
    const double plain = secondsPer(
        [&] {
            std::FILE *file = std::fopen(plainPath.constData(), "w");
            const std::size_t n = std::fwrite(block.data(), 1, block.size(), file);
            std::fclose(file);
            return n;
        },
        20);
    std::printf("640 x 512 table, %lld bytes: %.2f ms (%.0f tables/s); one fwrite of as many bytes %.2f ms; "
                "ratio %.1fx\n",
                bytes, table * 1e3, 1 / table, plain * 1e3, table / plain);
    return 0;
}
