#include "hotspotjson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <charconv>
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

QByteArray jsonQuoted(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

namespace {

// As Qt's writer puts a number: its shortest digits ('g'), "null" when not finite.
void appendDouble(QByteArray &out, double value)
{
    if (std::isfinite(value))
        out.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
    else
        out.append("null");
}

void appendInt(QByteArray &out, int value)
{
    char digits[16];
    out.append(digits, int(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
}

// As jsonFloat() gives it to Qt's writer (its rounding of a tie differs from std::to_chars).
void appendFloat(QByteArray &out, float value)
{
    if (std::isfinite(value))
        appendDouble(out, jsonFloat(value).toDouble());
    else
        out.append("null");
}

} // namespace

QByteArray hotSpotJsonLine(const QByteArray &quotedPath, const HotSpot &spot)
{
    QByteArray line;
    line.reserve(quotedPath.size() + 200);
    line.append("{\"area\":");
    appendInt(line, spot.area);
    line.append(",\"bbox\":[");
    appendInt(line, spot.bounds.left());
    line.append(',');
    appendInt(line, spot.bounds.top());
    line.append(',');
    appendInt(line, spot.bounds.width());
    line.append(',');
    appendInt(line, spot.bounds.height());
    line.append("],\"centroid\":[");
    appendDouble(line, spot.centroid.x());
    line.append(',');
    appendDouble(line, spot.centroid.y());
    line.append("],\"class\":");
    appendInt(line, spot.severity);
    line.append(",\"deltaT\":");
    appendFloat(line, spot.deltaT);
    line.append(",\"deltaTNormalised\":");
    if (spot.deltaTNormalised)
        appendFloat(line, float(*spot.deltaTNormalised));
    else
        line.append("null");
    line.append(",\"max\":");
    appendFloat(line, spot.max);
    line.append(",\"maxPos\":[");
    appendInt(line, spot.maxPos.x());
    line.append(',');
    appendInt(line, spot.maxPos.y());
    line.append("],\"path\":");
    line.append(quotedPath);
    line.append(",\"reference\":");
    appendFloat(line, spot.reference);
    line.append("}\n");
    return line;
}
