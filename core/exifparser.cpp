#include "exifparser.h"

#include <cstring>

namespace {

enum : std::uint16_t {
    TagExifIfd = 34665,
    TagGpsIfd = 34853,
    TagDateTimeOriginal = 36867,
    TagDateTimeDigitized = 36868,
    GpsLatitudeRef = 1,
    GpsLatitude = 2,
    GpsLongitudeRef = 3,
    GpsLongitude = 4,
    GpsAltitudeRef = 5,
    GpsAltitude = 6,
};

enum : std::uint16_t { TypeByte = 1, TypeAscii = 2, TypeShort = 3, TypeLong = 4, TypeRational = 5,
                       TypeSignedRational = 10 };

// The TIFF structure inside the APP1 segment. Offsets stored in the file count from the TIFF
// header, which sits 6 bytes into the segment; every read is checked against the segment.
class Segment
{
public:
    Segment(const unsigned char *bytes, std::uint64_t size) : m_bytes(bytes), m_size(size) {}

    std::uint64_t size() const { return m_size; }
    bool fits(std::uint64_t at, std::uint64_t length) const { return at <= m_size && length <= m_size - at; }
    void setLittleEndian(bool little) { m_little = little; }
    const unsigned char *at(std::uint64_t offset) const { return m_bytes + offset; }

