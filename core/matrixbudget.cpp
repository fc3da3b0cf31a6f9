#include "matrixbudget.h"

#include "phototables.h"

#include <QFile>

#include <algorithm>
#include <vector>

namespace {

// Guarded by photoTablesMutex() too.
qint64 g_budget = kDefaultMatrixBudget;

// Guarded by photoTablesMutex(), like the tables they describe.
QSet<QString> g_kept;
QHash<QString, quint64> g_lastUse;
quint64 g_clock = 0;

qint64 bytesOf(const SharedMatrix &m)
{
    return m ? qint64(m->valueCount() * sizeof(float)) : 0;
}

qint64 bytesOfPhoto(const QString &path)
{
    qint64 bytes = 0;
    // The record's matrix is the unturned entry; turned copies come on top.
    for (const SharedMatrix &m : rotatedMatrices().value(path))
        bytes += bytesOf(m);
    const auto record = photoRecords().constFind(path);
    if (record != photoRecords().constEnd() && record->matrix != rotatedMatrices().value(path).value(0))
        bytes += bytesOf(record->matrix);
    return bytes;
}

qint64 residentBytesLocked()
{
    qint64 bytes = 0;
    for (auto it = photoRecords().constBegin(); it != photoRecords().constEnd(); ++it)
        bytes += bytesOfPhoto(it.key());
    return bytes;
}

void dropLocked(const QString &path)
{
    auto record = photoRecords().find(path);
    if (record != photoRecords().end() && record->matrix != noReadingMatrix())
        record->matrix = SharedMatrix();
    rotatedMatrices().remove(path);
    g_lastUse.remove(path);
}

// Drops matrices, least recently used first and kept photographs last, until the tables are
// within the budget; spare's is never dropped.
void enforceLocked(const QString &spare)
{
    qint64 bytes = residentBytesLocked();
    if (bytes <= g_budget)
        return;
    struct Candidate
    {
        bool kept;
        quint64 lastUse;
        QString path;
    };
    std::vector<Candidate> candidates;
    for (auto it = photoRecords().constBegin(); it != photoRecords().constEnd(); ++it) {
        if (it.key() != spare && bytesOfPhoto(it.key()) > 0)
            candidates.push_back({g_kept.contains(it.key()), g_lastUse.value(it.key()), it.key()});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.kept != b.kept ? !a.kept : a.lastUse < b.lastUse;
    });
    for (const Candidate &c : candidates) {
        if (bytes <= g_budget)
            break;
        bytes -= bytesOfPhoto(c.path);
        dropLocked(c.path);
    }
}

} // namespace

void setMatrixBudget(qint64 bytes)
{
    QMutexLocker lock(&photoTablesMutex());
    g_budget = std::max<qint64>(bytes, 0);
    enforceLocked(QString());
}

qint64 matrixBudget()
{
    QMutexLocker lock(&photoTablesMutex());
    return g_budget;
}

void setKeptPhotos(const QSet<QString> &paths)
{
    QMutexLocker lock(&photoTablesMutex());
    g_kept = paths;
}

qint64 residentMatrixBytes()
{
    QMutexLocker lock(&photoTablesMutex());
    return residentBytesLocked();
}

void matrixStoredLocked(const QString &path)
{
    g_lastUse[path] = ++g_clock;
    enforceLocked(path);
}

SharedMatrix residentMatrix(const QString &path)
{
    for (;;) {
        CameraCorrection correction;
        {
            QMutexLocker lock(&photoTablesMutex());
            const auto record = photoRecords().constFind(path);
            if (record == photoRecords().constEnd() || !record->hasTemperature)
                return SharedMatrix();
            if (record->matrix) {
                g_lastUse[path] = ++g_clock;
                return record->matrix;
            }
            correction = record->correction;
        }
        PhotoRecord loaded;
        loadPhoto(QFile::encodeName(path), correction, loaded);
        QMutexLocker lock(&photoTablesMutex());
        const auto record = photoRecords().find(path);
        if (record == photoRecords().end() || !record->hasTemperature)
            return SharedMatrix();
        if (record->matrix)
            return record->matrix;
        if (record->correction != correction)
            continue; // corrected meanwhile: read it with the new values
        if (!loaded.hasTemperature)
            return SharedMatrix(); // the file changed or went away; the record keeps its statistics
        record->matrix = loaded.matrix;
        rotatedMatrices()[path][0] = record->matrix;
        matrixStoredLocked(path);
        return record->matrix;
    }
}
