// `qct info PHOTOS...` as a whole process over 100, 400 and 1,600 generated photographs, as a
// median of a few runs, against `cat` of the same files in the same run; and the resident peak
// of each qct run (wait4's ru_maxrss of the child), which must not grow with the number of
// photographs.
#include "benchphotoset.h"
#include "benchprocess.h"
#include "diagnostics.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setDiagnosticStream(nullptr);
    const QByteArray qct = qctProgram();
    if (qct.isEmpty())
        return 1;
    QTemporaryDir dir;
    const int runs = 5;
    const QStringList all = writeBenchPhotoSet(dir.filePath("photos"), 1600);
    std::printf("qct info against cat of the same photographs, %d cores, median of %d runs:\n",
                QThread::idealThreadCount(), runs);
    std::vector<double> peaks;
    for (const int count : {100, 400, 1600}) {
        const QStringList photos = all.mid(0, count);
        const QStringList arguments = QStringList{"info"} + photos;
        qint64 bytes = 0;
        for (const QString &photo : photos)
            bytes += QFileInfo(photo).size();
        // Once each first, so that both read from the page cache.
        runProcess(qct, arguments);
        runProcess("cat", photos);
        // Runs interleaved, so that a slow spell of the machine touches both figures alike.
        std::vector<double> qctSeconds, catSeconds, qctPeaks;
        for (int run = 0; run < runs; ++run) {
            const ProcessRun info = runProcess(qct, arguments);
            qctSeconds.push_back(info.seconds);
            qctPeaks.push_back(info.peakMiB);
            catSeconds.push_back(runProcess("cat", photos).seconds);
        }
        const double info = median(qctSeconds), read = median(catSeconds);
        peaks.push_back(median(qctPeaks));
        std::printf("  %4d photographs (%6.1f MiB): qct info %6.3f s (%5.0f photographs/s), cat %6.3f s, "
                    "ratio qct/cat %4.2fx; qct resident peak %5.1f MiB\n",
                    count, bytes / 1048576.0, info, count / info, read, info / read, peaks.back());
    }
    std::printf("resident peak at 1,600 against 100 photographs: %.2fx (1x: flat)\n", peaks.back() / peaks.front());
    return 0;
}
