#include "photohotspots.h"

#include "sidecar.h"

HotSpotSettings hotSpotSettingsFor(const QString &photoPath, const HotSpotSettings &settings)
{
    HotSpotSettings own = settings;
    if (!own.referenceArea && sidecarsRead())
        own.referenceArea = sidecarHotSpotReference(photoPath);
    return own;
}

PhotoHotSpots scanPhotoHotSpots(const QByteArray &nativePath, const HotSpotSettings &settings, PhotoRecord &record,
                                const CameraCorrection &overriding, FrameStatistics statistics)
{
    PhotoHotSpots scanned;
    scanned.result = loadNewPhoto(nativePath, record, nullptr, overriding, statistics);
    scanned.path = record.path;
    if (scanned.result != LoadOk)
        return scanned;
    scanned.time = record.texts.value(TextCreated);
    scanned.position = photoPosition(record.texts);
    scanned.found = findHotSpots(*record.matrix, hotSpotSettingsFor(record.path, settings));
    return scanned;
}
