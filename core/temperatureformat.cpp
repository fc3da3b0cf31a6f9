#include "temperatureformat.h"

#include "temperaturematrix.h"

#include <charconv>

char *formatTemperature(float value, char *buffer)
{
    // to_chars with a precision formats as printf's "%.6g" in the C locale.
    return std::to_chars(buffer, buffer + 32, double(value), std::chars_format::general, 6).ptr;
}

QString shownTemperature(float value)
{
    return value == NA_TEMPERATURE ? QStringLiteral("NA") : QString::number(value, 'f', 1) + QString::fromUtf8("℃");
}

QString formatTemperature(float value)
{
    char buffer[32];
    return QString::fromLatin1(buffer, int(formatTemperature(value, buffer) - buffer));
}
