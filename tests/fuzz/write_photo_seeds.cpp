// Writes the seed corpus of the loader fuzz target: a small photograph of every container
// kind from the generator, and a few damaged copies.
#include "demoscene.h"
#include "photogenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(dir.path());
    const struct
    {
        ContainerKind kind;
        const char *name;
    } kinds[] = {{ContainerKind::InfoBlockDirect, "direct"},
                 {ContainerKind::InfoBlockCalibrated, "calibrated"},
                 {ContainerKind::SegmentedRjpeg, "segmented"},
                 {ContainerKind::CompanionIrg, "companion"}};
    for (const auto &k : kinds) {
        PhotoSpec shot;
        shot.kind = k.kind;
        shot.width = 32;
        shot.height = 24;
        shot.temperatures = solarScene(32, 24, 1);
        shot.camera.gimbalType = k.kind == ContainerKind::InfoBlockCalibrated ? "PV120" : "QT640";
        shot.exif.dateTimeOriginal = "2024:06:01 09:30:00";
        shot.exif.hasGps = true;
        const QString path = dir.filePath(QString(k.name) + ".jpg");
        writePhoto(path, shot);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        QFile cut(dir.filePath(QString(k.name) + "-cut.jpg"));
        cut.open(QIODevice::WriteOnly);
        cut.write(bytes.left(bytes.size() / 3));
    }
    // The companion's frame lives in its own file; as a seed it is a photograph of its own.
    QFile::remove(dir.filePath("companion.irg"));
    return 0;
}
