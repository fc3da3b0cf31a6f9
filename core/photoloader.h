#pragma once

#include "cameraparameters.h"
#include "irinfo.h"
#include "temperaturematrix.h"

#include <cstdint>

// The container kinds of radiometric photographs. The value 1 is not assigned.
enum PhotoType {
    CompanionIrg = 0,        // raw frame in a companion ".irg" file
    SegmentedRjpeg = 2,      // raw frame split over APP1 segments tagged "Vexlo"
    InfoBlockDirect = 3,     // IR information block, frame in tenths of a kelvin
    InfoBlockCalibrated = 4, // IR information block, frame converted through its calibration block
    UnsupportedPhoto = 5,    // cannot be opened, or shorter than 1000 bytes
};

enum LoadResult {
    LoadOk = 0,
    LoadCannotOpen = -1,
    LoadContainerFailed = -2,
    LoadConversionFailed = -3,
    LoadUnsupported = -4,
    LoadFrameIncomplete = -5, // the file ends before the frame (or its calibration block) does
};

// What a load result means, in English, for logs and the qct command: what failed ("no such
// file", "permission denied", "not a photograph this program reads", "frame incomplete: ...").
// path, the native path loaded, tells apart why a file could not be opened.
const char *loadResultText(int result, const char *path);

// True for the gimbal type codes whose frames need the temperature engine.
bool isCalibratedGimbal(const std::string &gimbalType);

PhotoType detectPhotoType(const char *path);

// Reads the photograph's raw frame from its container and converts the first width x height
// values into temperatures. info receives the IR tags and EXIF texts of info-block photographs.
// A correction replaces calibration block values handed to the engine; photographs that store
// temperatures directly ignore it. photoType, when given, receives the container kind found.
// stats, when given, receives the whole-frame statistics; a caller that never reads them (a
// scan for anomalies) passes none and saves their pass.
int loadIrImage(const char *path, int width, int height, TempStats *stats, IrInfo &info, TemperatureMatrix &matrix,
                const CameraCorrection &correction = CameraCorrection(), PhotoType *photoType = nullptr);

// The .irg companion: any bytes followed by the raw frame as the file's last kRawFrameBytes;
// one that starts with the "IRG\0" header holds its 256 header bytes first. 0, or -1 when it
// cannot be opened or is too short for that.
int readIrgFile(const char *path, unsigned char *frame);

// Collects the payloads of the "Vexlo" APP1 segments into frame; byteCount counts the bytes
// appended (the caller sets it to 0).
int readRjpegSegments(const char *path, unsigned char *frame, std::uint32_t *byteCount);

// Frames in tenths of a kelvin (2732 = 0 °C, 0 = no reading) and frames already in °C.
int rawFrameToTemperature(const std::uint16_t *frame, int width, int height, TempStats &stats,
                          TemperatureMatrix &matrix);
int floatFrameToTemperature(const float *frame, int width, int height, TempStats &stats, TemperatureMatrix &matrix);
