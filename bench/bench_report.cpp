// The combined PDF report as a whole `qct report` process over 100 and 400 generated
// photographs, against `qct csv` writing their CSV tables in the same run (median of 3 runs
// each), with the resident peak of the report process at each size: it must not grow with the
// number of photographs (pictures are drawn page by page, not kept).
#include "benchphotoset.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString kQct = QStringLiteral(QCT_PATH);

// Seconds the command took; stops the benchmark when it fails.
double timed(const QStringList &arguments)
{
    QElapsedTimer clock;
    clock.start();
    QProcess qct;
    qct.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    qct.start(kQct, arguments);
    if (!qct.waitForFinished(-1) || qct.exitCode() != 0) {
        std::fprintf(stderr, "qct %s failed\n", qPrintable(arguments.join(' ')));
        std::exit(1);
    }
    return clock.nsecsElapsed() / 1e9;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The largest resident peak of the children that have ended so far, in MiB.
double childrenPeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QStringList all = writeBenchPhotoSet(dir.filePath("photos"), 400);
    for (int count : {100, 400}) {
        const QStringList photos = all.mid(0, count);
        std::vector<double> report, csv;
        for (int round = 0; round < 3; ++round) {
            csv.push_back(timed(QStringList{"csv", dir.filePath("csv")} + photos));
            report.push_back(timed(QStringList{"report", dir.filePath("flight.pdf")} + photos));
        }
        const double r = median(report), c = median(csv);
        std::printf("%d photographs: qct report (PDF) %.2f s, qct csv %.2f s: %.2fx the CSV tables; resident peak of "
                    "any qct run so far %.0f MiB\n",
                    count, r, c, r / c, childrenPeakMiB());
        std::fflush(stdout);
    }
    return 0;
}
