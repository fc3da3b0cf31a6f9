// Resident memory of the GUI's CSV export job (ExportFileThread) for 50 and for 400
// generated photographs: whether its peak stays flat as the list grows. Each count runs in
// a process of its own (this program started again with "--photos N") so that peaks do not
// mix. The growth is the peak during the job (VmHWM, reset just before it starts) over the
// resident size before it (VmRSS), once every record is loaded and every snapshot is made.
#include "benchphotoset.h"
#include "diagnostics.h"
#include "exportfilethread.h"
#include "snapshottables.h"
#include "photostore.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

// A field of /proc/self/status in KiB, -1 when absent.
long statusKiB(const char *field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Sets VmHWM back to the present VmRSS.
bool resetPeak()
{
    QFile clear("/proc/self/clear_refs");
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// One measurement: prints "N rssBeforeLoad rssBefore hwmDuring rssAfter written peakReset".
int measure(int argc, char **argv, int count)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setDiagnosticStream(nullptr);
    QTemporaryDir dir;
    const QStringList photos = writeBenchPhotoSet(dir.filePath("photos"), count);
    const long beforeLoad = statusKiB("VmRSS");
    for (const QString &photo : photos) {
        if (PhotoStore::program().load(photo) != 0) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(photo));
            return 1;
        }
    }
    // A small snapshot per photograph, registered the way the analysis page registers it.
    const QString snapshotFolder = dir.filePath("snapshots");
    QDir().mkpath(snapshotFolder);
    QImage picture(160, 128, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QStringList snapshots;
    for (const QString &photo : photos) {
        const QString snapshot = snapshotPathFor(photo, snapshotFolder);
        if (!picture.save(snapshot, "BMP")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(snapshot));
            return 1;
        }
        snapshotSources()[snapshot] = photo;
        snapshots << snapshot;
    }

    ExportFileThread job(dir.filePath("export"), snapshots, ExportFileThread::CsvTables);
    int written = -1;
    QObject::connect(&job, &ExportFileThread::OnExportFinished, [&](int done, int) { written = done; });
    QEventLoop loop;
    QObject::connect(&job, &QThread::finished, &loop, &QEventLoop::quit);
    const long before = statusKiB("VmRSS");
    const bool reset = resetPeak();
    job.start();
    loop.exec();
    QCoreApplication::processEvents(); // the job's last queued signals
    const long during = statusKiB("VmHWM");
    const long after = statusKiB("VmRSS");
    std::printf("%d %ld %ld %ld %ld %d %d\n", count, beforeLoad, before, during, after, written, reset ? 1 : 0);
    return written == count ? 0 : 1;
}

struct Figures
{
    int count = 0;
    long beforeLoad = 0, before = 0, during = 0, after = 0;
    int written = 0, reset = 0;
};

bool runMeasurement(int count, Figures &figures)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(), {"--photos", QString::number(count)});
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return false;
    const QByteArray line = process.readAllStandardOutput().trimmed();
    return std::sscanf(line.constData(), "%d %ld %ld %ld %ld %d %d", &figures.count, &figures.beforeLoad,
                       &figures.before, &figures.during, &figures.after, &figures.written, &figures.reset)
           == 7;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--photos") == 0)
        return measure(argc, argv, std::atoi(argv[2]));

    QCoreApplication app(argc, argv);
    Figures small, large;
    for (Figures *figures : {&small, &large}) {
        const int count = figures == &small ? 50 : 400;
        if (!runMeasurement(count, *figures)) {
            std::fprintf(stderr, "the measurement of %d photographs failed\n", count);
            return 1;
        }
        const double growth = (figures->during - figures->before) / 1024.0;
        std::printf("%3d photographs (%d tables written): records loaded %.0f MiB (%.2f MiB a photograph); "
                    "before the job VmRSS %.0f MiB, peak during it VmHWM %.0f MiB (+%.1f MiB), after it VmRSS "
                    "%.0f MiB%s\n",
                    figures->count, figures->written, (figures->before - figures->beforeLoad) / 1024.0,
                    (figures->before - figures->beforeLoad) / 1024.0 / figures->count, figures->before / 1024.0,
                    figures->during / 1024.0, growth, figures->after / 1024.0,
                    figures->reset ? "" : " (peak not reset: includes the loading)");
    }
    const double smallGrowth = (small.during - small.before) / 1024.0;
    const double largeGrowth = (large.during - large.before) / 1024.0;
    std::printf("peak growth of the job, 400 against 50 photographs: %.1f MiB / %.1f MiB = %.2fx "
                "(1x: flat; 8x: grows with the list)\n",
                largeGrowth, smallGrowth, smallGrowth > 0 ? largeGrowth / smallGrowth : 0.0);
    return 0;
}
