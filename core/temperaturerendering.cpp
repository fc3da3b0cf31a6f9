#include "temperaturerendering.h"

#include <cmath>

int shownPalette(const PhotoRecord &record)
{
    return record.paletteIndex >= 0 ? record.paletteIndex : kIronRedPalette;
}

bool canRenderTemperatures(const PhotoRecord &record)
{
    const TemperatureMatrix *matrix = record.matrix.get();
    return record.hasTemperature && matrix && record.width > 0 && matrix->width() == record.width
        && matrix->height() == record.height && record.stats.min != NA_TEMPERATURE
        && record.stats.max != NA_TEMPERATURE;
}

bool showsTemperatures(const PhotoRecord &record)
{
    return record.rendering == Rendering::Temperatures && canRenderTemperatures(record);
}

QImage renderTemperatures(const TemperatureMatrix &matrix, const Palette &palette, float low, float high)
{
    if (palette.isEmpty() || matrix.empty())
        return QImage();
    QImage image(matrix.width(), matrix.height(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    // Entry i stands for [low + i w, low + (i + 1) w), w = (high - low) / entries; one look-up
    // in the palette per pixel. Dividing last keeps the entries' borders exact.
    const int entries = palette.size();
    const float last = float(entries - 1);
    const float width = high - low;
    const bool flat = !(width > 0.0f) || !std::isfinite(width);
    const QRgb *colours = palette.constData();
    for (int y = 0; y < matrix.height(); ++y) {
        const float *in = matrix.row(y);
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < matrix.width(); ++x) {
            const float t = in[x];
            if (t == NA_TEMPERATURE || std::isnan(t)) {
                out[x] = kNoReadingColour;
                continue;
            }
            const float u = flat ? float(entries / 2) : (t - low) * float(entries) / width;
            out[x] = colours[u <= 0.0f ? 0 : u >= last ? entries - 1 : int(u)];
        }
    }
    return image;
}
