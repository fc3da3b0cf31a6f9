#include "photostore.h"

#include "sidecar.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <vector>

namespace {

qint64 bytesOf(const SharedMatrix &m)
{
    return m ? qint64(m->valueCount() * sizeof(float)) : 0;
}

} // namespace

PhotoStore &PhotoStore::program()
{
    static PhotoStore store;
    return store;
}

int PhotoStore::load(const QString &path)
{
    // A load whose correction was replaced while it converted (or that found the record
    // created by another load meanwhile) converts again: the matrix always matches the
    // record's correction.
    for (;;) {
        bool fresh = false;
        CameraCorrection correction;
        {
            QMutexLocker lock(&m_mutex);
            const auto found = m_records.constFind(path);
            fresh = found == m_records.constEnd();
            if (!fresh)
                correction = found->correction;
        }
        QString sidecarError;
        const PhotoSettings saved = fresh ? savedSettings(path, sidecarError) : PhotoSettings();
        if (fresh)
            correction = saved.correction;

        PhotoRecord loaded;
        const int result = loadPhoto(QFile::encodeName(path), correction, loaded);
        // What the store held before goes after the lock is released.
        SharedMatrix previous;
        QHash<int, SharedMatrix> previousTurns;

        QMutexLocker lock(&m_mutex);
        const auto now = m_records.constFind(path);
        if ((now != m_records.constEnd()) == fresh || (!fresh && now->correction != correction))
            continue;
        PhotoRecord &record = m_records[path];
        record.path = path;
        if (fresh) {
            applySettings(record, saved);
            record.sidecarError = sidecarError;
        }
        record.calibrated = loaded.calibrated;
        record.width = loaded.width;
        record.height = loaded.height;
        record.stats = loaded.stats;
        if (result == LoadOk) {
            record.unit = loaded.unit;
            previous = std::move(record.matrix);
            // One block for the record and the unturned entry of the rotation table.
            record.matrix = loaded.matrix;
            record.texts = loaded.texts;
        }
        record.hasTemperature = loaded.hasTemperature;
        // A reload keeps the photograph's rotation state, so measurements placed on the turned
        // picture keep reading the pixels under them; the turned copies are made again on demand.
        QHash<int, SharedMatrix> &turned = m_turned[path];
        previousTurns.swap(turned);
        turned[0] = record.matrix;
        if (!m_rotation.contains(path))
            m_rotation[path] = 0;
        if (result == LoadOk)
            matrixStoredLocked(path);
        lock.unlock();
        return result;
    }
}

void PhotoStore::insert(const PhotoRecord &record)
{
    SharedMatrix previous;
    QHash<int, SharedMatrix> previousTurns;
    QMutexLocker lock(&m_mutex);
    PhotoRecord &stored = m_records[record.path];
    previous = std::move(stored.matrix);
    stored = record;
    previousTurns.swap(m_turned[record.path]);
    m_turned[record.path][0] = stored.matrix;
    m_rotation[record.path] = 0;
    matrixStoredLocked(record.path);
}

void PhotoStore::forget(const QString &path)
{
    QMutexLocker lock(&m_mutex);
    m_records.remove(path);
    m_turned.remove(path);
    m_rotation.remove(path);
    m_lastUse.remove(path);
}

bool PhotoStore::contains(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    return m_records.contains(path);
}

QSize PhotoStore::sizeOf(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    const auto found = m_records.constFind(path);
    return found == m_records.constEnd() ? QSize(0, 0) : QSize(found->width, found->height);
}

void PhotoStore::withMatrix(PhotoRecord &record, const QString &path)
{
    if (record.matrix)
        return;
    record.matrix = residentMatrix(path);
    if (!record.matrix) {
        record.matrix = noReadingMatrix();
        record.hasTemperature = false;
    }
}

bool PhotoStore::find(const QString &path, PhotoRecord &record)
{
    if (!summary(path, record))
        return false;
    withMatrix(record, path);
    return true;
}

PhotoRecord PhotoStore::snapshot(const QString &path)
{
    PhotoRecord record; // a new one, with the matrix of no reading, when the path is unknown
    find(path, record);
    return record;
}

bool PhotoStore::summary(const QString &path, PhotoRecord &record) const
{
    QMutexLocker lock(&m_mutex);
    const auto found = m_records.constFind(path);
    if (found == m_records.constEnd())
        return false;
    record = *found;
    return true;
}

bool PhotoStore::update(const QString &path, const std::function<void(PhotoRecord &)> &edit)
{
    QMutexLocker lock(&m_mutex);
    const auto found = m_records.find(path);
    if (found == m_records.end())
        return false;
    edit(*found);
    return true;
}

int PhotoStore::rotationState(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    return m_rotation.value(path);
}

void PhotoStore::setRotationState(const QString &path, int quarterTurns)
{
    QMutexLocker lock(&m_mutex);
    m_rotation[path] = quarterTurns;
}

SharedMatrix PhotoStore::turnedMatrix(const QString &path)
{
    // A matrix dropped to keep within the budget is read again first; it may be dropped again
    // before the lock is taken, so that is tried a few times.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0 && !residentMatrix(path))
            return SharedMatrix();
        QMutexLocker lock(&m_mutex);
        const auto record = m_records.constFind(path);
        if (record == m_records.constEnd() || !record->hasTemperature)
            return SharedMatrix();
        const auto turned = m_turned.find(path);
        if (turned == m_turned.end() || !turned->value(0))
            continue;
        const int state = m_rotation.value(path);
        const SharedMatrix kept = turned->value(state);
        if (kept)
            return kept;
        // Turned copies are made when first read and kept beside the unturned one.
        TemperatureMatrix m = *turned->value(0);
        for (int turn = 0; turn < state; ++turn)
            m = quarterTurned(m);
        const SharedMatrix made = sharedMatrix(std::move(m));
        (*turned)[state] = made;
        matrixStoredLocked(path);
        return made;
    }
    return SharedMatrix();
}

