#include "sidecar.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

constexpr int kVersion = 1;
constexpr qint64 kLargestSidecar = 16 * 1024 * 1024; // a layout of many shapes is still far below

std::atomic<bool> g_read{true};

QString tr(const char *text)
{
    return QCoreApplication::translate("Sidecar", text);
}

const char *renderingName(Rendering r)
{
    return r == Rendering::Temperatures ? "temperatures" : "embedded";
}

// A number of the JSON object, or nothing when the key is absent; false when present but not
// a finite number.
bool optionalNumber(const QJsonObject &o, const char *key, std::optional<double> &out)
{
    const QJsonValue v = o.value(key);
    if (v.isUndefined() || v.isNull())
        return true;
    if (!v.isDouble() || !std::isfinite(v.toDouble()))
        return false;
    out = v.toDouble();
    return true;
}

bool parse(const QJsonObject &root, PhotoSettings &s)
{
    const QJsonObject camera = root.value("camera").toObject();
    if (!optionalNumber(camera, "emissivity", s.correction.emissivity)
        || !optionalNumber(camera, "distance", s.correction.distance)
        || !optionalNumber(camera, "humidity", s.correction.humidity)
        || !optionalNumber(camera, "reflected", s.correction.reflected))
        return false;
    // A value outside the engine's ranges would make the photograph fail to convert.
    if (!cameraRangeError(s.correction).isEmpty())
        return false;
    s.paletteIndex = root.value("palette").toInt(-1);
    s.rendering = root.value("rendering").toString() == renderingName(Rendering::Temperatures)
        ? Rendering::Temperatures
        : Rendering::Embedded;
    const QJsonObject span = root.value("span").toObject();
    s.span.automatic = span.value("automatic").toBool(true);
    if (!s.span.automatic) {
        const QJsonValue low = span.value("low"), high = span.value("high");
        if (!low.isDouble() || !high.isDouble() || !(low.toDouble() < high.toDouble()))
            return false;
        s.span.low = float(low.toDouble());
        s.span.high = float(high.toDouble());
    }
    return true;
}

void put(QJsonObject &root, const PhotoSettings &s)
{
    QJsonObject camera;
    if (s.correction.emissivity)
        camera["emissivity"] = *s.correction.emissivity;
    if (s.correction.distance)
        camera["distance"] = *s.correction.distance;
    if (s.correction.humidity)
        camera["humidity"] = *s.correction.humidity;
    if (s.correction.reflected)
        camera["reflected"] = *s.correction.reflected;
    root["version"] = kVersion;
    root["camera"] = camera;
    root["palette"] = s.paletteIndex;
    root["rendering"] = renderingName(s.rendering);
    QJsonObject span{{"automatic", s.span.automatic}};
    if (!s.span.automatic) {
        span["low"] = double(s.span.low);
        span["high"] = double(s.span.high);
    }
    root["span"] = span;
}

