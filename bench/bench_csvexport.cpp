// Exporting the CSV tables of 400 generated photographs with the whole `qct csv OUTDIR
// PHOTOS...` process on every core, as a median of a few runs, against two baselines of the
// same run: `cat` of the photographs (reading the input) and one fwrite per file of as many
// bytes as qct wrote for it (writing the output), single-threaded.
#include "benchphotoset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Seconds the process takes from its start to its end; stops the benchmark when it fails.
// What it prints (qct's diagnostics on standard error) is shown only then.
double runProcess(const QString &program, const QStringList &arguments, const QString &stdoutFile = QString())
{
    QProcess process;
    if (stdoutFile.isEmpty())
        process.setProcessChannelMode(QProcess::MergedChannels);
    else
        process.setStandardOutputFile(stdoutFile);
    const auto start = std::chrono::steady_clock::now();
    process.start(program, arguments);
    const bool finished = process.waitForStarted(-1) && process.waitForFinished(-1);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed (exit code %d): %s\n", qPrintable(program), process.exitCode(),
                     process.readAllStandardOutput().constData());
        std::exit(1);
    }
    return seconds;
}

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
    const QString qct = QCoreApplication::applicationDirPath() + "/qct";
    if (!QFileInfo(qct).isExecutable()) {
        std::fprintf(stderr, "%s not found: build the qct target\n", qPrintable(qct));
        return 1;
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
        outputs.emplace_back(QDir(plain).filePath(table.fileName()).toLocal8Bit(), std::size_t(table.size()));
        outputBytes += std::size_t(table.size());
        largest = std::max(largest, std::size_t(table.size()));
    }
    if (int(outputs.size()) != count) {
        std::fprintf(stderr, "qct wrote %d tables for %d photographs\n", int(outputs.size()), count);
        return 1;
    }
    const std::vector<char> block(largest, '7');
    const auto writePlain = [&] {
        const auto start = std::chrono::steady_clock::now();
        for (const auto &output : outputs) {
            std::FILE *file = std::fopen(output.first.constData(), "w");
            if (!file || std::fwrite(block.data(), 1, output.second, file) != output.second || std::fclose(file) != 0) {
                std::fprintf(stderr, "cannot write %s\n", output.first.constData());
                std::exit(1);
            }
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    emptyFolder(plain);
    writePlain();
    runProcess("cat", photos, "/dev/null");

    // Runs interleaved, so that a slow spell of the machine touches every figure alike.
    std::vector<double> qctSeconds, catSeconds, plainSeconds;
    for (int run = 0; run < runs; ++run) {
        emptyFolder(out);
        qctSeconds.push_back(runProcess(qct, qctArguments));
        catSeconds.push_back(runProcess("cat", photos, "/dev/null"));
        emptyFolder(plain);
        plainSeconds.push_back(writePlain());
    }
    const double exported = median(qctSeconds), read = median(catSeconds), written = median(plainSeconds);
    std::printf("%d photographs (%.1f MiB read, %.1f MiB of tables written), %d cores, median of %d runs:\n", count,
                inputBytes / 1048576.0, outputBytes / 1048576.0, QThread::idealThreadCount(), runs);
    std::printf("  qct csv OUTDIR PHOTOS...      %8.3f s  (%.1f photographs/s; runs %.3f to %.3f s)\n", exported,
                count / exported, *std::min_element(qctSeconds.begin(), qctSeconds.end()),
                *std::max_element(qctSeconds.begin(), qctSeconds.end()));
    std::printf("  cat PHOTOS... > /dev/null     %8.3f s  ratio qct/cat    %.1fx\n", read, exported / read);
    std::printf("  one fwrite per table          %8.3f s  ratio qct/fwrite %.1fx\n", written, exported / written);
    return 0;
}
