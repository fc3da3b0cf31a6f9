#include "cameraparameters.h"

#include <QCoreApplication>

#include <cmath>

namespace {

struct FieldRange
{
    double low;
    double high;
    // Engine units per user unit: the engine takes distance in tenths of a metre (its
    // reference value 50 is 5.0 m, its accepted 5..5000 is 0.5-500 m) and the reflected
    // temperature in tenths of °C; emissivity and humidity in whole percent.
    double engineScale;
};

FieldRange rangeOf(CameraField field)
{
    switch (field) {
    case CameraField::Emissivity:
        return {1, 100, 1};
    case CameraField::Distance:
        return {0.5, 500, 10};
    case CameraField::Humidity:
        return {0, 100, 1};
    case CameraField::Reflected:
        return {-40, 550, 10};
    }
    return {0, 0, 1};
}

long engineValue(CameraField field, double value)
{
    return std::lround(value * rangeOf(field).engineScale);
}

} // namespace

CameraCorrection CameraCorrection::overlaidWith(const CameraCorrection &other) const
{
    CameraCorrection c = *this;
    if (other.emissivity)
        c.emissivity = other.emissivity;
    if (other.distance)
        c.distance = other.distance;
    if (other.humidity)
        c.humidity = other.humidity;
    if (other.reflected)
        c.reflected = other.reflected;
    return c;
}

double engineRounded(CameraField field, double value)
{
    return double(engineValue(field, value)) / rangeOf(field).engineScale + 0.0; // no "-0.0"
}

QString cameraRangeError(CameraField field, double value)
{
    const FieldRange r = rangeOf(field);
    // Checked in the engine's own units, after rounding to its step, so what passes here is
    // exactly what the engine accepts.
    const bool inside = std::isfinite(value) && std::fabs(value) < 1e6
        && engineValue(field, value) >= std::lround(r.low * r.engineScale)
        && engineValue(field, value) <= std::lround(r.high * r.engineScale);
    if (inside)
        return QString();
    switch (field) {
    case CameraField::Emissivity:
        return QCoreApplication::translate("CameraParameters", "辐射率须在 1% 到 100% 之间。");
    case CameraField::Distance:
        return QCoreApplication::translate("CameraParameters", "距离须在 0.5 m 到 500 m 之间。");
    case CameraField::Humidity:
        return QCoreApplication::translate("CameraParameters", "湿度须在 0% 到 100% 之间。");
    case CameraField::Reflected:
        return QCoreApplication::translate("CameraParameters", "反射温度须在 -40 ℃ 到 550 ℃ 之间。");
    }
    return QString();
}

QString cameraRangeError(const CameraCorrection &c)
{
    const std::pair<CameraField, std::optional<double>> fields[] = {{CameraField::Emissivity, c.emissivity},
                                                                    {CameraField::Distance, c.distance},
                                                                    {CameraField::Humidity, c.humidity},
                                                                    {CameraField::Reflected, c.reflected}};
    for (const auto &[field, value] : fields) {
        if (value) {
            const QString error = cameraRangeError(field, *value);
            if (!error.isEmpty())
                return error;
        }
    }
    return QString();
}

MeasureParams correctedParams(MeasureParams params, const CameraCorrection &c)
{
    if (c.emissivity)
        params.emissivity = std::uint16_t(engineValue(CameraField::Emissivity, *c.emissivity));
    if (c.distance)
        params.distance = std::uint16_t(engineValue(CameraField::Distance, *c.distance));
    if (c.humidity)
        params.humidity = std::uint16_t(engineValue(CameraField::Humidity, *c.humidity));
    if (c.reflected)
        params.reflectedTemp = std::int16_t(engineValue(CameraField::Reflected, *c.reflected));
    return params;
}

QString correctedText(CameraField field, double value)
{
    switch (field) {
    case CameraField::Emissivity:
        return QString::number(engineValue(field, value)) + '%';
    case CameraField::Distance:
        return QString::number(engineRounded(field, value), 'f', 1) + 'm';
    case CameraField::Humidity:
        return QString::number(engineValue(field, value)) + "%rh";
    case CameraField::Reflected:
        return QString::number(engineRounded(field, value), 'f', 1) + QString::fromUtf8("℃");
    }
    return QString();
}
