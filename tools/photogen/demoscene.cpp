#include "demoscene.h"

#include "photogenerator.h"

#include <QDir>

#include <cmath>

std::vector<float> solarScene(int width, int height, int variant)
{
    std::vector<float> t(std::size_t(width) * std::size_t(height));
    const int horizon = height / 4;
    const double hotX = width * (0.3 + 0.05 * (variant % 9));
    const double hotY = horizon + (height - horizon) * (0.35 + 0.04 * (variant % 7));
    const double hotRadius = std::max(3.0, width / 60.0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double v;
            if (y < horizon) {
                v = -8.0 + 10.0 * y / horizon; // sky, warmer toward the horizon
            } else {
                const int panelRow = (y - horizon) / std::max(1, height / 10);
                const bool gap = (y - horizon) % std::max(1, height / 10) < std::max(1, height / 60)
                    || x % std::max(1, width / 8) < std::max(1, width / 120);
                v = gap ? 24.0 + 0.01 * x : 34.0 + 0.8 * panelRow + 1.5 * std::sin(x * 0.05 + variant);
            }
            const double d = std::hypot(x - hotX, y - hotY);
            if (d < hotRadius * 3)
                v += (35.0 + 3 * variant) * std::exp(-d * d / (2 * hotRadius * hotRadius));
            t[std::size_t(y) * width + x] = float(v);
        }
    }
    return t;
}

QStringList writeDemoFolder(const QString &dir, QStringList *failures)
{
    QDir().mkpath(dir);
    struct Demo
    {
        ContainerKind kind;
        const char *gimbal;
        int width, height;
    };
    const Demo demos[] = {
        {ContainerKind::InfoBlockDirect, "QT640", 640, 512},     {ContainerKind::InfoBlockCalibrated, "PV120", 640, 512},
        {ContainerKind::InfoBlockCalibrated, "PV245", 640, 512}, {ContainerKind::SegmentedRjpeg, "", 640, 512},
        {ContainerKind::CompanionIrg, "", 640, 512},              {ContainerKind::InfoBlockDirect, "QT320", 320, 256},
        {ContainerKind::InfoBlockCalibrated, "PV246", 640, 512}, {ContainerKind::InfoBlockCalibrated, "PV258", 640, 512},
        {ContainerKind::InfoBlockDirect, "PV100", 640, 512},     {ContainerKind::SegmentedRjpeg, "", 640, 512},
        {ContainerKind::InfoBlockDirect, "QT640", 160, 120},     {ContainerKind::CompanionIrg, "", 640, 512},
    };
    QStringList paths;
    int index = 0;
    for (const Demo &demo : demos) {
        ++index;
        PhotoSpec shot;
        shot.kind = demo.kind;
        shot.width = demo.width;
        shot.height = demo.height;
        shot.temperatures = solarScene(demo.width, demo.height, index);
        shot.camera.gimbalType = demo.gimbal;
        shot.camera.gainMode = index % 4 == 0 ? 1 : 0;
        shot.camera.emissivity = 95;
        shot.camera.distance = 10 + index;
        shot.camera.lastFlatField = QString("2024-06-01 09:%1:00").arg(10 + index).toStdString();
        shot.calibration.emissivity = index % 2 ? 100 : 95;
        shot.exif.dateTimeOriginal = QString("2024:06:01 09:%1:%2").arg(10 + index).arg(index * 3, 2, 10, QChar('0')).toStdString();
        shot.exif.dateTimeDigitized = shot.exif.dateTimeOriginal;
        shot.exif.hasGps = true;
        shot.exif.gps.latitudeRef = 'N';
        shot.exif.gps.latitude[0] = {30, 1};
        shot.exif.gps.latitude[1] = {16, 1};
        shot.exif.gps.latitude[2] = {std::uint32_t(2670 + 13 * index), 100};
        shot.exif.gps.longitudeRef = 'E';
        shot.exif.gps.longitude[0] = {120, 1};
        shot.exif.gps.longitude[1] = {9, 1};
        shot.exif.gps.longitude[2] = {std::uint32_t(1830 + 17 * index), 100};
        shot.exif.gps.altitude = {std::uint32_t(800 + 5 * index), 10};
        const QString path = QDir(dir).filePath(QString("IR_%1.jpg").arg(index, 4, 10, QChar('0')));
        QString error;
        writePhoto(path, shot, &error);
        if (error.isEmpty())
            paths << path;
        else if (failures)
            *failures << error;
    }
    return paths;
}
