#pragma once

#include "hotspotdetector.h"

#include <QByteArray>
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

// A string as a JSON string literal, quotes included.
QByteArray jsonQuoted(const QString &text);

// The same object as one compact line with its newline, byte for byte what Qt's writer makes
// of hotSpotJson(): the keys in its order, the numbers as it formats them. The path comes
// quoted (jsonQuoted), once per photograph. Building a QJsonObject per anomaly was a fifth of
// the time of `qct hotspots` on scenes with two dozen anomalies.
QByteArray hotSpotJsonLine(const QByteArray &quotedPath, const HotSpot &spot);
