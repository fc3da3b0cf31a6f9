#include "hotspotjson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <charconv>
#include <cmath>
#include <initializer_list>

QJsonValue jsonFloat(float value)
{
    if (!std::isfinite(value))
        return QJsonValue();
    char digits[32];
    const char *end = std::to_chars(digits, digits + sizeof digits, double(value), std::chars_format::general, 9).ptr;
    double nine = 0.0;
    std::from_chars(digits, end, nine);
    return nine;
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

// Between these magnitudes Qt's writer puts a number in fixed notation, its shortest digits
// being shorter so than with an exponent; rounding to nine digits cannot leave the range.
bool fixedByQt(double value)
{
    const double magnitude = std::abs(value);
    return magnitude >= 0.01 && magnitude < 9999.0;
}

void append(QByteArray &out, const char *digits, const char *end)
{
    out.append(digits, int(end - digits));
}

// As Qt's writer puts a number: a whole one below 2^53 as an integer (-0 as 0), any other
// in its shortest digits, "null" when not finite.
void appendDouble(QByteArray &out, double value)
{
    char digits[32];
    if (!std::isfinite(value))
        out.append("null");
    else if (value == std::trunc(value) && std::abs(value) < 9007199254740992.0)
        append(out, digits, std::to_chars(digits, digits + sizeof digits, static_cast<long long>(value)).ptr);
    else if (fixedByQt(value))
        append(out, digits, std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed).ptr);
    else
        out.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
}

void appendInt(QByteArray &out, int value)
{
    char digits[16];
    append(out, digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// Integers separated by commas, as in an array.
void appendInts(QByteArray &out, std::initializer_list<int> values)
{
    for (const int *value = values.begin(); value != values.end(); ++value) {
        if (value != values.begin())
            out.append(',');
        appendInt(out, *value);
    }
}

// As jsonFloat() gives it to Qt's writer: the double of its nine significant digits, whose
// shortest digits are those nine without trailing zeros.
void appendFloat(QByteArray &out, float value)
{
    char digits[32];
    if (!std::isfinite(value))
        out.append("null");
    else if (fixedByQt(double(value)))
        append(out, digits, std::to_chars(digits, digits + sizeof digits, double(value), std::chars_format::general, 9).ptr);
    else
        appendDouble(out, jsonFloat(value).toDouble());
}

} // namespace

QByteArray hotSpotJsonLine(const QByteArray &quotedPath, const HotSpot &spot)
{
    QByteArray line;
    line.reserve(quotedPath.size() + 200);
    line.append("{\"area\":");
    appendInt(line, spot.area);
    line.append(",\"bbox\":[");
    appendInts(line, {spot.bounds.left(), spot.bounds.top(), spot.bounds.width(), spot.bounds.height()});
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
    appendInts(line, {spot.maxPos.x(), spot.maxPos.y()});
    line.append("],\"path\":");
    line.append(quotedPath);
    line.append(",\"reference\":");
    appendFloat(line, spot.reference);
    line.append("}\n");
    return line;
}
