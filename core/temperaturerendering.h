#pragma once

#include "palette.h"
#include "photorecord.h"

#include <QImage>

// Pixels without a reading: a plain grey, so they pass neither for the coldest nor for the
// hottest pixel.
constexpr QRgb kNoReadingColour = 0xFF808080;

// Iron Red: the palette of a photograph without one of its own.
constexpr int kIronRedPalette = 2;

// The palette a photograph's colours are read in: its own, or Iron Red when it has none (the
// colours of the camera's own picture, and the entry the analysis page selects then).
int shownPalette(const PhotoRecord &record);

// Whether the photograph's temperatures can be drawn: it has readings, one for every pixel.
bool canRenderTemperatures(const PhotoRecord &record);

// Whether its picture is drawn from its temperatures: chosen, and possible.
bool showsTemperatures(const PhotoRecord &record);

// The matrix in the palette's colours (RGB32, the matrix's size): low takes the first entry,
// high the last, in equal steps between; readings beyond the span take the nearer end, a span
// without width the middle entry, pixels without a reading kNoReadingColour. A null image for
// an empty palette or matrix.
QImage renderTemperatures(const TemperatureMatrix &matrix, const Palette &palette, float low, float high);
