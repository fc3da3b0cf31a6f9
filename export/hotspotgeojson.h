#pragma once

#include "hotspotdetector.h"
#include "photoposition.h"

#include <QSaveFile>
#include <QString>

// The anomaly list as a GeoJSON FeatureCollection (RFC 7946): one Point feature per anomaly at
// its photograph's position, [longitude, latitude, altitude] (west and south negative; the
// altitude only when the photograph states it), with the anomaly's values as `qct hotspots`
// prints them for properties. Features are written as they come, each made by Qt's JSON
// classes; the file appears only when committed whole.
class HotSpotGeoJsonFile
{
public:
    explicit HotSpotGeoJsonFile(const QString &path);
    bool open(QString *error);
    void add(const QString &photoPath, const PhotoPosition &position, const HotSpot &spot);
    bool commit(QString *error);

private:
    QSaveFile m_file;
    bool m_first = true;
};
