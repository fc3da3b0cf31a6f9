#pragma once

#include "itemtables.h"
#include "measurement.h"
#include "picturemapping.h"

// Measurements and the graphics items that show them, through a photograph's mapping.

// The mapping of a photograph drawn in image: its size (from its record, or its file's header
// before it loaded) and its rotation state. An empty image stands for the turned frame itself.
PictureMapping mappingFor(const QString &path, const QRectF &image);

// The item's geometry (at its position, in its own picture rectangle) as a measurement.
Measurement measurementOf(const MyGraphicItem &item, const PictureMapping &mapping);
// Makes an item of the measurement's kind show it: name, pen and geometry at position (0, 0) in
// mapping.image, kept inside it; not yet measured.
void showMeasurement(MyGraphicItem &item, const Measurement &measurement, const PictureMapping &mapping);
// A new, finished item showing the measurement.
ItemPtr itemFor(const Measurement &measurement, const PictureMapping &mapping);

// The photograph's items as measurements, in the table's order.
Layout layoutOf(const QString &path);
// Items for the photograph drawn in image, each measured at once on its pixels.
ItemTable itemsFor(const QString &path, const Layout &layout, const QRectF &image);
