#pragma once

#include "demoscene.h"
#include "photogenerator.h"
#include "photostore.h"

#include <QTemporaryDir>

// A 640 x 512 demo scene written into dir as IR_0001.jpg and loaded: the photograph the
// benchmarks work on.
inline QString loadedBenchPhoto(const QTemporaryDir &dir, int variant)
{
    const QString path = dir.filePath("IR_0001.jpg");
    PhotoSpec shot;
    shot.temperatures = solarScene(shot.width, shot.height, variant);
    writePhoto(path, shot);
    PhotoStore::program().load(path);
    return path;
}
