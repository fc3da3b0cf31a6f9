#pragma once

#include "hotspotcrop.h"
#include "hotspotdetector.h"
#include "photoposition.h"

#include <QImage>
#include <QObject>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <optional>
#include <thread>

// One anomaly found by a scan, with what the hot-spot table shows of its photograph.
struct FoundHotSpot
{
    QString path;
    QString time;
    std::optional<PhotoPosition> position;
    float reference = 0.0f;
    HotSpot spot;
    QImage crop; // the photograph around the anomaly in the palette's colours, the anomaly outlined
};

// Scans photographs for anomalies in the background, on every core, and hands each
// photograph's anomalies on in the order of the photographs. Nothing of a photograph is kept
// after its anomalies are found: memory does not grow with the number of photographs.
class HotSpotScan : public QObject
{
    Q_OBJECT
public:
    explicit HotSpotScan(QObject *parent = nullptr);
    ~HotSpotScan() override; // stops a running scan and waits for it

    // Starts scanning photos (a running scan is stopped first).
    void start(const QStringList &photos, const HotSpotSettings &settings);
    // Stops after the photographs being scanned; finished(true) follows.
    void cancel();
    // Stops at once and drops what the scan has not handed on yet; no finished follows.
    void stop();
    bool running() const { return m_running; }

signals:
    // The anomalies of one photograph (none is not signalled), highest ΔT first.
    void found(const QVector<FoundHotSpot> &spots);
    // A photograph that could not be read, with the loader's result code.
    void unreadable(const QString &path, int result);
    void progress(int done, int total);
    void finished(bool cancelled);

private:
    void stopThread();

    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    bool m_running = false;
    int m_generation = 0; // GUI thread only
};
