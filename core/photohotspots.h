#pragma once

#include "hotspotdetector.h"
#include "photoposition.h"
#include "photorecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The anomalies of one photograph with what places them: its path, time and position.
struct PhotoHotSpots
{
    QString path;
    int result = LoadCannotOpen;               // the loader's result code; 0 when it loaded
    QString time;                              // when it was taken, as the information panel shows it
    std::optional<PhotoPosition> position;
    HotSpots found;                            // nothing when it did not load
};

// The settings for the photograph: the reference rectangle marked beside it (when sidecars are
// read) unless the settings name one.
HotSpotSettings hotSpotSettingsFor(const QString &photoPath, const HotSpotSettings &settings);

// Loads the photograph into record as a first load does (with the settings saved beside it
// and the overriding camera values over them) and finds its anomalies. The record is the
// caller's, so one record per thread serves photograph after photograph without a new block;
// it keeps no whole-frame statistics when statistics says so.
PhotoHotSpots scanPhotoHotSpots(const QByteArray &nativePath, const HotSpotSettings &settings, PhotoRecord &record,
                                const CameraCorrection &overriding = CameraCorrection(),
                                FrameStatistics statistics = FrameStatistics::Computed);
