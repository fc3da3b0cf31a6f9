#pragma once

#include "demoscene.h"
#include "photogenerator.h"

#include <QDir>
#include <QStringList>

#include <vector>

// count generated photographs IR_0001.jpg, IR_0002.jpg, ... written into dir: 640 x 512
// solar scenes (four variants in turn), nine in ten of the direct kind and every tenth
// calibrated. Returns their paths in order.
inline QStringList writeBenchPhotoSet(const QString &dir, int count)
{
    QDir().mkpath(dir);
    std::vector<std::vector<float>> scenes;
    for (int variant = 0; variant < 4; ++variant)
        scenes.push_back(solarScene(640, 512, variant));
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        PhotoSpec shot;
        shot.temperatures = scenes[std::size_t(i) % scenes.size()];
        const bool calibrated = i % 10 == 9;
        shot.kind = calibrated ? ContainerKind::InfoBlockCalibrated : ContainerKind::InfoBlockDirect;
        shot.camera.gimbalType = calibrated ? "PV120" : "QT640";
        paths << dir + QString("/IR_%1.jpg").arg(i + 1, 4, 10, QChar('0'));
        writePhoto(paths.last(), shot);
    }
    return paths;
}
