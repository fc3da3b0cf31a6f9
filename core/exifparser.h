#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Degrees, minutes and seconds of a GPS coordinate as stored, with its direction letter
// ('?' when the file gives none).
struct GpsCoordinateParts
{
    double degrees = 0;
    double minutes = 0;
    double seconds = 0;
    char direction = '?';
};

// What the EXIF segment of a photograph tells this program.
struct ExifInfo
{
    std::uint8_t byteOrder = 0; // 1 for "II" (little-endian), 0 for "MM"
    std::string dateTimeOriginal;
    std::string dateTimeDigitized;
    double latitude = 0;  // decimal degrees, negative for south
    double longitude = 0; // decimal degrees, negative for west
    double altitude = 0;  // metres, negative below the reference
    std::uint8_t altitudeRef = 0;
    GpsCoordinateParts latitudeParts;
    GpsCoordinateParts longitudeParts;
};

enum ExifResult {
    ExifOk = 0,
    ExifNotJpeg = 1982,   // no data, too short, no start-of-image or no end-of-image pair
    ExifMissing = 1983,   // no APP1 marker or no "Exif\0\0" prefix
    ExifBadByteOrder = 1984,
    ExifCorrupt = 1985,   // lengths, offsets or counts that do not fit the data
};

// Parses the EXIF segment of a whole JPEG file held in data[0..size). Never reads outside
// those bytes, whatever the offsets and counts inside them say.
int parseExif(ExifInfo &info, const unsigned char *data, std::size_t size);
