#pragma once

#include <QMap>
#include <QString>

// Snapshot bitmap path -> the photograph it shows (GUI thread only). Kept beside the
// photograph tables so the export reads it without reaching into the pages.
QMap<QString, QString> &snapshotSources();

// The snapshot of a photograph in folder: the one it already has, else "N.bmp" after the
// name up to its first dot, or "N-2.bmp", "N-3.bmp", ... when another photograph has that
// name, so that photographs of two flights never share a snapshot.
QString snapshotPathFor(const QString &photoPath, const QString &folder);
