#include "hotspotscan.h"

#include "orderedrun.h"
#include "photohotspots.h"
#include "temperaturerendering.h"

#include <QFile>
#include <QPainter>

#include <algorithm>

namespace {

struct ScannedPhoto
{
    int result = LoadOk;
    QString path;
    QVector<FoundHotSpot> spots;
};

// The crop of the photograph's frame, drawn over its own minimum to maximum, with the
// anomaly's bounds outlined.
QImage cropOf(const QImage &frame, const QRect &bounds)
{
    const QRect area = cropAround(bounds, frame.size());
    QImage crop = frame.copy(area);
    QPainter painter(&crop);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(bounds.translated(-area.topLeft()).adjusted(0, 0, -1, -1));
    return crop;
}

ScannedPhoto scan(const QString &path, const HotSpotSettings &settings, const Palette &palette)
{
    // One record per thread: its matrix block serves photograph after photograph.
    thread_local PhotoRecord record;
    ScannedPhoto scanned;
    scanned.path = path;
    const PhotoHotSpots photo = scanPhotoHotSpots(QFile::encodeName(path), settings, record);
    scanned.result = photo.result;
    if (photo.result != LoadOk || photo.found.spots.isEmpty())
        return scanned;
    const QImage frame = renderTemperatures(*record.matrix, palette, record.stats.min, record.stats.max);
    for (const HotSpot &spot : photo.found.spots)
        scanned.spots.append({path, photo.time, photo.position, photo.found.reference, spot, cropOf(frame, spot.bounds)});
    return scanned;
}

} // namespace

QRect cropAround(const QRect &bounds, const QSize &frame)
{
    const int width = std::min(frame.width(), std::max(kCropSide, bounds.width() + 8));
    const int height = std::min(frame.height(), std::max(kCropSide, bounds.height() + 8));
    // Equal margins on both sides, as far as the frame allows.
    const int left = std::clamp(bounds.left() - (width - bounds.width()) / 2, 0, frame.width() - width);
    const int top = std::clamp(bounds.top() - (height - bounds.height()) / 2, 0, frame.height() - height);
    return QRect(left, top, width, height);
}

HotSpotScan::HotSpotScan(QObject *parent) : QObject(parent) {}

HotSpotScan::~HotSpotScan()
{
    stopThread();
}

void HotSpotScan::start(const QStringList &photos, const HotSpotSettings &settings, const Palette &palette)
{
    stopThread();
    m_cancel = false;
    m_running = true;
    // What an earlier scan still has queued to this object is dropped by its generation.
    const int generation = ++m_generation;
    m_thread = std::thread([this, generation, photos, settings, palette] {
        const int total = photos.size();
        const int done = runInOrder<ScannedPhoto>(
            total, [&](int i) { return scan(photos.at(i), settings, palette); },
            [&](int i, ScannedPhoto &scanned) {
                // Queued to this object: dropped if it is gone by then.
                QMetaObject::invokeMethod(this, [this, generation, i, total, scanned] {
                    if (generation != m_generation)
                        return;
                    if (scanned.result != LoadOk)
                        emit unreadable(scanned.path, scanned.result);
                    else if (!scanned.spots.isEmpty())
                        emit found(scanned.spots);
                    emit progress(i + 1, total);
                }, Qt::QueuedConnection);
                return true;
            },
            QThread::idealThreadCount(), &m_cancel);
        const bool cancelled = done < total;
        QMetaObject::invokeMethod(this, [this, generation, cancelled] {
            if (generation != m_generation)
                return;
            m_running = false;
            emit finished(cancelled);
        }, Qt::QueuedConnection);
    });
}

void HotSpotScan::cancel()
{
    m_cancel = true;
}

void HotSpotScan::stopThread()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
    m_running = false;
}
