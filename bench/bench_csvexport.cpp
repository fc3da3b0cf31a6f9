// Exporting the CSV tables of 400 generated photographs with the whole `qct csv OUTDIR
// PHOTOS...` process on every core, as a median of a few runs, against baselines of the same
// run: `cat` of the photographs (reading the input) and one fwrite per file of as many bytes as
// qct wrote for it (writing the output), single-threaded, once as it stays in the page cache and
// once made durable with fdatasync as QSaveFile makes each table. With `--against OLDQCT`, an
// older build of qct is timed in the same runs. The resident peak of qct csv for 100 and for
// 400 photographs shows whether its memory stays flat. The tables go under TMPDIR (set it to a
// tmpfs to leave the disk out).
#include "benchphotoset.h"
#include "benchprocess.h"
#include "diagnostics.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// An empty folder at path, its earlier contents removed; the removed files' writes are
// settled first so that they do not fall into the next timed run.
void emptyFolder(const QString &path)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    ::sync();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setDiagnosticStream(nullptr);
    const QByteArray qct = QFile::encodeName(QCoreApplication::applicationDirPath() + "/qct");
    const QByteArray older = argc == 3 && std::strcmp(argv[1], "--against") == 0 ? QByteArray(argv[2]) : QByteArray();
    for (const QByteArray &program : {qct, older}) {
        if (!program.isEmpty() && !QFileInfo(QFile::decodeName(program)).isExecutable()) {
            std::fprintf(stderr, "%s not found: build the qct target\n", program.constData());
            return 1;
        }
    }
    QTemporaryDir dir;
    const int count = 400;
    const int runs = 5;
    const QStringList photos = writeBenchPhotoSet(dir.filePath("photos"), count);
    qint64 inputBytes = 0;
    for (const QString &photo : photos)
        inputBytes += QFileInfo(photo).size();
    const QString out = dir.filePath("out");
    const QString plain = dir.filePath("plain");
    const QStringList qctArguments = QStringList{"csv", out} + photos;

    // A first run of qct writes the tables whose sizes the fwrite baseline copies.
    emptyFolder(out);
    runProcess(qct, qctArguments);
    std::vector<std::pair<QByteArray, std::size_t>> outputs;
    std::size_t outputBytes = 0, largest = 0;
    for (const QFileInfo &table : QDir(out).entryInfoList({"*.csv"}, QDir::Files, QDir::Name)) {
        outputs.emplace_back(QFile::encodeName(QDir(plain).filePath(table.fileName())), std::size_t(table.size()));
        outputBytes += std::size_t(table.size());
        largest = std::max(largest, std::size_t(table.size()));
    }
    if (int(outputs.size()) != count) {
        std::fprintf(stderr, "qct wrote %d tables for %d photographs\n", int(outputs.size()), count);
        return 1;
    }
    const std::vector<char> block(largest, '7');
    const auto writePlain = [&](bool durable) {
        emptyFolder(plain);
        const auto start = std::chrono::steady_clock::now();
        for (const auto &output : outputs) {
            std::FILE *file = std::fopen(output.first.constData(), "w");
            if (!file || std::fwrite(block.data(), 1, output.second, file) != output.second
                || (durable && (std::fflush(file) != 0 || ::fdatasync(::fileno(file)) != 0)) || std::fclose(file) != 0) {
                std::fprintf(stderr, "cannot write %s\n", output.first.constData());
                std::exit(1);
            }
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    writePlain(false);
    runProcess("cat", photos);

    // Runs interleaved, so that a slow spell of the machine touches every figure alike.
    std::vector<double> qctSeconds, olderSeconds, catSeconds, plainSeconds, durableSeconds;
    for (int run = 0; run < runs; ++run) {
        emptyFolder(out);
        qctSeconds.push_back(runProcess(qct, qctArguments).seconds);
        if (!older.isEmpty()) {
            emptyFolder(out);
            olderSeconds.push_back(runProcess(older, qctArguments).seconds);
        }
        catSeconds.push_back(runProcess("cat", photos).seconds);
        plainSeconds.push_back(writePlain(false));
        durableSeconds.push_back(writePlain(true));
    }
    // The resident peak for a quarter of the photographs and for all of them.
    std::vector<double> peaks;
    for (const int n : {count / 4, count}) {
        emptyFolder(out);
        peaks.push_back(runProcess(qct, QStringList{"csv", out} + photos.mid(0, n)).peakMiB);
    }

    const double exported = median(qctSeconds), read = median(catSeconds), written = median(plainSeconds),
                 durable = median(durableSeconds);
    std::printf("%d photographs (%.1f MiB read, %.1f MiB of tables written), %d cores, median of %d runs:\n", count,
                inputBytes / 1048576.0, outputBytes / 1048576.0, QThread::idealThreadCount(), runs);
    std::printf("  qct csv OUTDIR PHOTOS...          %8.3f s  (%.1f photographs/s; runs %.3f to %.3f s)\n", exported,
                count / exported, *std::min_element(qctSeconds.begin(), qctSeconds.end()),
                *std::max_element(qctSeconds.begin(), qctSeconds.end()));
    if (!older.isEmpty()) {
        const double before = median(olderSeconds);
        std::printf("  %s csv                 %8.3f s  (%.1f photographs/s): qct %.2fx its photographs/s\n",
                    older.constData(), before, count / before, before / exported);
    }
    std::printf("  cat PHOTOS... > /dev/null         %8.3f s  ratio qct/cat    %.1fx\n", read, exported / read);
    std::printf("  one fwrite per table              %8.3f s  ratio qct/fwrite %.1fx\n", written, exported / written);
    std::printf("  one fwrite + fdatasync per table  %8.3f s  ratio qct/(fwrite + fdatasync) %.2fx\n", durable,
                exported / durable);
    std::printf("  cat + one fwrite per table        %8.3f s  ratio qct/(cat + fwrite) %.1fx; "
                "qct/(cat + fwrite + fdatasync) %.2fx\n",
                read + written, exported / (read + written), exported / (read + durable));
    std::printf("  resident peak of qct csv: %d photographs %.1f MiB, %d photographs %.1f MiB (%.2fx; 1x: flat)\n",
                count / 4, peaks[0], count, peaks[1], peaks[1] / peaks[0]);
    return 0;
}
