// `qct hotspots PHOTOS...` against `qct info PHOTOS...` as whole processes over 100, 400 and
// 1,600 generated photographs, as a median of a few interleaved runs: the ratio of their
// times, photographs per second and each run's resident peak (wait4's ru_maxrss of the
// child), which must not grow with the number of photographs. Two sets: a flight over panels
// where one photograph in four shows a defect (a hot cell, a diode band or a hot connector),
// and the set bench_qctinfo reads, whose solar scenes hold two dozen anomalies each.
#include "benchphotoset.h"
#include "benchprocess.h"
#include "diagnostics.h"
#include "plantedanomalies.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

namespace {

// count photographs of panels IR_0001.jpg, ... in dir, of the direct kind; every fourth has a
// defect, the kinds in turn. Returns their paths in order.
QStringList writeFlightPhotoSet(const QString &dir, int count)
{
    QDir().mkpath(dir);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        PhotoSpec shot;
        shot.temperatures = inspectionScene(shot.width, shot.height, i % 4);
        std::vector<PlantedAnomaly> defects;
        const QPoint at(40 + (i * 37) % 520, 140 + (i * 53) % 320);
        if (i % 12 == 0)
            defects.push_back(hotCell(at, 8, 12.0f + float(i % 20)));
        else if (i % 12 == 4)
            defects.push_back(diodeBand(QRect(at, QSize(60, 10)), 8.0f + float(i % 10)));
        else if (i % 12 == 8)
            defects.push_back(hotConnector(at, 25.0f));
        plantAnomalies(shot.temperatures, shot.width, shot.height, defects);
        paths << dir + QString("/IR_%1.jpg").arg(i + 1, 4, 10, QChar('0'));
        writePhoto(paths.last(), shot);
    }
    return paths;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setDiagnosticStream(nullptr);
    const QByteArray qct = qctProgram();
    if (qct.isEmpty())
        return 1;
    QTemporaryDir dir;
    const int runs = 5;
    const QByteArray lines = QFile::encodeName(dir.filePath("hotspots.jsonl"));
    const std::pair<const char *, QStringList> sets[] = {
        {"flight over panels, a defect in one photograph in four", writeFlightPhotoSet(dir.filePath("flight"), 1600)},
        {"bench_qctinfo's solar scenes", writeBenchPhotoSet(dir.filePath("solar"), 1600)}};
    std::printf("qct hotspots against qct info of the same photographs, %d cores, median of %d runs:\n",
                QThread::idealThreadCount(), runs);
    for (const auto &[name, all] : sets) {
        std::printf("%s:\n", name);
        std::vector<double> peaks;
        for (const int count : {100, 400, 1600}) {
            const QStringList photos = all.mid(0, count);
            const QStringList info = QStringList{"info"} + photos;
            const QStringList hotspots = QStringList{"hotspots"} + photos;
            // Once each first, so that both read from the page cache; the anomalies are counted once.
            runProcess(qct, info);
            runProcess(qct, hotspots, lines.constData());
            QFile found(QFile::decodeName(lines));
            const int anomalies = found.open(QIODevice::ReadOnly) ? int(found.readAll().count('\n')) : -1;
            std::vector<double> infoSeconds, hotSeconds, infoPeaks, hotPeaks;
            for (int run = 0; run < runs; ++run) {
                const ProcessRun i = runProcess(qct, info);
                const ProcessRun h = runProcess(qct, hotspots);
                infoSeconds.push_back(i.seconds);
                infoPeaks.push_back(i.peakMiB);
                hotSeconds.push_back(h.seconds);
                hotPeaks.push_back(h.peakMiB);
            }
            const double infoTime = median(infoSeconds), hotTime = median(hotSeconds);
            peaks.push_back(median(hotPeaks));
            std::printf("  %4d photographs (%5d anomalies): hotspots %6.3f s (%5.0f photographs/s), info %6.3f s "
                        "(%5.0f photographs/s), ratio hotspots/info %4.2fx; resident peak hotspots %5.1f MiB, "
                        "info %5.1f MiB\n",
                        count, anomalies, hotTime, count / hotTime, infoTime, count / infoTime, hotTime / infoTime,
                        peaks.back(), median(infoPeaks));
        }
        std::printf("  hotspots' resident peak at 1,600 against 100 photographs: %.2fx (1x: flat)\n",
                    peaks.back() / peaks.front());
    }
    return 0;
}
