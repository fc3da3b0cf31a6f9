#include "temperatureunit.h"

TemperatureUnit temperatureUnitFromCode(int code)
{
    return code == 1 ? TemperatureUnit::Kelvin : code == 2 ? TemperatureUnit::Fahrenheit : TemperatureUnit::Celsius;
}

QString unitSymbol(TemperatureUnit unit)
{
    switch (unit) {
    case TemperatureUnit::Kelvin:
        return QStringLiteral("K");
    case TemperatureUnit::Fahrenheit:
        return QString::fromUtf8("℉");
    case TemperatureUnit::Celsius:
        break;
    }
    return QString::fromUtf8("℃");
}

double fromCelsius(double celsius, TemperatureUnit unit)
{
    switch (unit) {
    case TemperatureUnit::Kelvin:
        return celsius + 273.15;
    case TemperatureUnit::Fahrenheit:
        return celsius * 9.0 / 5.0 + 32.0;
    case TemperatureUnit::Celsius:
        break;
    }
    return celsius;
}

double toCelsius(double value, TemperatureUnit unit)
{
    switch (unit) {
    case TemperatureUnit::Kelvin:
        return value - 273.15;
    case TemperatureUnit::Fahrenheit:
        return (value - 32.0) * 5.0 / 9.0;
    case TemperatureUnit::Celsius:
        break;
    }
    return value;
}
