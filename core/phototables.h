#pragma once

#include "photorecord.h"

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <memory>

// Program-wide tables keyed by the photograph's full path, kept for the whole run. The loader
// fills them on a worker thread while the interface reads them: hold photoTablesMutex()
// while writing or copying one photograph's entries.
QHash<QString, PhotoRecord> &photoRecords();
QHash<QString, QHash<int, SharedMatrix>> &rotatedMatrices(); // path -> quarter turns -> matrix
QHash<QString, int> &rotationStates();                       // path -> quarter turns 0..3
QMutex &photoTablesMutex();

// The rotation state of a photograph (0 when it has none), read and written under the lock.
int rotationStateOf(const QString &path);
void setRotationState(const QString &path, int state);

// The photographs opened on the analysis page; only they give temperatures to measurements.
QStringList &loadedPhotoPaths();
// The photograph on show and a copy of its record.
QString &currentPhotoPath();
PhotoRecord &currentPhotoRecord();

// A copy of one record taken under the lock, with its matrix (read again from the file when it
// was dropped to keep within the memory budget); a new record when the path is unknown.
PhotoRecord copyPhotoRecord(const QString &path);
// The same without making a record for an unknown path: false then.
bool findPhotoRecord(const QString &path, PhotoRecord &record);

// Drops everything kept for a photograph (batch tools that go through many of them).
void forgetPhotoRecord(const QString &path);
