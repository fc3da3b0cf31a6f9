#pragma once

#include <QHash>
#include <QMap>
#include <QString>

class MyItemTemp;

// Rows of the measured-temperature list by photograph and item name (GUI thread only).
QHash<QString, QMap<QString, MyItemTemp *>> &itemRowTables();

// Snapshot bitmap path -> the photograph it shows.
QMap<QString, QString> &snapshotSources();

// The snapshot of a photograph in folder: the one it already has, else "N.bmp" after the
// name up to its first dot, or "N-2.bmp", "N-3.bmp", ... when another photograph has that
// name, so that photographs of two flights never share a snapshot.
QString snapshotPathFor(const QString &photoPath, const QString &folder);

// Set while a photo list is open on the analysis page.
bool &photoPageOpen();
