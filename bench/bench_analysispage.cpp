// The analysis page over lists of 100, 400 and 2,000 generated photographs, each size in a
// process of its own: the list opened, the background load finished, then paged through end to
// end with the next button. Printed: the resident peak (VmHWM), the bytes of matrices the
// store kept at the end, and the time each page took to show, with the pages whose matrix
// had been dropped (not cached) counted apart. Targets: under 1 GB resident at 2,000, and a
// photograph that is not cached shown within 150 ms.
#include "benchphotoset.h"
#include "diagnostics.h"
#include "photorecord.h"
#include "openedphotos.h"
#include "photostore.h"
#include "settingpage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double peakResidentMiB()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

int child(const QString &dir, int count)
{
    setDiagnosticStream(nullptr);
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << dir + QString("/IR_%1.jpg").arg(i + 1, 4, 10, QChar('0'));
    SettingPage page;
    page.setupView(512, 640);
    page.resize(1600, 900);
    page.show();
    QElapsedTimer clock;
    clock.start();
    page.slot_selectImg(list, 0);
    while (currentPhotoRecord().path != list[0])
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    page.waitForLoad();
    const double loadSeconds = clock.elapsed() / 1e3;

    std::vector<double> cached, dropped;
    QPushButton *next = page.findChild<QPushButton *>("btn_nextImg");
    for (int i = 1; i < count; ++i) {
        const bool resident = PhotoStore::program().isResident(list[i]);
        clock.restart();
        next->click();
        while (currentPhotoRecord().path != list[i])
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::processEvents(); // the picture painted
        (resident ? cached : dropped).push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("%5d photographs: resident peak %.0f MiB, matrices kept %.0f MiB (budget %.0f MiB), list loaded "
                "in %.1f s; paging: %zu cached pages median %.1f ms, max %.1f ms; %zu dropped (read again) "
                "median %.1f ms, 95th %.1f ms, max %.1f ms\n",
                count, peakResidentMiB(), PhotoStore::program().residentMatrixBytes() / 1048576.0, PhotoStore::program().matrixBudget() / 1048576.0,
                loadSeconds, cached.size(), percentile(cached, 0.5), percentile(cached, 1.0), dropped.size(),
                percentile(dropped, 0.5), percentile(dropped, 0.95), percentile(dropped, 1.0));
    page.cancelLoad();
    page.waitForLoad();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return child(QFile::decodeName(argv[2]), QByteArray(argv[3]).toInt());
    QTemporaryDir dir;
    std::printf("writing 2,000 photographs...\n");
    std::fflush(stdout);
    writeBenchPhotoSet(dir.path(), 2000);
    for (int count : {100, 400, 2000}) {
        QProcess run;
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(QCoreApplication::applicationFilePath(), {"--child", dir.path(), QString::number(count)});
        run.waitForFinished(-1);
    }
    return 0;
}