    std::uint16_t u16(std::uint64_t at) const
    {
        const unsigned char *p = m_bytes + at;
        return m_little ? std::uint16_t(p[0] | (p[1] << 8)) : std::uint16_t((p[0] << 8) | p[1]);
    }
    std::uint32_t u32(std::uint64_t at) const
    {
        const unsigned char *p = m_bytes + at;
        return m_little ? std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24
                        : std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | std::uint32_t(p[3]);
    }

private:
    const unsigned char *m_bytes;
    std::uint64_t m_size;
    bool m_little = false;
};

struct Entry
{
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::uint64_t valueField; // segment offset of the 4-byte value field
};

Entry readEntry(const Segment &s, std::uint64_t at)
{
    return {s.u16(at), s.u16(at + 2), s.u32(at + 4), at + 8};
}

// Position of a sub-IFD or a value: file offsets count from the TIFF header.
std::uint64_t segmentOffset(std::uint32_t fileOffset)
{
    return std::uint64_t(fileOffset) + 6;
}

double rational(const Segment &s, std::uint64_t at)
{
    const double numerator = s.u32(at);
    const double denominator = s.u32(at + 4);
    return denominator < 1e-20 ? 0.0 : numerator / denominator;
}

// 0 - x rather than -x: a reference met before its value must not leave a negative zero.
double negated(double value)
{
    return 0.0 - value;
}

std::string asciiValue(const Segment &s, const Entry &e, bool &ok)
{
    const std::uint64_t at = e.count <= 4 ? e.valueField : segmentOffset(s.u32(e.valueField));
    ok = s.fits(at, e.count);
    if (!ok)
        return std::string();
    std::string text(reinterpret_cast<const char *>(s.at(at)), e.count);
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

// Visits each entry of a sub-IFD. One whose table does not fit the segment is corrupt; one
// that starts outside it is passed over.
template<typename Visit>
int walkSubIfd(const Segment &s, std::uint64_t position, Visit visit)
{
    if (!s.fits(position, 4))
        return ExifOk;
    const std::uint16_t count = s.u16(position);
    if (position + 12ull * count + 6 > s.size())
        return ExifCorrupt;
    for (std::uint16_t k = 0; k < count; ++k)
        visit(readEntry(s, position + 2 + 12ull * k));
    return ExifOk;
}

int readExifIfd(const Segment &s, std::uint64_t position, ExifInfo &info)
{
    return walkSubIfd(s, position, [&](const Entry &e) {
        if (e.type != TypeAscii || (e.tag != TagDateTimeOriginal && e.tag != TagDateTimeDigitized))
            return;
        bool ok = false;
        const std::string text = asciiValue(s, e, ok);
        if (ok)
            (e.tag == TagDateTimeOriginal ? info.dateTimeOriginal : info.dateTimeDigitized) = text;
    });
}

// Reads degrees, minutes and seconds; false when the entry is not three rationals inside
// the segment.
bool readCoordinate(const Segment &s, const Entry &e, GpsCoordinateParts &parts, double &decimal)
{
    if ((e.type != TypeRational && e.type != TypeSignedRational) || e.count != 3)
        return false;
    const std::uint64_t at = segmentOffset(s.u32(e.valueField));
    if (!s.fits(at, 24))
        return false;
    parts.degrees = rational(s, at);
    parts.minutes = rational(s, at + 8);
    parts.seconds = rational(s, at + 16);
    decimal = parts.degrees + parts.minutes / 60 + parts.seconds / 3600;
    return true;
}

void readReference(const Segment &s, const Entry &e, GpsCoordinateParts &parts, double &decimal, char negative)
{
    const unsigned char first = *s.at(e.valueField);
    parts.direction = first == 0 ? '?' : static_cast<char>(first);
    if (parts.direction == negative)
        decimal = negated(decimal);
}

int readGpsIfd(const Segment &s, std::uint64_t position, ExifInfo &info)
{
    return walkSubIfd(s, position, [&](const Entry &e) {
        switch (e.tag) {
        case GpsLatitudeRef:
            readReference(s, e, info.latitudeParts, info.latitude, 'S');
            break;
        case GpsLongitudeRef:
            readReference(s, e, info.longitudeParts, info.longitude, 'W');
            break;
        case GpsLatitude:
            if (readCoordinate(s, e, info.latitudeParts, info.latitude) && info.latitudeParts.direction == 'S')
                info.latitude = negated(info.latitude);
            break;
        case GpsLongitude:
            if (readCoordinate(s, e, info.longitudeParts, info.longitude) && info.longitudeParts.direction == 'W')
                info.longitude = negated(info.longitude);
            break;
        case GpsAltitudeRef:
            info.altitudeRef = *s.at(e.valueField);
            if (info.altitudeRef == 1)
                info.altitude = negated(info.altitude);
            break;
        case GpsAltitude: {
            if (e.type != TypeRational && e.type != TypeSignedRational)
                break;
            const std::uint64_t at = segmentOffset(s.u32(e.valueField));
            if (!s.fits(at, 8))
                break;
            info.altitude = rational(s, at);
            if (info.altitudeRef == 1)
                info.altitude = negated(info.altitude);
            break;
        }
        default:
            break;
        }
    });
}

// One past the last 0xFF 0xD9 pair, or 2 or less when there is none. Files carry their
// raw frame after the picture, so the pair is looked for with memrchr rather than byte by byte.
std::size_t endOfImage(const unsigned char *data, std::size_t size)
{
    std::size_t n = size;
    while (n > 2) {
        const void *hit = memrchr(data + 1, 0xD9, n - 1);
        if (!hit)
            return 0;
        const std::size_t at = std::size_t(static_cast<const unsigned char *>(hit) - data);
        if (data[at - 1] == 0xFF)
            return at + 1;
        n = at;
    }
    return n;
}

bool isPointerType(std::uint16_t type)
{
    return type == TypeShort || type == TypeLong;
}

std::uint32_t pointerValue(const Segment &s, const Entry &e)
{
    return e.type == TypeShort ? s.u16(e.valueField) : s.u32(e.valueField);
}

} // namespace

int parseExif(ExifInfo &info, const unsigned char *data, std::size_t size)
{
    if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return ExifNotJpeg;
    // Bytes after the last end-of-image pair are not part of the picture.
    std::size_t n = endOfImage(data, size);
    if (n <= 2)
        return ExifNotJpeg;

    info = ExifInfo();

    // The first 0xFF 0xE1 pair, found byte by byte rather than by following the markers.
    std::size_t marker = 0;
    while (marker + 1 < n && !(data[marker] == 0xFF && data[marker + 1] == 0xE1))
        ++marker;
    if (marker + 1 >= n)
        return ExifMissing;
    if (marker + 4 > n)
        return ExifCorrupt;
    const std::uint64_t length = (std::uint64_t(data[marker + 2]) << 8) | data[marker + 3];
    if (marker + 2 + length > n || length < 16)
        return ExifCorrupt;

    Segment s(data + marker + 4, n - marker - 4);
    if (s.size() < 6 || std::memcmp(s.at(0), "Exif\0\0", 6) != 0)
        return ExifMissing;
    if (s.size() < 14)
        return ExifCorrupt;

    const unsigned char *tiff = s.at(6);
    if (tiff[0] == 'I' && tiff[1] == 'I') {
        s.setLittleEndian(true);
        info.byteOrder = 1;
        if (s.u16(8) != 42)
            return ExifCorrupt;
    } else if (tiff[0] == 'M' && tiff[1] == 'M') {
        info.byteOrder = 0;
        if (tiff[2] != 0x00 || tiff[3] != 0x2A)
            return ExifCorrupt;
    } else {
        return ExifBadByteOrder;
    }

    const std::uint64_t ifd0 = segmentOffset(s.u32(10));
    if (ifd0 >= s.size() || ifd0 + 2 > s.size())
        return ExifCorrupt;
    const std::uint16_t count = s.u16(ifd0);
    if (ifd0 + 6 + 12ull * count > s.size())
        return ExifCorrupt;

    std::uint64_t exifIfd = 0;
    std::uint64_t gpsIfd = 0;
    for (std::uint16_t k = 0; k < count; ++k) {
        const std::uint64_t at = ifd0 + 2 + 12ull * k;
        if (!s.fits(at, 12))
            break;
        const Entry e = readEntry(s, at);
        if (e.tag == TagExifIfd && isPointerType(e.type))
            exifIfd = segmentOffset(pointerValue(s, e));
        else if (e.tag == TagGpsIfd && isPointerType(e.type))
            gpsIfd = segmentOffset(pointerValue(s, e));
    }
    if (exifIfd) {
        const int result = readExifIfd(s, exifIfd, info);
        if (result != ExifOk)
            return result;
    }
    if (gpsIfd)
        return readGpsIfd(s, gpsIfd, info);
    return ExifOk;
}
