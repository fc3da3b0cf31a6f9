#include "photohotspots.h"

PhotoHotSpots scanPhotoHotSpots(const QByteArray &nativePath, const HotSpotSettings &settings, PhotoRecord &record,
                                const CameraCorrection &overriding)
{
    PhotoHotSpots scanned;
    scanned.result = loadNewPhoto(nativePath, record, nullptr, overriding);
    scanned.path = record.path;
    if (scanned.result != LoadOk)
        return scanned;
    scanned.time = record.texts.value(TextCreated);
    scanned.position = photoPosition(record.texts);
    scanned.found = findHotSpots(*record.matrix, settings);
    return scanned;
}
