#pragma once

#include "temperatureengine.h"

#include <QString>

#include <optional>

// The four camera parameters a user may correct on a photograph whose temperatures come from
// a raw frame and its calibration block, in the units the user types: emissivity in percent,
// distance in metres, humidity in percent, reflected temperature in °C. A field without a
// value keeps the calibration block's own.
struct CameraCorrection
{
    std::optional<double> emissivity; // percent, 1..100
    std::optional<double> distance;   // metres, 0.5..500
    std::optional<double> humidity;   // percent, 0..100
    std::optional<double> reflected;  // °C, -40..550

    bool isEmpty() const { return !emissivity && !distance && !humidity && !reflected; }
    // This correction with the fields other gives laid over it.
    CameraCorrection overlaidWith(const CameraCorrection &other) const;
    bool operator==(const CameraCorrection &o) const
    {
        return emissivity == o.emissivity && distance == o.distance && humidity == o.humidity && reflected == o.reflected;
    }
    bool operator!=(const CameraCorrection &o) const { return !(*this == o); }
};

enum class CameraField { Emissivity, Distance, Humidity, Reflected };

// The value as the engine takes it, rounded to the engine's step (1 % for emissivity and
// humidity, 0.1 m, 0.1 °C), back in the user's unit.
double engineRounded(CameraField field, double value);

// An empty text when the engine accepts the value, otherwise a message naming the accepted
// range in the user's unit (translated).
QString cameraRangeError(CameraField field, double value);
QString cameraRangeError(const CameraCorrection &correction);

// The block's parameters with the correction's fields put in. The correction must be within
// range (cameraRangeError gives none).
MeasureParams correctedParams(MeasureParams params, const CameraCorrection &correction);

// The panel's text for a corrected value: "95%", "5.0m", "50%rh", "23.0℃".
QString correctedText(CameraField field, double value);
