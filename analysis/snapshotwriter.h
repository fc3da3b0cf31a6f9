#pragma once

#include "palette.h"
#include "photorecord.h"

#include <QString>

class QGraphicsView;

// Saves what a view shows of a photograph as its snapshot: the view's picture scaled to the
// photograph's size (turned with it) with the photograph's colour scale to its right, into
// folder, recorded in snapshotSources. Returns the snapshot's path, or an empty string when
// there is nothing to save or the file failed.
QString saveSnapshot(QGraphicsView *view, const QString &photo, const QString &folder);

// The picture with the record's colour scale in that palette to its right, its text in
// proportion to the picture's height: what reports and exports show.
QImage withColourScale(const QImage &picture, const PhotoRecord &record, const Palette &palette);

// The snapshot of a photograph that is not on show, drawn off screen by a view of its own
// exactly as the analysis page draws it: its palette or alarm colours, its turn and its
// measurements (and the whole-frame overlay when asked). The photograph is loaded first when
// it has no record yet.
QString renderSnapshot(const QString &photo, const QString &folder, bool wholeFrame);
