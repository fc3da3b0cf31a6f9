#include "hotspotscan.h"

#include "orderedrun.h"
#include "photohotspots.h"

#include <QFile>

#include <algorithm>

namespace {

struct ScannedPhoto
{
    int result = LoadOk;
    QString path;
    QVector<FoundHotSpot> spots;
};

ScannedPhoto scan(const QString &path, const HotSpotSettings &settings)
{
    // One record per thread: its matrix block serves photograph after photograph.
    thread_local PhotoRecord record;
    ScannedPhoto scanned;
    scanned.path = path;
    const PhotoHotSpots photo = scanPhotoHotSpots(QFile::encodeName(path), settings, record);
    scanned.result = photo.result;
    if (photo.result != LoadOk || photo.found.spots.isEmpty())
        return scanned;
    const QImage frame = hotSpotFrame(*record.matrix, record.stats);
    for (const HotSpot &spot : photo.found.spots)
        scanned.spots.append({path, photo.time, photo.position, photo.found.reference, spot, hotSpotCrop(frame, spot.bounds)});
    return scanned;
}

} // namespace

HotSpotScan::HotSpotScan(QObject *parent) : QObject(parent) {}

HotSpotScan::~HotSpotScan()
{
    stopThread();
}

void HotSpotScan::start(const QStringList &photos, const HotSpotSettings &settings)
{
    stopThread();
    m_cancel = false;
    m_running = true;
    // What an earlier scan still has queued to this object is dropped by its generation.
    const int generation = ++m_generation;
    m_thread = std::thread([this, generation, photos, settings] {
        const int total = photos.size();
        const int done = runInOrder<ScannedPhoto>(
            total, [&](int i) { return scan(photos.at(i), settings); },
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

void HotSpotScan::stop()
{
    stopThread();
    ++m_generation;
}

void HotSpotScan::stopThread()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
    m_running = false;
}
