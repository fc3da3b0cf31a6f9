#include "heatmapdata.h"

QVector<LegendTick> legendTicks(float maximum, float minimum)
{
    const float range = maximum - minimum;
    int ticks = 19, spacing = 21;
    if (range < 20) {
        ticks = 8;
        spacing = 54;
    } else if (range < 50) {
        ticks = 10;
        spacing = 42;
    } else if (range < 150) {
        ticks = 12;
        spacing = 34;
    } else if (range < 300) {
        ticks = 15;
        spacing = 27;
    }
    QVector<LegendTick> result;
    for (int i = 0; i < ticks; ++i) {
        const float value = i == ticks - 1 ? minimum : maximum - (range / float(ticks)) * float(i);
        result.append({10 + i * spacing, QString("%1").arg(double(value), 0, 'f', 1) + QString::fromUtf8("℃")});
    }
    return result;
}

QtDataVisualization::QSurfaceDataArray *surfaceDataArray(const TemperatureMatrix &matrix, int width, int height)
{
    using namespace QtDataVisualization;
    if (width <= 0 || height <= 0 || matrix.height() < height || matrix.width() < width)
        return nullptr;
    auto *rows = new QSurfaceDataArray;
    rows->reserve(width);
    for (int x = 0; x < width; ++x) {
        auto *row = new QSurfaceDataRow(height);
        for (int y = 0; y < height; ++y)
            (*row)[y].setPosition(QVector3D(float(y), matrix.at(x, y), float(x)));
        rows->append(row);
    }
    return rows;
}
