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
    // One anomaly's feature; made apart from the file, so features can be made on several
    // threads and added in order.
    static QByteArray feature(const QString &photoPath, const PhotoPosition &position, const HotSpot &spot);
    void add(const QByteArray &feature);
    void add(const QString &photoPath, const PhotoPosition &position, const HotSpot &spot)
    {
        add(feature(photoPath, position, spot));
    }
    bool commit(QString *error);

private:
    QSaveFile m_file;
    bool m_first = true;
};
