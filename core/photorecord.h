#pragma once

#include "cameraparameters.h"
#include "irinfo.h"
#include "photoloader.h"
#include "temperaturematrix.h"
#include "temperatureunit.h"

#include <QString>
#include <QStringList>

// The seventeen texts of the information panel, in record order.
enum DisplayText {
    TextReflectedTemp,
    TextAirTemp,
    TextHumidity,
    TextEmissivity,
    TextTransmittance,
    TextDistance,
    TextGimbalType,
    TextVersion,
    TextCreated,
    TextModified,
    TextResolution,
    TextCavityTemp,
    TextFocalPlaneTemp,
    TextLastFlatField,
    TextGainMode,
    TextGps,
    TextAltitude,
    DisplayTextCount
};

inline QStringList unknownDisplayTexts()
{
    QStringList texts;
    for (int i = 0; i < DisplayTextCount; ++i)
        texts << "NA";
    return texts;
}

// One value without a reading: the matrix of a photograph that never loaded.
const SharedMatrix &noReadingMatrix();

// How the picture is drawn: the photograph's embedded picture, or its temperatures mapped
// through the palette over a span.
enum class Rendering { Embedded, Temperatures };

// The temperatures a palette's ends stand for: the photograph's own minimum to maximum, or
// values the user set.
struct TemperatureSpan
{
    bool automatic = true;
    float low = 0.0f;  // °C, used when not automatic
    float high = 0.0f; // °C, used when not automatic
    bool operator==(const TemperatureSpan &o) const
    {
        return automatic == o.automatic && (automatic || (low == o.low && high == o.high));
    }
    bool operator!=(const TemperatureSpan &o) const { return !(*this == o); }
};

// Everything known about one photograph.
struct PhotoRecord
{
    QString path;
    bool hasTemperature = false;
    int width = 0;
    int height = 0;
    TempStats stats;
    int paletteIndex = -1;       // palette shown, -1 none
    float alarmThreshold = 0.0f; // °C
    int alarmMode = -1;          // -1 none, 0 low-temperature alarm, 1 high-temperature alarm
    Rendering rendering = Rendering::Embedded;
    TemperatureSpan span;
    TemperatureUnit unit = TemperatureUnit::Celsius; // the camera's, for what the user reads
    // The temperatures came from a raw frame through its calibration block, so the camera
    // parameters can be corrected; the correction is what the user set (kept across reloads).
    bool calibrated = false;
    CameraCorrection correction;
    // Why the photograph's saved settings could not be read or written; empty when they could.
    QString sidecarError;
    QStringList texts = unknownDisplayTexts();
    // The same block as the unturned entry of the rotation table: a record copy shares it.
    SharedMatrix matrix = noReadingMatrix();
};

// The display texts made from a photograph's information map and picture size. The gain mode
// is stored in the source language and translated where it is shown.
QStringList displayTexts(IrInfo &info, int width, int height);

// Loads the photograph at nativePath (the file name's bytes, so that a name the locale cannot
// spell is opened too) into record with the correction, without touching the photograph store:
// path, size and calibrated; on success statistics, unit, texts and matrix, on failure the
// statistics and matrix of no reading. photoType, when given, receives the container kind
// found. A matrix a load made, held by the record alone, has its block filled again rather
// than a new one made: one record loaded with photograph after photograph costs no new block.
// Returns the loader's result code (0 on success).
// A load for a reader that never looks at the whole-frame statistics (a scan for anomalies)
// may skip their pass; the record then holds the statistics of no reading.
enum class FrameStatistics { Computed, Skipped };
int loadPhoto(const QByteArray &nativePath, const CameraCorrection &correction, PhotoRecord &record,
              PhotoType *photoType = nullptr, FrameStatistics statistics = FrameStatistics::Computed);
// The same into a new record, as a photograph's first load in a run: with the settings saved
// beside it (when sidecars are read) and their correction, with the fields of overriding laid
// over it. For tools that go through many photographs one at a time.
int loadNewPhoto(const QByteArray &nativePath, PhotoRecord &record, PhotoType *photoType = nullptr,
                 const CameraCorrection &overriding = CameraCorrection(),
                 FrameStatistics statistics = FrameStatistics::Computed);
