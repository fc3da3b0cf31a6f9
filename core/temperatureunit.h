#pragma once

#include <QString>

// The unit a camera shows its temperatures in (its IrTempUnit tag). Temperatures travel in °C
// everywhere; only what the user reads is in the photograph's unit.
enum class TemperatureUnit { Celsius, Kelvin, Fahrenheit };

// The tag's code: 1 kelvin, 2 Fahrenheit, anything else (a missing tag too) Celsius.
TemperatureUnit temperatureUnitFromCode(int code);

// "℃", "K" or "℉".
QString unitSymbol(TemperatureUnit unit);

double fromCelsius(double celsius, TemperatureUnit unit);
double toCelsius(double value, TemperatureUnit unit);
