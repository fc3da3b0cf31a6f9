#pragma once

#include <QString>

// A temperature as the tables write it: general notation with 6 significant digits, "."
// as decimal separator whatever the locale (23.5, -4.25, 65536, 1.23457e+06).
QString formatTemperature(float value);

// The same into buffer (room for 32 characters); returns one past the last character.
char *formatTemperature(float value, char *buffer);

// A temperature as the analysis page shows it: one decimal and ℃, or NA without a reading.
QString shownTemperature(float value);
