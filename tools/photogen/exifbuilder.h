#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the EXIF segment of a JPEG the way a camera does: a TIFF structure with IFD0, an
// EXIF sub-IFD holding the capture dates and a GPS sub-IFD. Used by the tests and by the
// photograph generator.
struct Rational
{
    std::uint32_t numerator;
    std::uint32_t denominator;
};

struct GpsFields
{
    char latitudeRef = 'N';
    Rational latitude[3] = {{0, 1}, {0, 1}, {0, 1}};
    char longitudeRef = 'E';
    Rational longitude[3] = {{0, 1}, {0, 1}, {0, 1}};
    std::uint8_t altitudeRef = 0;
    Rational altitude = {0, 1};
    bool valuesBeforeReferences = false; // entry order inside the GPS IFD
};

struct ExifFields
{
    bool littleEndian = true;
    std::string dateTimeOriginal;  // written with its terminating zero; empty: no entry
    std::string dateTimeDigitized;
    bool hasGps = false;
    GpsFields gps;
};

// One IFD entry; values of more than four bytes are placed after the directories.
struct TiffEntry
{
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::vector<std::uint8_t> value; // already in the file's byte order
};

class TiffWriter
{
public:
    explicit TiffWriter(bool littleEndian) : m_little(littleEndian) {}

    std::vector<std::uint8_t> u16(std::uint16_t v) const;
    std::vector<std::uint8_t> u32(std::uint32_t v) const;
    std::vector<std::uint8_t> rationals(const Rational *values, int count) const;

    // IFD0, then the sub-IFDs it points to through the given tags.
    std::vector<std::uint8_t> write(std::vector<TiffEntry> ifd0,
                                    const std::vector<std::pair<std::uint16_t, std::vector<TiffEntry>>> &subIfds) const;

private:
    bool m_little;
};

std::vector<std::uint8_t> buildTiff(const ExifFields &fields);

// APP1 segment (marker, length, "Exif\0\0", TIFF).
std::vector<std::uint8_t> buildApp1(const std::vector<std::uint8_t> &tiff);

// A minimal JPEG byte stream: start of image, the APP1 segment, end of image. It carries no
// picture; enough for the EXIF parser.
std::vector<std::uint8_t> buildExifJpeg(const ExifFields &fields);
