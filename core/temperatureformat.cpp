#include "temperatureformat.h"

QString formatTemperature(float value)
{
    return QString::number(double(value), 'g', 6);
}
