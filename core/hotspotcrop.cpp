#include "hotspotcrop.h"

#include "temperaturerendering.h"

#include <QPainter>

#include <algorithm>

QImage hotSpotFrame(const TemperatureMatrix &matrix, const TempStats &stats)
{
    static const Palette iron = [] {
        QVector<Palette> palettes;
        loadPalettes(palettes);
        return palettes.value(kIronRedPalette);
    }();
    return renderTemperatures(matrix, iron, stats.min, stats.max);
}

QRect cropAround(const QRect &bounds, const QSize &frame)
{
    const int width = std::min(frame.width(), std::max(kCropSide, bounds.width() + 8));
    const int height = std::min(frame.height(), std::max(kCropSide, bounds.height() + 8));
    const int left = std::clamp(bounds.left() - (width - bounds.width()) / 2, 0, frame.width() - width);
    const int top = std::clamp(bounds.top() - (height - bounds.height()) / 2, 0, frame.height() - height);
    return QRect(left, top, width, height);
}

QImage hotSpotCrop(const QImage &frame, const QRect &bounds)
{
    const QRect area = cropAround(bounds, frame.size());
    QImage crop = frame.copy(area);
    QPainter painter(&crop);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(bounds.translated(-area.topLeft()).adjusted(0, 0, -1, -1));
    return crop;
}
