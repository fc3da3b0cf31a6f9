#include "hotspotgeojson.h"

#include "hotspotjson.h"

#include <QJsonArray>
#include <QJsonDocument>

HotSpotGeoJsonFile::HotSpotGeoJsonFile(const QString &path) : m_file(path) {}

bool HotSpotGeoJsonFile::open(QString *error)
{
    if (!m_file.open(QIODevice::WriteOnly)) {
        *error = m_file.errorString();
        return false;
    }
    m_file.write("{\"type\":\"FeatureCollection\",\"features\":[");
    return true;
}

QByteArray HotSpotGeoJsonFile::feature(const QString &photoPath, const PhotoPosition &position, const HotSpot &spot)
{
    QJsonArray coordinates{position.longitude, position.latitude};
    if (position.altitude)
        coordinates.append(*position.altitude);
    const QJsonObject feature{{"type", "Feature"},
                              {"geometry", QJsonObject{{"type", "Point"}, {"coordinates", coordinates}}},
                              {"properties", hotSpotJson(photoPath, spot)}};
    return QJsonDocument(feature).toJson(QJsonDocument::Compact);
}

void HotSpotGeoJsonFile::add(const QByteArray &feature)
{
    m_file.write((m_first ? "\n" : ",\n") + feature);
    m_first = false;
}

bool HotSpotGeoJsonFile::commit(QString *error)
{
    m_file.write("\n]}\n");
    if (m_file.commit())
        return true;
    *error = m_file.errorString();
    return false;
}
