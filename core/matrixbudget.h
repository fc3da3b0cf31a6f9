#pragma once

#include "temperaturematrix.h"

#include <QSet>
#include <QString>

// The temperature matrices kept in the program's tables stay within a budget: when a stored
// matrix pushes them over it, the least recently used ones are dropped, those of the
// photographs the page keeps (the one on show, its neighbours, those with measurements) last
// and the photograph just stored never. A dropped matrix leaves the record's small part
// (statistics, texts, size) and comes back from the file when read (residentMatrix).
constexpr qint64 kDefaultMatrixBudget = 512ll * 1024 * 1024;

void setMatrixBudget(qint64 bytes);
qint64 matrixBudget();
void setKeptPhotos(const QSet<QString> &paths);

// Bytes of the matrices the tables hold now, turned copies included.
qint64 residentMatrixBytes();

// Marks the photograph's matrix as just used and drops others while the tables are over the
// budget. The caller holds photoTablesMutex().
void matrixStoredLocked(const QString &path);

// The photograph's unturned matrix: the one in the tables, or read again from its file with
// the record's correction when it was dropped. Null for a photograph without temperatures or
// not in the tables. Takes the lock itself.
SharedMatrix residentMatrix(const QString &path);
