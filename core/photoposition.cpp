#include "photoposition.h"

#include "photorecord.h"

#include <cmath>

namespace {

// "E120.151234": the direction letter decides the sign, whether or not the number carries
// one too ("W-120.151234" is what a west position reads).
std::optional<double> coordinate(const QString &text, QChar positive, QChar negative)
{
    if (text.size() < 2 || (text[0] != positive && text[0] != negative))
        return std::nullopt;
    bool ok = false;
    const double value = text.mid(1).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return text[0] == negative ? -std::fabs(value) : std::fabs(value);
}

} // namespace

std::optional<PhotoPosition> photoPosition(const QStringList &texts)
{
    const QStringList parts = texts.value(TextGps).split(',');
    if (parts.size() != 2)
        return std::nullopt;
    const std::optional<double> longitude = coordinate(parts[0], 'E', 'W');
    const std::optional<double> latitude = coordinate(parts[1], 'N', 'S');
    if (!longitude || !latitude)
        return std::nullopt;
    PhotoPosition position{*longitude, *latitude, std::nullopt};
    QString altitude = texts.value(TextAltitude);
    if (altitude.endsWith('m')) {
        altitude.chop(1);
        bool ok = false;
        const double metres = altitude.toDouble(&ok);
        if (ok && std::isfinite(metres))
            position.altitude = metres;
    }
    return position;
}
