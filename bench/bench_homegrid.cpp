// The home page's import of folders of 100, 400 and 2,000 generated 640 x 512 photographs
// (benchphotoset.h), each size several times in one process, medians printed:
//   first   - from importFolder() to the first thumbnail painted by the grid;
//   all     - until every thumbnail has reached the grid and the grid has repainted;
//   decode  - decoding the same thumbnails alone on one thread (and on as many threads as the
//             page uses), measured in the same run: "all" is given as a ratio against them;
//   pause   - the longest gap between the ticks of a 2 ms timer from just before the import
//             until everything is shown: how long the event loop was ever kept from running;
//   each    - "all" divided by the number of photographs.
// Usage: bench_homegrid [RUNS] (5 by default). Timings are printed, never checked.
#include "benchphotoset.h"
#include "homepage.h"
#include "photogridmodel.h"
#include "screenlayout.h"
#include "thumbnail.h"
#include "thumbnailloader.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListView>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Forwards to the grid's own delegate and notes when it first paints a decoded thumbnail and
// when it last painted at all.
class PaintWatch : public QAbstractItemDelegate
{
public:
    PaintWatch(QAbstractItemDelegate *inner, const QElapsedTimer &clock, QObject *parent)
        : QAbstractItemDelegate(parent)
        , m_inner(inner)
        , m_clock(clock)
    {
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_inner->paint(painter, option, index);
        lastPaint = m_clock.nsecsElapsed();
        if (firstThumbnail < 0 && index.data(PhotoGridModel::StateRole).toInt() == PhotoGridModel::Ready)
            firstThumbnail = lastPaint;
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return m_inner->sizeHint(option, index);
    }
    mutable qint64 firstThumbnail = -1;
    mutable qint64 lastPaint = -1;

private:
    QAbstractItemDelegate *m_inner;
    const QElapsedTimer &m_clock;
};

struct Run
{
    double listed = 0, first = 0, all = 0, decodeOne = 0, decodePool = 0, pause = 0;
};

double msSince(const QElapsedTimer &clock, qint64 start)
{
    return double(clock.nsecsElapsed() - start) / 1e6;
}

double decodeAlone(const QStringList &paths, const QSize &size, int threads)
{
    QElapsedTimer clock;
    clock.start();
    std::atomic<int> next{0};
    auto work = [&] {
        for (int i; (i = next.fetch_add(1)) < paths.size();)
            roundedThumbnailImage(paths[i], size);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread &t : pool)
        t.join();
    return double(clock.nsecsElapsed()) / 1e6;
}

Run importOnce(const QString &folder, const QStringList &paths)
{
    const ScreenLayout &layout = shellValues().layout;
    const QSize size(layout.thumbWidth, layout.thumbHeight);
    Run run;

    HomePage page;
    page.resize(1600, 900); // a 1920 x 1080 screen's page: seven columns of five rows on screen
    page.show();
    QApplication::processEvents();
    const int threads = page.findChild<ThumbnailLoader *>()->threadCount();
    run.decodeOne = decodeAlone(paths, size, 1);
    run.decodePool = decodeAlone(paths, size, threads);

    QElapsedTimer clock;
    clock.start();
    QListView *grid = page.findChild<QListView *>("listWidget_photo");
    auto *watch = new PaintWatch(grid->itemDelegate(), clock, grid);
    grid->setItemDelegate(watch);

    // The event loop's pulse: a precise 2 ms timer, started before the import.
    qint64 lastTick = -1, longestGap = 0;
    QTimer pulse;
    pulse.setTimerType(Qt::PreciseTimer);
    pulse.setInterval(2);
    QObject::connect(&pulse, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastTick >= 0)
            longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });
    pulse.start();
    QEventLoop settle;
    QTimer::singleShot(20, &settle, &QEventLoop::quit);
    settle.exec();

    qint64 finishedAt = -1;
    QEventLoop loop;
    QObject::connect(&page, &HomePage::sig_importFinished, [&](bool) {
        finishedAt = clock.nsecsElapsed();
        grid->viewport()->update(); // what is on screen is painted once more with everything in
    });
    QTimer check;
    check.setInterval(1);
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (finishedAt >= 0 && watch->lastPaint > finishedAt)
            loop.quit();
    });
    const qint64 start = clock.nsecsElapsed();
    longestGap = 0;
    page.importFolder(folder);
    run.listed = msSince(clock, start);
    check.start();
    loop.exec();
    // The pulse's last gap runs to the final paint.
    longestGap = std::max(longestGap, watch->lastPaint - lastTick);
    run.first = double(watch->firstThumbnail - start) / 1e6;
    run.all = double(watch->lastPaint - start) / 1e6;
    run.pause = double(longestGap) / 1e6;
    if (page.findChild<PhotoGridModel *>()->settledCount() != paths.size())
        std::printf("  (not every thumbnail arrived)\n");
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    shellValues().layout = screenLayoutForHeight(1080);

    QTemporaryDir dir;
    const QStringList all = writeBenchPhotoSet(dir.filePath("all"), 2000);
    const int threads = HomePage().findChild<ThumbnailLoader *>()->threadCount();
    std::printf("Home page import, 640 x 512 photographs into %d x %d thumbnails, %d decoding threads, "
                "median of %d runs:\n",
                shellValues().layout.thumbWidth, shellValues().layout.thumbHeight, threads, runs);
    std::printf("%6s %9s %9s %9s %11s %9s %9s %9s %9s %9s\n", "photos", "listed", "first", "all", "decode 1/N",
                "all/dec1", "all/decN", "pause", "each", "dec1 each");
    for (int count : {100, 400, 2000}) {
        // A folder of its own, the photographs hard-linked from the set.
        const QString folder = dir.filePath(QString("n%1").arg(count));
        QDir().mkpath(folder);
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths << folder + "/" + QFileInfo(all[i]).fileName();
            if (::link(QFile::encodeName(all[i]).constData(), QFile::encodeName(paths.last()).constData()) != 0)
                QFile::copy(all[i], paths.last());
        }
        std::vector<double> listed, first, total, decodeOne, decodePool, pause, ratioOne, ratioPool;
        for (int r = 0; r < runs; ++r) {
            const Run run = importOnce(folder, paths);
            listed.push_back(run.listed);
            first.push_back(run.first);
            total.push_back(run.all);
            decodeOne.push_back(run.decodeOne);
            decodePool.push_back(run.decodePool);
            pause.push_back(run.pause);
            ratioOne.push_back(run.all / run.decodeOne);
            ratioPool.push_back(run.all / run.decodePool);
        }
        std::printf("%6d %7.1fms %7.1fms %7.0fms %5.0f/%-5.0f %8.2fx %8.2fx %7.1fms %7.3fms %7.3fms\n", count,
                    median(listed), median(first), median(total), median(decodeOne), median(decodePool),
                    median(ratioOne), median(ratioPool), median(pause), median(total) / count,
                    median(decodeOne) / count);
        std::fflush(stdout);
    }
    return 0;
}
