#pragma once

#include "exifbuilder.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Writes radiometric photographs with a known temperature field in each container kind the
// loader reads. Used by the tests, the benchmarks, the fuzz corpus and the demo folder.

enum class ContainerKind { InfoBlockDirect, InfoBlockCalibrated, SegmentedRjpeg, CompanionIrg };

// One tagged value of the IR information block: id (little-endian on disk) and value bytes.
struct InfoTag
{
    std::uint16_t id;
    std::vector<std::uint8_t> value;
};

InfoTag numberTag(std::uint16_t id, std::uint16_t value);
InfoTag textTag(std::uint16_t id, const std::string &text); // written with its zero byte

// The camera's settings as the info block states them.
struct CameraTags
{
    std::string gimbalType = "QT640";
    std::string version = "V2.1.0";
    std::uint16_t cavityTemp = 352;     // tenths of a degree
    std::uint16_t focalPlaneTemp = 318;
    std::string lastFlatField = "2024-06-01 09:29:58";
    std::uint16_t gainMode = 0;         // 0 high gain
    std::uint16_t tempUnit = 0;         // 0 °C, 1 K, 2 °F
    std::uint16_t reflectTemp = 230;
    std::uint16_t airTemp = 225;
    std::uint16_t humidity = 60;
    std::uint16_t transRate = 100;
    std::uint16_t emissivity = 95;
    std::uint16_t distance = 5;
};

std::vector<InfoTag> cameraInfoTags(const CameraTags &camera);

// The calibration block of calibrated photographs: the raw value is the curve index.
struct CalibrationSettings
{
    std::uint16_t emissivity = 100;
    std::uint16_t humidity = 60;
    std::uint16_t distance = 50;
    std::int16_t reflectedTemp = 230;
    bool wideRange = true;
    std::uint8_t curveFamily = 1;
    bool magic = true;
};

std::array<std::uint8_t, 2560> calibrationBlock(const CalibrationSettings &settings);

struct PhotoSpec
{
    ContainerKind kind = ContainerKind::InfoBlockDirect;
    int width = 640;
    int height = 512;
    std::vector<float> temperatures; // °C, row-major; NA_TEMPERATURE for no reading
    CameraTags camera;
    std::vector<InfoTag> tags;       // when empty: cameraInfoTags(camera)
    CalibrationSettings calibration;
    bool withExif = true;
    ExifFields exif;
};

// The raw frame (kRawFramePixels words) that encodes the shot's temperatures.
std::vector<std::uint16_t> encodeFrame(const PhotoSpec &shot);

// The IR information block: marker, tags, frame tag, frame, calibration block.
std::vector<std::uint8_t> infoBlock(const std::vector<InfoTag> &tags, const std::vector<std::uint16_t> &frame,
                                    const std::array<std::uint8_t, 2560> &calibration);

// A decodable JPEG of the temperature field, with the EXIF segment when asked.
std::vector<std::uint8_t> pictureJpeg(const PhotoSpec &shot);

// Writes the photograph (and its ".irg" companion) and returns the temperatures a loader
// must read back, row-major in °C. When a file cannot be written, error (when given) receives
// its path and the reason; a file is written whole or not at all.
std::vector<float> writePhoto(const QString &path, const PhotoSpec &shot, QString *error = nullptr);

// Temperatures the shot's kind can carry: what the loader reads for the shot's field.
std::vector<float> expectedTemperatures(const PhotoSpec &shot);
