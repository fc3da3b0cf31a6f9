// Thumbnails per second for a folder of 500 generated photographs: the full decode scaled
// afterwards with a 10 ms pause each (the grid's old way) against the decode at thumbnail
// size with no pause (the way the home page fills its grid now), in one run.
#include "benchtiming.h"
#include "demoscene.h"
#include "photogenerator.h"
#include "screenlayout.h"
#include "thumbnail.h"
#include "waitwithevents.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int count = 500;
    QStringList paths;
    PhotoSpec shot;
    shot.temperatures = solarScene(shot.width, shot.height, 1);
    for (int i = 0; i < count; ++i) {
        paths << dir.filePath(QString("IR_%1.jpg").arg(i, 4, 10, QChar('0')));
        writePhoto(paths.last(), shot);
    }
    const ScreenLayout layout = screenLayoutForHeight(1080);
    const QSize size(layout.thumbWidth, layout.thumbHeight);

    const double decodeOld = secondsPer(
        [&] {
            for (const QString &path : paths)
                benchmark::DoNotOptimize(QPixmap(path).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            return 0;
        },
        1);
    const double decodeNew = secondsPer(
        [&] {
            for (const QString &path : paths)
                benchmark::DoNotOptimize(loadThumbnail(path, size));
            return 0;
        },
        1);
    // The pauses of the old loop, measured as the loop made them.
    const double pauses = secondsPer(
        [&] {
            for (int i = 0; i < 50; ++i)
                waitWithEvents(10);
            return 0;
        },
        1) * count / 50;
    const double old = decodeOld + pauses;
    std::printf("%d photographs 640 x 512 into %d x %d thumbnails:\n", count, size.width(), size.height());
    std::printf("  old: full decode %.0f ms + pauses %.0f ms = %.0f thumbnails/s\n", decodeOld * 1e3, pauses * 1e3,
                count / old);
    std::printf("  new: decode at thumbnail size %.0f ms = %.0f thumbnails/s (%.1fx the old way; %.1fx without its pauses)\n",
                decodeNew * 1e3, count / decodeNew, old / decodeNew, decodeOld / decodeNew);
    return 0;
}
