#pragma once

#include "photorecord.h"

#include <QString>
#include <QStringList>

// What the analysis page has opened, read and written on the interface thread only.
// The photographs of its list; only they give temperatures to measurements.
QStringList &loadedPhotoPaths();
// The photograph on show and a copy of its record.
QString &currentPhotoPath();
PhotoRecord &currentPhotoRecord();
