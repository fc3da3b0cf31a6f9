// Resident memory after opening a list of 200 generated 640 x 512 photographs the way the
// analysis page's load job does (every record with its matrix and its first turned copy).
#include "demoscene.h"
#include "diagnostics.h"
#include "photogenerator.h"
#include "photostore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

long residentKiB()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setDiagnosticStream(nullptr);
    QTemporaryDir dir;
    PhotoSpec shot;
    shot.temperatures = solarScene(shot.width, shot.height, 2);
    QStringList paths;
    for (int i = 0; i < 200; ++i) {
        paths << dir.filePath(QString("IR_%1.jpg").arg(i, 4, 10, QChar('0')));
        shot.kind = i % 2 ? ContainerKind::InfoBlockCalibrated : ContainerKind::InfoBlockDirect;
        shot.camera.gimbalType = i % 2 ? "PV120" : "QT640";
        writePhoto(paths.last(), shot);
    }
    const long before = residentKiB();
    for (const QString &path : paths)
        PhotoStore::program().load(path);
    const long after = residentKiB();
    std::printf("200 photographs 640 x 512: resident %.0f MiB before loading, %.0f MiB after (%.2f MiB a "
                "photograph; limit 1.5 GB)\n",
                before / 1024.0, after / 1024.0, (after - before) / 1024.0 / 200);
    return 0;
}
