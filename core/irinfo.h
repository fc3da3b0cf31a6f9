#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One value of a photograph's information map. Only text is read outside the IR block reader.
struct IrInfoEntry
{
    std::uint16_t length = 0;            // the length the tag declared
    std::string text;                    // "NA" when absent, out of range or not printable
    std::array<unsigned char, 512> raw{}; // the value bytes as read (text tags)
    std::uint32_t value = 0;             // the number read (numeric tags)
};

// Key to entry; looking up a missing key inserts an empty entry, so it reads as empty text.
using IrInfo = std::map<std::string, IrInfoEntry>;

constexpr int kRawFrameBytes = 655360;      // 327,680 16-bit pixels
constexpr int kRawFramePixels = kRawFrameBytes / 2;
constexpr int kCalibrationBytes = 2560;
constexpr int kFileReadLimit = 1048576;     // files are examined up to their first MiB
constexpr int kBlockReach = 655600 + kCalibrationBytes; // the farthest a block reader looks

enum InfoBlockResult { InfoBlockOk = 0, InfoBlockMissing = -1, InfoBlockBadExif = -3 };

// The first MiB of a file as the readers see it, and as much after it as a block that starts in
// that MiB can reach: a block near its end is read whole from the file. Only the bytes read are
// set; a block found is followed by zero bytes (parseInfoBlockPhoto clears them) far enough that
// it can be read to its end without leaving the buffer.
struct FileHead
{
    std::unique_ptr<unsigned char[]> bytes; // kFileReadLimit + kBlockReach
    long size = -1;        // the file's size; -1 when it cannot be opened
    std::size_t read = 0;  // bytes examined for markers and EXIF, at most kFileReadLimit
    std::size_t held = 0;  // bytes read, at most kFileReadLimit + kBlockReach
};

// Reads the file into head, reusing its buffer when it has one.
bool readFileHead(const char *path, FileHead &head);

// How much of an info block's frame and calibration block the file holds. A file cut short
// leaves the rest of them zero, which would read as pixels without a reading.
struct InfoBlockExtent
{
    int frameBytes = 0;            // 0 .. kRawFrameBytes, from the frame's start
    bool calibrationWhole = false;
};

// Reads an info-block photograph: its EXIF dates and GPS position and its IR tags into info,
// its raw frame (kRawFrameBytes) and its calibration block (kCalibrationBytes).
int readInfoBlockPhoto(const char *path, IrInfo &info, unsigned char *frame, unsigned char *calibration,
                       InfoBlockExtent *extent = nullptr);
// The same over a file head already read.
int parseInfoBlockPhoto(FileHead &head, IrInfo &info, unsigned char *frame, unsigned char *calibration,
                        InfoBlockExtent *extent = nullptr);

// The readers behind it, over a block followed by zero bytes up to kBlockReach; position is
// the running read position.
void readNumberTag(const unsigned char *block, int &position, IrInfo &info, std::uint16_t tag, const char *key,
                   int windowEnd);
void readTextTag(const unsigned char *block, int &position, IrInfo &info, std::uint16_t tag, const char *key,
                 int windowEnd);
void readFrame(const unsigned char *block, int &position, unsigned char *frame);
// Returns the offset of the calibration block's marker in the block, or -1 when it is not
// found and the block's first bytes are read instead.
int readCalibration(const unsigned char *block, int &position, unsigned char *calibration);

// True when text holds printable ASCII only (0x20..0x7E); the empty text passes.
bool isPrintable(const std::string &text);
