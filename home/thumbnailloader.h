#pragma once

#include "photogridmodel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <QVector>

#include <functional>
#include <memory>

// Decodes the thumbnails of a list of photographs on worker threads, rows in order except
// that the rows asked for by prefer() (the ones on screen) go first. Results reach the GUI
// thread in batches, at most one batch per batchInterval(). A job is cancelled by cancel(),
// by the next start() and by the loader's destruction; nothing of a cancelled job is
// delivered afterwards.
class ThumbnailLoader : public QObject
{
    Q_OBJECT
public:
    using Decoder = std::function<QImage(const QString &path, const QSize &size)>;

    explicit ThumbnailLoader(QObject *parent = nullptr);
    ~ThumbnailLoader() override;

    void start(const QStringList &paths, const QSize &size);
    void cancel();
    // Rows first to last (inclusive) are decoded before any other row still waiting.
    void prefer(int first, int last);

    bool isRunning() const { return m_job != nullptr; }
    int total() const { return m_total; }
    int delivered() const { return m_delivered; }

    // What turns a path into a thumbnail (roundedThumbnailImage unless replaced); it runs on
    // the worker threads. Takes effect at the next start().
    void setDecoder(Decoder decoder);
    void setThreadCount(int threads);
    int threadCount() const;
    void setBatchInterval(int ms) { m_batchInterval = ms; }
    int batchInterval() const { return m_batchInterval; }

signals:
    void thumbnailsReady(const QVector<GridThumbnail> &batch);
    void progress(int delivered, int total);
    // Every thumbnail was delivered (cancelled false), or the job was cancelled.
    void finished(bool cancelled);

private:
    struct Job;
    void resultsArrived(const std::shared_ptr<Job> &job);
    void deliver();
    void endJob(bool cancelled);

    QThreadPool m_pool;
    Decoder m_decoder;
    std::shared_ptr<Job> m_job;
    QTimer m_batchTimer;
    QElapsedTimer m_sinceBatch;
    int m_batchInterval = 30;
    int m_total = 0;
    int m_delivered = 0;
};
