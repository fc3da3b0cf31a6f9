#include "irinfo.h"

#include "cfile.h"
#include "diagnostics.h"
#include "exifparser.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kBlockMarker[] = "IR_INFO_START";
constexpr int kBlockMarkerLength = 13;
constexpr std::uint16_t kFrameTag = 0xBA01;
constexpr int kFrameTagWindowEnd = 499;
constexpr int kCalibrationWindowEnd = 655599;

std::uint16_t u16(const unsigned char *p)
{
    return std::uint16_t(p[0] | (p[1] << 8));
}

// First offset in [from, windowEnd] holding the tag id, or -1. Earlier values are searched
// too: the search starts at the previous hit's value, not after it.
int findTag(const unsigned char *block, int from, int windowEnd, std::uint16_t tag)
{
    for (int i = from; i <= windowEnd; ++i) {
        if (u16(block + i) == tag)
            return i;
    }
    return -1;
}

// "%f" in the C locale, whatever locale the program runs in.
std::string fixed6(double value)
{
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    return std::string(text, result.ptr);
}

void storeText(IrInfo &info, const char *key, const std::string &text)
{
    info[key].text = isPrintable(text) ? text : "NA";
}

void storeExif(IrInfo &info, const ExifInfo &exif)
{
    storeText(info, "DateTimeOriginal", exif.dateTimeOriginal);
    storeText(info, "DateTimeDigitized", exif.dateTimeDigitized);
    storeText(info, "GPSLongitudeRef", std::string(1, exif.longitudeParts.direction));
    storeText(info, "GPSLongitude", fixed6(exif.longitude));
    storeText(info, "GPSLatitudeRef", std::string(1, exif.latitudeParts.direction));
    storeText(info, "GPSLatitude", fixed6(exif.latitude));
    storeText(info, "GPSAltitude", fixed6(exif.altitude));
}

} // namespace

