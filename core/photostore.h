#pragma once

#include "photorecord.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QSize>
#include <QString>

#include <functional>

// The temperature matrices a store holds stay within a budget: when a stored matrix pushes them
// over it, the least recently used ones are dropped, those of the photographs the page keeps
// (the one on show, its neighbours, those with measurements) last and the photograph just stored
// never. A dropped matrix leaves the record's small part (statistics, texts, size) and comes back
// from the file when read.
constexpr qint64 kDefaultMatrixBudget = 512ll * 1024 * 1024;

// Every photograph the program has loaded, keyed by its full path: its record, the turned copies
// of its matrix and its rotation state. The loader fills it on worker threads while the interface
// reads it, so every member takes the store's lock, and what leaves the store is a copy (whose
// matrix is a shared, immutable block): nothing outside points into it once the lock is released.
class PhotoStore
{
public:
    PhotoStore() = default;
    PhotoStore(const PhotoStore &) = delete;
    PhotoStore &operator=(const PhotoStore &) = delete;

    // The program's own store; tests may make others.
    static PhotoStore &program();

    // Loads the photograph into its record (created when absent), keeping the record's own
    // settings on a reload and reading those saved beside it on the first load. The rotation
    // state survives a reload; turned copies are made again when read. Returns the loader's
    // result code (0 on success).
    int load(const QString &path);
    // Puts a record built elsewhere in place of the photograph's, unturned (tests, benches).
    void insert(const PhotoRecord &record);
    // Drops everything kept for a photograph.
    void forget(const QString &path);

    bool contains(const QString &path) const;
    // The photograph's size in pixels, 0 × 0 when unknown.
    QSize sizeOf(const QString &path) const;
    // A copy of the record with its matrix (read again from the file when the budget dropped
    // it; a copy that cannot get it back has no temperatures). False, and record untouched, when
    // the photograph is unknown.
    bool find(const QString &path, PhotoRecord &record);
    // The same, a new record when the photograph is unknown.
    PhotoRecord snapshot(const QString &path);
    // A copy of the record as the store keeps it, nothing read from the file: statistics, texts,
    // size and settings, and a null matrix when the budget dropped it. False when unknown.
    bool summary(const QString &path, PhotoRecord &record) const;
    // Calls edit with the record under the lock when the photograph is known; edit must keep no
    // reference to it and must not call the store. False when unknown.
    bool update(const QString &path, const std::function<void(PhotoRecord &)> &edit);

    int rotationState(const QString &path) const;
    void setRotationState(const QString &path, int quarterTurns);
    // The matrix turned by the photograph's rotation state (made on first read and kept within
    // the budget), read again from the file when it was dropped. Null when the photograph is
    // unknown or has no temperatures.
    SharedMatrix turnedMatrix(const QString &path);
    // The unturned matrix the same way.
    SharedMatrix residentMatrix(const QString &path);
    // Whether the unturned matrix is in memory now (not dropped by the budget).
    bool isResident(const QString &path) const;

    // Sets the camera correction of a loaded, calibrated photograph and converts its frame again,
    // then saves its settings beside it. False with a translated reason, and nothing changed,
    // when a value is out of the engine's range or the photograph stores temperatures directly.
    // A sidecar that cannot be written is no failure: the record's sidecarError says why.
    bool correctCamera(const QString &path, const CameraCorrection &correction, QString *error);
    // Writes the record's settings to its sidecar; the record's sidecarError keeps the outcome.
    void saveSettings(const QString &path);

    void setMatrixBudget(qint64 bytes);
    qint64 matrixBudget() const;
    void setKeptPhotos(const QSet<QString> &paths);
    // Bytes of the matrices held now, turned copies included.
    qint64 residentMatrixBytes() const;

private:
    qint64 bytesOfPhotoLocked(const QString &path) const;
    qint64 residentBytesLocked() const;
    void dropLocked(const QString &path);
    void enforceBudgetLocked(const QString &spare);
    void matrixStoredLocked(const QString &path);
    void withMatrix(PhotoRecord &record, const QString &path);

    mutable QMutex m_mutex;
    QHash<QString, PhotoRecord> m_records;
    QHash<QString, QHash<int, SharedMatrix>> m_turned; // path -> quarter turns -> matrix
    QHash<QString, int> m_rotation;                     // path -> quarter turns 0..3
    qint64 m_budget = kDefaultMatrixBudget;
    QSet<QString> m_kept;
    QHash<QString, quint64> m_lastUse;
    quint64 m_clock = 0;
};