// The sidecar's JSON object; an empty one when there is no file. False with a reason when
// it exists but is not one.
bool readObject(const QString &path, QJsonObject &root, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    QFile file(path);
    if (!info.isFile() || info.size() > kLargestSidecar || !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("无法读取 %1：%2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        if (error)
            *error = tr("%1 不是本程序的设置文件。").arg(QDir::toNativeSeparators(path));
        return false;
    }
    root = doc.object();
    return true;
}

bool writeObject(const QString &path, const QJsonObject &root, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        if (error)
            *error = tr("无法保存 %1：%2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

} // namespace

PhotoSettings settingsOf(const PhotoRecord &record)
{
    PhotoSettings s;
    s.correction = record.correction;
    s.paletteIndex = record.paletteIndex;
    s.rendering = record.rendering;
    s.span = record.span;
    return s;
}

void applySettings(PhotoRecord &record, const PhotoSettings &s)
{
    record.correction = s.correction;
    record.paletteIndex = s.paletteIndex;
    record.rendering = s.rendering;
    record.span = s.span;
}

QString sidecarPath(const QString &photoPath)
{
    return photoPath + ".qct.json";
}

bool readSidecar(const QString &photoPath, PhotoSettings &settings, QString *error)
{
    const QString path = sidecarPath(photoPath);
    QJsonObject root;
    if (!readObject(path, root, error))
        return false;
    PhotoSettings read;
    if (!root.isEmpty() && (root.value("version").toInt() < 1 || !parse(root, read))) {
        if (error)
            *error = tr("%1 不是本程序的设置文件。").arg(QDir::toNativeSeparators(path));
        return false;
    }
    settings = read;
    return true;
}

bool writeSidecar(const QString &photoPath, const PhotoSettings &settings, QString *error)
{
    const QString path = sidecarPath(photoPath);
    QJsonObject root;
    // A sidecar this run cannot read is replaced rather than kept: the user's settings now
    // are what counts. Keys of a later version it can read are kept.
    const bool exists = QFileInfo::exists(path);
    if (!readObject(path, root, nullptr))
        root = QJsonObject();
    if (!exists && settings.isDefault())
        return true;
    put(root, settings);
    return writeObject(path, root, error);
}

namespace {

bool readValue(const QString &photoPath, const QString &key, QJsonValue &value, QString *error)
{
    QJsonObject root;
    if (!readObject(sidecarPath(photoPath), root, error))
        return false;
    value = root.value(key);
    return true;
}

// Puts value under key (removes the key for an undefined value), keeping every other key.
bool writeValue(const QString &photoPath, const QString &key, const QJsonValue &value, bool empty, QString *error)
{
    const QString path = sidecarPath(photoPath);
    QJsonObject root;
    // As with the settings: a sidecar this run cannot read is replaced.
    const bool exists = QFileInfo::exists(path);
    if (!readObject(path, root, nullptr))
        root = QJsonObject();
    if (!exists && empty)
        return true;
    if (!root.contains("version"))
        root["version"] = kVersion;
    if (value.isUndefined())
        root.remove(key);
    else
        root[key] = value;
    return writeObject(path, root, error);
}

} // namespace

bool readSidecarLayout(const QString &photoPath, QJsonArray &layout, QString *error)
{
    QJsonValue value;
    if (!readValue(photoPath, "layout", value, error))
        return false;
    layout = value.toArray();
    return true;
}

bool writeSidecarLayout(const QString &photoPath, const QJsonArray &layout, QString *error)
{
    return writeValue(photoPath, "layout", layout, layout.isEmpty(), error);
}

std::optional<QRect> sidecarHotSpotReference(const QString &photoPath)
{
    QJsonValue value;
    if (!readValue(photoPath, "hotSpotReference", value, nullptr))
        return std::nullopt;
    const QJsonArray a = value.toArray();
    const auto whole = [](const QJsonValue &v) { return v.isDouble() && v.toDouble() == std::floor(v.toDouble()) && std::abs(v.toDouble()) < 1e6; };
    if (a.size() != 4 || !std::all_of(a.begin(), a.end(), whole) || a[2].toInt() <= 0 || a[3].toInt() <= 0)
        return std::nullopt;
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

bool writeSidecarHotSpotReference(const QString &photoPath, const std::optional<QRect> &area, QString *error)
{
    const QJsonValue value = area ? QJsonValue(QJsonArray{area->x(), area->y(), area->width(), area->height()}) : QJsonValue();
    return writeValue(photoPath, "hotSpotReference", value, !area, error);
}

void setSidecarsRead(bool read)
{
    g_read = read;
}

bool sidecarsRead()
{
    return g_read;
}

PhotoSettings savedSettings(const QString &photoPath, QString &error)
{
    PhotoSettings saved;
    if (sidecarsRead() && !readSidecar(photoPath, saved, &error))
        saved = PhotoSettings();
    return saved;
}