bool isPrintable(const std::string &text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

namespace {

// Finds the tag and records its declared length; the value's bytes, or nullptr (text "NA")
// when the tag is not in its window.
const unsigned char *taggedValue(const unsigned char *block, int &position, IrInfoEntry &entry, std::uint16_t tag,
                                 int windowEnd)
{
    const int hit = findTag(block, position, windowEnd, tag);
    if (hit < 0) {
        entry.text = "NA";
        return nullptr;
    }
    entry.length = u16(block + hit + 2);
    position = hit + 4;
    return block + position;
}

} // namespace

void readNumberTag(const unsigned char *block, int &position, IrInfo &info, std::uint16_t tag, const char *key,
                   int windowEnd)
{
    IrInfoEntry &entry = info[key];
    const unsigned char *value = taggedValue(block, position, entry, tag, windowEnd);
    if (!value)
        return;
    entry.value = u16(value);
    // Every numeric tag holds 0..1000, whatever it measures.
    entry.text = entry.value > 1000 ? "NA" : std::to_string(entry.value);
}

void readTextTag(const unsigned char *block, int &position, IrInfo &info, std::uint16_t tag, const char *key,
                 int windowEnd)
{
    IrInfoEntry &entry = info[key];
    const unsigned char *value = taggedValue(block, position, entry, tag, windowEnd);
    if (!value)
        return;
    entry.raw.fill(0);
    std::memcpy(entry.raw.data(), value, std::min<std::size_t>(entry.length, entry.raw.size()));
    // A value without a zero byte is all 512 bytes, never more.
    const auto end = std::find(entry.raw.begin(), entry.raw.end(), 0);
    const std::string text(entry.raw.begin(), end);
    entry.text = isPrintable(text) ? text : "NA";
}

void readFrame(const unsigned char *block, int &position, unsigned char *frame)
{
    const int hit = findTag(block, position, kFrameTagWindowEnd, kFrameTag);
    const int start = hit < 0 ? 0 : hit + 6;
    if (hit >= 0)
        position = start;
    std::memcpy(frame, block + start, kRawFrameBytes);
    position += kRawFrameBytes;
}

int readCalibration(const unsigned char *block, int &position, unsigned char *calibration)
{
    int found = -1;
    for (int i = position; i <= kCalibrationWindowEnd; ++i) {
        if (block[i] == 0xAA && block[i + 1] == 0x55) {
            found = i;
            break;
        }
    }
    std::memcpy(calibration, block + std::max(found, 0), kCalibrationBytes);
    return found;
}

bool readFileHead(const char *path, FileHead &head)
{
    head.size = -1;
    head.read = 0;
    head.held = 0;
    // Read through the descriptor: one open, one status, the reads and one close, where the C
    // runtime's stream asked for the size by seeking and reading the file's end. Only regular
    // files, as openForReading, so a FIFO never blocks the reader (O_NONBLOCK means nothing to
    // a regular file's reads).
    if (!path)
        return false;
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    head.size = long(status.st_size);
    // Left uninitialised, and kept for the next file read into the same head: the detector only
    // looks at what was read, and the block reader clears what it may look at past that.
    if (!head.bytes)
        head.bytes.reset(new unsigned char[std::size_t(kFileReadLimit) + kBlockReach]);
    const std::size_t wanted = std::size_t(std::clamp<long>(head.size, 0, long(kFileReadLimit) + kBlockReach));
    std::size_t held = 0;
    while (held < wanted) {
        const ssize_t got = ::read(fd, head.bytes.get() + held, wanted - held);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        held += std::size_t(got);
    }
    ::close(fd);
    head.held = held;
    head.read = std::min<std::size_t>(head.held, kFileReadLimit);
    return true;
}

int readInfoBlockPhoto(const char *path, IrInfo &info, unsigned char *frame, unsigned char *calibration,
                       InfoBlockExtent *extent)
{
    FileHead head;
    if (!readFileHead(path, head))
        return InfoBlockMissing;
    return parseInfoBlockPhoto(head, info, frame, calibration, extent);
}

int parseInfoBlockPhoto(FileHead &head, IrInfo &info, unsigned char *frame, unsigned char *calibration,
                        InfoBlockExtent *extent)
{
    if (extent)
        *extent = InfoBlockExtent();
    if (head.size < 1000)
        return InfoBlockMissing;
    ExifInfo exif;
    const int exifResult = parseExif(exif, head.bytes.get(), head.read);
    if (exifResult != ExifOk) {
        diagnostic("Error parsing EXIF: code %d\n", exifResult);
        return InfoBlockBadExif;
    }
    storeExif(info, exif);

    unsigned char *const begin = head.bytes.get();
    unsigned char *const end = begin + head.read;
    unsigned char *const block = std::search(begin, end, kBlockMarker, kBlockMarker + kBlockMarkerLength);
    if (block == end)
        return InfoBlockMissing;
    // The block runs to the end of what was read; the readers find zero bytes after it.
    unsigned char *const heldEnd = begin + head.held;
    std::fill(heldEnd, std::max(heldEnd, block + kBlockReach), 0);

    struct Tag
    {
        std::uint16_t id;
        const char *key;
        bool text;
        int windowEnd;
    };
    static const Tag tags[] = {
        {0xB801, "IrGimbalType", true, 99},   {0xB802, "IrVension", true, 99},
        {0xB803, "IrCavityTemp", false, 99},  {0xB804, "IrFocusPlaneTemp", false, 99},
        {0xB805, "IrLastFFCTime", true, 99},  {0xB806, "IrGainMode", false, 199},
        {0xB901, "IrTempUnit", false, 199},   {0xB902, "IrReflectTemp", false, 199},
        {0xB903, "IrAirTemp", false, 199},    {0xB904, "Irhumidity", false, 199},
        {0xB905, "IrTransRate", false, 199},  {0xB906, "IrEmit", false, 199},
        {0xB907, "IrDistance", false, 199},
    };
    int p = 0;
    for (const Tag &tag : tags) {
        if (tag.text)
            readTextTag(block, p, info, tag.id, tag.key, tag.windowEnd);
        else
            readNumberTag(block, p, info, tag.id, tag.key, tag.windowEnd);
    }
    readFrame(block, p, frame);
    const long heldFromBlock = long(heldEnd - block);
    const long frameStart = long(p) - kRawFrameBytes;
    const int calibrationStart = readCalibration(block, p, calibration);
    if (extent) {
        extent->frameBytes = int(std::clamp<long>(heldFromBlock - frameStart, 0, kRawFrameBytes));
        // Whole when the file holds it; without its marker, when the file holds all the reader
        // searched, so the marker was not merely cut off.
        extent->calibrationWhole = calibrationStart >= 0 ? calibrationStart + long(kCalibrationBytes) <= heldFromBlock
                                                         : kCalibrationWindowEnd + 2 <= heldFromBlock;
    }
    return InfoBlockOk;
}