SharedMatrix PhotoStore::residentMatrix(const QString &path)
{
    for (;;) {
        CameraCorrection correction;
        {
            QMutexLocker lock(&m_mutex);
            const auto record = m_records.constFind(path);
            if (record == m_records.constEnd() || !record->hasTemperature)
                return SharedMatrix();
            if (record->matrix) {
                m_lastUse[path] = ++m_clock;
                return record->matrix;
            }
            correction = record->correction;
        }
        PhotoRecord loaded;
        loadPhoto(QFile::encodeName(path), correction, loaded);
        QMutexLocker lock(&m_mutex);
        const auto record = m_records.find(path);
        if (record == m_records.end() || !record->hasTemperature)
            return SharedMatrix();
        if (record->matrix)
            return record->matrix;
        if (record->correction != correction)
            continue; // corrected meanwhile: read it with the new values
        if (!loaded.hasTemperature)
            return SharedMatrix(); // the file changed or went away; the record keeps its statistics
        record->matrix = loaded.matrix;
        m_turned[path][0] = record->matrix;
        matrixStoredLocked(path);
        return record->matrix;
    }
}

bool PhotoStore::isResident(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    return m_records.value(path).matrix && m_turned.value(path).value(0);
}

bool PhotoStore::correctCamera(const QString &path, const CameraCorrection &correction, QString *error)
{
    const QString rangeError = cameraRangeError(correction);
    if (!rangeError.isEmpty()) {
        if (error)
            *error = rangeError;
        return false;
    }
    {
        QMutexLocker lock(&m_mutex);
        const auto found = m_records.find(path);
        if (found == m_records.end() || !found->calibrated) {
            if (error)
                *error = QCoreApplication::translate("CameraParameters", "此照片直接存储温度，其参数不能修正。");
            return false;
        }
        found->correction = correction;
    }
    load(path);
    saveSettings(path);
    return true;
}

void PhotoStore::saveSettings(const QString &path)
{
    PhotoSettings settings;
    {
        QMutexLocker lock(&m_mutex);
        const auto found = m_records.constFind(path);
        if (found == m_records.constEnd())
            return;
        settings = settingsOf(*found);
    }
    QString error;
    writeSidecar(path, settings, &error);
    QMutexLocker lock(&m_mutex);
    const auto found = m_records.find(path);
    if (found != m_records.end())
        found->sidecarError = error;
}

void PhotoStore::setMatrixBudget(qint64 bytes)
{
    QMutexLocker lock(&m_mutex);
    m_budget = std::max<qint64>(bytes, 0);
    enforceBudgetLocked(QString());
}

qint64 PhotoStore::matrixBudget() const
{
    QMutexLocker lock(&m_mutex);
    return m_budget;
}

void PhotoStore::setKeptPhotos(const QSet<QString> &paths)
{
    QMutexLocker lock(&m_mutex);
    m_kept = paths;
}

qint64 PhotoStore::residentMatrixBytes() const
{
    QMutexLocker lock(&m_mutex);
    return residentBytesLocked();
}

qint64 PhotoStore::bytesOfPhotoLocked(const QString &path) const
{
    qint64 bytes = 0;
    // The record's matrix is the unturned entry; turned copies come on top.
    const QHash<int, SharedMatrix> turned = m_turned.value(path);
    for (const SharedMatrix &m : turned)
        bytes += bytesOf(m);
    const auto record = m_records.constFind(path);
    if (record != m_records.constEnd() && record->matrix != turned.value(0))
        bytes += bytesOf(record->matrix);
    return bytes;
}

qint64 PhotoStore::residentBytesLocked() const
{
    qint64 bytes = 0;
    for (auto it = m_records.constBegin(); it != m_records.constEnd(); ++it)
        bytes += bytesOfPhotoLocked(it.key());
    return bytes;
}

void PhotoStore::dropLocked(const QString &path)
{
    auto record = m_records.find(path);
    if (record != m_records.end() && record->matrix != noReadingMatrix())
        record->matrix = SharedMatrix();
    m_turned.remove(path);
    m_lastUse.remove(path);
}

// Drops matrices, least recently used first and kept photographs last, until the store is
// within the budget; spare's is never dropped.
void PhotoStore::enforceBudgetLocked(const QString &spare)
{
    qint64 bytes = residentBytesLocked();
    if (bytes <= m_budget)
        return;
    struct Candidate
    {
        bool kept;
        quint64 lastUse;
        QString path;
    };
    std::vector<Candidate> candidates;
    for (auto it = m_records.constBegin(); it != m_records.constEnd(); ++it) {
        if (it.key() != spare && bytesOfPhotoLocked(it.key()) > 0)
            candidates.push_back({m_kept.contains(it.key()), m_lastUse.value(it.key()), it.key()});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.kept != b.kept ? !a.kept : a.lastUse < b.lastUse;
    });
    for (const Candidate &c : candidates) {
        if (bytes <= m_budget)
            break;
        bytes -= bytesOfPhotoLocked(c.path);
        dropLocked(c.path);
    }
}

void PhotoStore::matrixStoredLocked(const QString &path)
{
    m_lastUse[path] = ++m_clock;
    enforceBudgetLocked(path);
}
