#include "temperatureformat.h"

#include <charconv>

char *formatTemperature(float value, char *buffer)
{
    // to_chars with a precision formats as printf's "%.6g" in the C locale.
    return std::to_chars(buffer, buffer + 32, double(value), std::chars_format::general, 6).ptr;
}

QString formatTemperature(float value)
{
    char buffer[32];
    return QString::fromLatin1(buffer, int(formatTemperature(value, buffer) - buffer));
}
