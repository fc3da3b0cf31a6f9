#include "demoscene.h"

#include "photogenerator.h"
#include "plantedanomalies.h"

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

namespace {

// A demo photograph's camera, time and position, which change a little from shot to shot.
PhotoSpec demoShot(int index, ContainerKind kind, const char *gimbal, int width, int height)
{
    PhotoSpec shot;
    shot.kind = kind;
    shot.width = width;
    shot.height = height;
    shot.camera.gimbalType = gimbal;
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
    return shot;
}

// The panels of the inspection with their defects: each kind in a few shots, in the kind that
// stores tenths of a kelvin and the camera's GPS position, so their ΔT reads back as planted
// and they land on a map.
std::vector<std::vector<PlantedAnomaly>> demoDefects()
{
    return {{hotCell({300, 250}, 8, 24.0f), hotConnector({100, 420}, 8.5f)},
            {hotCell({420, 330}, 6, 12.5f)},
            {diodeBand(QRect(170, 190, 60, 10), 7.5f)},
            {diodeBand(QRect(360, 400, 70, 10), 15.0f), hotCell({120, 260}, 8, 30.0f)},
            {hotConnector({500, 300}, 35.0f)},
            {hotConnector({250, 460}, 18.0f), diodeBand(QRect(480, 140, 60, 12), 9.0f)}};
}

} // namespace

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
    std::vector<PhotoSpec> shots;
    for (const Demo &demo : demos) {
        const int index = int(shots.size()) + 1;
        shots.push_back(demoShot(index, demo.kind, demo.gimbal, demo.width, demo.height));
        shots.back().temperatures = solarScene(demo.width, demo.height, index);
    }
    for (const std::vector<PlantedAnomaly> &defects : demoDefects()) {
        const int index = int(shots.size()) + 1;
        shots.push_back(demoShot(index, ContainerKind::InfoBlockDirect, "QT640", 640, 512));
        PhotoSpec &shot = shots.back();
        shot.temperatures = inspectionScene(shot.width, shot.height, index);
        plantAnomalies(shot.temperatures, shot.width, shot.height, defects);
    }
    QStringList paths;
    for (std::size_t i = 0; i < shots.size(); ++i) {
        const QString path = QDir(dir).filePath(QString("IR_%1.jpg").arg(int(i) + 1, 4, 10, QChar('0')));
        QString error;
        writePhoto(path, shots[i], &error);
        if (error.isEmpty())
            paths << path;
        else if (failures)
            *failures << error;
    }
    return paths;
}
