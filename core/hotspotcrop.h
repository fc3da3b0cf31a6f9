#pragma once

#include "temperaturematrix.h"

#include <QImage>
#include <QRect>

// The frame crops are taken from: the temperatures in Iron Red over the frame's own minimum to
// maximum (stats), one pixel a reading.
QImage hotSpotFrame(const TemperatureMatrix &matrix, const TempStats &stats);

// The part of a frame around an anomaly: its bounds with a margin, at least kCropSide pixels a
// side where the frame allows, inside the frame, with equal margins where it can.
constexpr int kCropSide = 24;
QRect cropAround(const QRect &bounds, const QSize &frame);

// That part of the frame's picture (the photograph's pixels, one to one), the anomaly's
// bounds outlined in white.
QImage hotSpotCrop(const QImage &frame, const QRect &bounds);
