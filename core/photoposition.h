#pragma once

#include <QStringList>

#include <optional>

// Where a photograph was taken, in decimal degrees (west and south negative) and metres.
struct PhotoPosition
{
    double longitude = 0;
    double latitude = 0;
    std::optional<double> altitude; // absent when the photograph does not state it
};

// The position in a photograph's display texts (TextGps, TextAltitude, as displayTexts writes
// them: six decimals of a degree, a tenth of a metre); none when they read "NA".
std::optional<PhotoPosition> photoPosition(const QStringList &texts);
