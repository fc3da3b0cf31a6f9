#pragma once

#include "photogenerator.h"
#include "temperaturematrix.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <vector>

// A gradient with a hot square and a cold corner: every pixel differs from its neighbours,
// the hottest and coldest pixels are known.
inline std::vector<float> gradientWithHotSquare(int width, int height)
{
    std::vector<float> t(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float v = 20.0f + 0.05f * float(x) + 0.03f * float(y);
            if (x >= width / 2 && x < width / 2 + 4 && y >= height / 3 && y < height / 3 + 4)
                v = 95.5f;
            if (x < 2 && y < 2)
                v = -12.25f;
            t[std::size_t(y) * width + x] = v;
        }
    }
    return t;
}

inline PhotoSpec specOf(ContainerKind kind, int width = 64, int height = 48)
{
    PhotoSpec shot;
    shot.kind = kind;
    shot.width = width;
    shot.height = height;
    shot.temperatures = gradientWithHotSquare(width, height);
    shot.exif.dateTimeOriginal = "2023:05:01 10:20:30";
    shot.exif.dateTimeDigitized = "2023-05-02 11:21:31";
    if (kind == ContainerKind::InfoBlockCalibrated)
        shot.camera.gimbalType = "PV245";
    return shot;
}

// Whole-frame statistics of a row-major field, ties keeping the first pixel.
inline TempStats statsOf(const std::vector<float> &t, int width)
{
    TempStats s;
    s.max = s.min = t[0];
    long double sum = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        sum += t[i];
        const QPointF at(double(i % std::size_t(width)), double(i / std::size_t(width)));
        if (t[i] > s.max) {
            s.max = t[i];
            s.maxPos = at;
        }
        if (t[i] < s.min) {
            s.min = t[i];
            s.minPos = at;
        }
    }
    s.avg = float(sum / t.size());
    return s;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
