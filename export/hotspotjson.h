#pragma once

#include "hotspotdetector.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// A temperature as JSON: nine significant digits, which read back as the same float; null
// when it is not finite.
QJsonValue jsonFloat(float value);

// One anomaly as `qct hotspots` prints it and the CSV and GeoJSON files carry it: "path",
// "maxPos" [column, row], "max", "reference", "deltaT", "deltaTNormalised" (null without an
// irradiance), "area", "bbox" [left, top, width, height], "centroid" [x, y], "class".
QJsonObject hotSpotJson(const QString &path, const HotSpot &spot);
