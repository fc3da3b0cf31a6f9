#include "thumbnailloader.h"

#include "thumbnail.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <atomic>
#include <vector>

struct ThumbnailLoader::Job
{
    Job(const QStringList &paths, const QSize &size, const Decoder &decoder)
        : paths(paths)
        , size(size)
        , decoder(decoder)
        , taken(std::size_t(paths.size()), 0)
    {
    }

    // Read by every worker at once: never changed (a non-const access to the list would
    // detach it on several threads at the same time).
    const QStringList paths;
    const QSize size;
    const Decoder decoder;
    std::atomic<bool> cancelled{false};

    QMutex mutex; // guards everything below
    std::vector<char> taken;
    int next = 0;          // the next row in order
    int preferNext = 0;    // the preferred rows still to look at
    int preferLast = -1;
    QVector<GridThumbnail> ready;
    bool announced = false; // the GUI thread was told of ready results and has not taken them yet

    // The next row to decode, or -1 once every row is taken or the job is cancelled.
    int take()
    {
        QMutexLocker lock(&mutex);
        if (cancelled)
            return -1;
        while (preferNext <= preferLast) {
            const int row = preferNext++;
            if (!taken[std::size_t(row)]) {
                taken[std::size_t(row)] = 1;
                return row;
            }
        }
        while (next < paths.size()) {
            const int row = next++;
            if (!taken[std::size_t(row)]) {
                taken[std::size_t(row)] = 1;
                return row;
            }
        }
        return -1;
    }
};

ThumbnailLoader::ThumbnailLoader(QObject *parent)
    : QObject(parent)
    , m_decoder(roundedThumbnailImage)
{
    qRegisterMetaType<GridThumbnail>();
    qRegisterMetaType<QVector<GridThumbnail>>();
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    m_batchTimer.setSingleShot(true);
    connect(&m_batchTimer, &QTimer::timeout, this, &ThumbnailLoader::deliver);
}

ThumbnailLoader::~ThumbnailLoader()
{
    if (m_job)
        m_job->cancelled = true;
    m_job.reset();
    // The workers finish the photograph in hand; what they announce afterwards goes with this
    // object's pending events.
    m_pool.waitForDone();
}

void ThumbnailLoader::setDecoder(Decoder decoder)
{
    m_decoder = std::move(decoder);
}

void ThumbnailLoader::setThreadCount(int threads)
{
    m_pool.setMaxThreadCount(std::max(1, threads));
}

int ThumbnailLoader::threadCount() const
{
    return m_pool.maxThreadCount();
}

void ThumbnailLoader::start(const QStringList &paths, const QSize &size)
{
    if (m_job)
        endJob(true);
    m_total = paths.size();
    m_delivered = 0;
    if (paths.isEmpty()) {
        emit finished(false);
        return;
    }
    const auto job = std::make_shared<Job>(paths, size, m_decoder);
    m_job = job;
    m_sinceBatch.invalidate();
    emit progress(0, m_total);

    const int workers = std::min(m_pool.maxThreadCount(), int(paths.size()));
    for (int i = 0; i < workers; ++i) {
        m_pool.start([this, job] {
            for (int row; (row = job->take()) >= 0;) {
                GridThumbnail result{row, job->decoder(job->paths.at(row), job->size)};
                bool announce = false;
                {
                    QMutexLocker lock(&job->mutex);
                    job->ready.push_back(std::move(result));
                    announce = !job->announced;
                    job->announced = true;
                }
                // The loader outlives every worker (its destructor waits for them), and an
                // event still queued when it goes is dropped with it.
                if (announce)
                    QMetaObject::invokeMethod(this, [this, job] { resultsArrived(job); }, Qt::QueuedConnection);
            }
        });
    }
}

void ThumbnailLoader::prefer(int first, int last)
{
    if (!m_job)
        return;
    QMutexLocker lock(&m_job->mutex);
    const int rows = m_job->paths.size();
    m_job->preferNext = std::max(0, first);
    m_job->preferLast = std::min(last, rows - 1);
}

void ThumbnailLoader::cancel()
{
    if (m_job)
        endJob(true);
}

void ThumbnailLoader::endJob(bool cancelled)
{
    if (cancelled)
        m_job->cancelled = true;
    m_job.reset();
    m_batchTimer.stop();
    emit finished(cancelled);
}

void ThumbnailLoader::resultsArrived(const std::shared_ptr<Job> &job)
{
    if (job != m_job || m_batchTimer.isActive())
        return;
    // The first batch goes at once; later ones wait for the interval, so the view repaints
    // a few dozen times a second however fast the workers are.
    const qint64 since = m_sinceBatch.isValid() ? m_sinceBatch.elapsed() : m_batchInterval;
    if (since >= m_batchInterval)
        deliver();
    else
        m_batchTimer.start(int(m_batchInterval - since));
}

void ThumbnailLoader::deliver()
{
    const std::shared_ptr<Job> job = m_job;
    if (!job)
        return;
    QVector<GridThumbnail> batch;
    {
        QMutexLocker lock(&job->mutex);
        batch.swap(job->ready);
        job->announced = false;
    }
    if (batch.isEmpty())
        return;
    m_sinceBatch.start();
    m_delivered += batch.size();
    emit thumbnailsReady(batch);
    // A receiver may have cancelled or replaced the job.
    if (m_job != job)
        return;
    emit progress(m_delivered, m_total);
    if (m_job == job && m_delivered >= m_total)
        endJob(false);
}
