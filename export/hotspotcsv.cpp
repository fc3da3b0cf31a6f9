#include "hotspotcsv.h"

#include "hotspotjson.h"

#include <QJsonArray>
#include <QLocale>

namespace {

// The columns, in order: a key of the JSON object, or one element of one of its arrays.
struct Column
{
    const char *name;
    const char *key;
    int element; // -1: the value itself
};

const Column kColumns[] = {{"path", "path", -1},         {"maxPosX", "maxPos", 0},       {"maxPosY", "maxPos", 1},
                           {"max", "max", -1},           {"reference", "reference", -1}, {"deltaT", "deltaT", -1},
                           {"deltaTNormalised", "deltaTNormalised", -1},                 {"area", "area", -1},
                           {"bboxLeft", "bbox", 0},      {"bboxTop", "bbox", 1},         {"bboxWidth", "bbox", 2},
                           {"bboxHeight", "bbox", 3},    {"centroidX", "centroid", 0},   {"centroidY", "centroid", 1},
                           {"class", "class", -1}};

// A number as JSON writes it (the shortest text that reads back the same), a text quoted when
// it holds a separator, a quote or a line break, null as nothing.
QByteArray cell(const QJsonValue &value)
{
    if (value.isDouble())
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    if (!value.isString())
        return QByteArray();
    QByteArray text = value.toString().toUtf8();
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    return '"' + text.replace('"', "\"\"") + '"';
}

} // namespace

HotSpotCsvFile::HotSpotCsvFile(const QString &path) : m_file(path) {}

bool HotSpotCsvFile::open(QString *error)
{
    if (!m_file.open(QIODevice::WriteOnly)) {
        *error = m_file.errorString();
        return false;
    }
    QByteArray header;
    for (const Column &column : kColumns)
        header += QByteArray(header.isEmpty() ? "" : ",") + column.name;
    m_file.write(header + '\n');
    return true;
}

QByteArray HotSpotCsvFile::row(const QString &photoPath, const HotSpot &spot)
{
    const QJsonObject o = hotSpotJson(photoPath, spot);
    QByteArray row;
    for (const Column &column : kColumns) {
        if (&column != kColumns)
            row += ',';
        const QJsonValue value = o.value(QLatin1String(column.key));
        row += cell(column.element < 0 ? value : value.toArray().at(column.element));
    }
    return row + '\n';
}

void HotSpotCsvFile::write(const QByteArray &rows)
{
    m_file.write(rows);
}

bool HotSpotCsvFile::commit(QString *error)
{
    // A write that failed leaves the file's error set, and commit then refuses.
    if (m_file.commit())
        return true;
    *error = m_file.errorString();
    return false;
}
