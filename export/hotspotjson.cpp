#include "hotspotjson.h"

#include <QJsonArray>

#include <cmath>

QJsonValue jsonFloat(float value)
{
    if (!std::isfinite(value))
        return QJsonValue();
    return QString::number(double(value), 'g', 9).toDouble();
}

QJsonObject hotSpotJson(const QString &path, const HotSpot &spot)
{
    QJsonObject o;
    o.insert("path", path);
    o.insert("maxPos", QJsonArray{spot.maxPos.x(), spot.maxPos.y()});
    o.insert("max", jsonFloat(spot.max));
    o.insert("reference", jsonFloat(spot.reference));
    o.insert("deltaT", jsonFloat(spot.deltaT));
    o.insert("deltaTNormalised", spot.deltaTNormalised ? jsonFloat(float(*spot.deltaTNormalised)) : QJsonValue());
    o.insert("area", spot.area);
    o.insert("bbox", QJsonArray{spot.bounds.left(), spot.bounds.top(), spot.bounds.width(), spot.bounds.height()});
    o.insert("centroid", QJsonArray{spot.centroid.x(), spot.centroid.y()});
    o.insert("class", spot.severity);
    return o;
}
