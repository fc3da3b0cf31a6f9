#include "photoloader.h"

#include "cfile.h"
#include "diagnostics.h"
#include "runstatistics.h"
#include "temperatureengine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "raw frames are read in place as little-endian words");

namespace {

bool bigEndianWord(std::FILE *file, std::uint16_t &word)
{
    unsigned char bytes[2];
    if (std::fread(bytes, 1, 2, file) != 2)
        return false;
    word = std::uint16_t((bytes[0] << 8) | bytes[1]);
    return true;
}

// Builds the matrix row by row and keeps the whole-frame statistics (when asked for) while each
// row is still in the cache. Shared by raw and float frames.
template<typename Value, typename Convert>
void frameToTemperature(const Value *frame, int width, int height, TempStats *statsWanted, TemperatureMatrix &matrix,
                        Convert convert)
{
    if (width <= 0 || height <= 0) {
        // No pixels: nothing to read, and no temperatures to report.
        matrix = TemperatureMatrix();
        if (statsWanted)
            *statsWanted = TempStats();
        return;
    }
    // A matrix of this size already is filled again in place: no new block per photograph.
    if (matrix.width() != width || matrix.height() != height)
        matrix = TemperatureMatrix(width, height);
    // convert(row, width, out) gives the row's temperatures: written into out when it has to
    // convert them, so each value of the matrix is written once.
    // Pixels without a reading take no part: the extremes are those of the readings, the
    // average is over the readings, and a frame without any has no temperatures to report.
    float max = NA_TEMPERATURE, min = NA_TEMPERATURE;
    std::size_t maxAt = 0, minAt = 0;
    bool seen = false;
    double sum = 0.0;
    std::size_t readings = 0;
    for (int row = 0; row < height; ++row) {
        float *const out = matrix.row(row);
        const float *const values = convert(frame + std::size_t(row) * std::size_t(width), width, out);
        if (values != out)
            std::copy(values, values + width, out);
        if (!statsWanted)
            continue;
        const RunStatistics r = runStatistics(values, width);
        if (r.count == 0)
            continue;
        // Ties keep the first pixel in row-major order: a row only moves an extreme it beats.
        const std::size_t base = std::size_t(row) * std::size_t(width);
        if (!seen || r.max > max) {
            const int column = firstIndexOf(values, width, r.max);
            if (column < width) {
                max = values[column];
                maxAt = base + std::size_t(column);
            }
        }
        if (!seen || r.min < min) {
            const int column = firstIndexOf(values, width, r.min);
            if (column < width) {
                min = values[column];
                minAt = base + std::size_t(column);
            }
        }
        seen = true;
        sum += r.sum;
        readings += std::size_t(r.count);
    }
    if (!statsWanted)
        return;
    TempStats &stats = *statsWanted;
    const std::size_t w = std::size_t(width);
    stats.max = max;
    stats.min = min;
    stats.maxPos = QPointF(double(maxAt % w), double(maxAt / w));
    stats.minPos = QPointF(double(minAt % w), double(minAt / w));
    stats.avg = readings == 0 ? NA_TEMPERATURE : float(sum / double(readings));
}

// (v - 2732) / 10 in single precision, and no reading for 0.
float celsiusOfRaw(std::uint16_t v)
{
    return v == 0 ? NA_TEMPERATURE : float(int(v) - 2732) / 10.0f;
}

#if defined(__x86_64__) && defined(__GNUC__)
#define QCT_WIDE_CELSIUS 1

// Eight values a step, without the division: q = v / 10 rounded as a product, then corrected
// by its remainder, which gives the correctly rounded quotient, the very bits of the division
// for every 16-bit raw value (tst_photoloader converts them all).
__attribute__((target("avx2,fma"))) int wideRawRowToCelsius(const std::uint16_t *raw, int count, float *out)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i kelvinOffset = _mm256_set1_epi32(2732);
    const __m256 ten = _mm256_set1_ps(10.0f);
    const __m256 tenth = _mm256_set1_ps(0.1f);
    const __m256 noReading = _mm256_set1_ps(NA_TEMPERATURE);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i words = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(raw + i)));
        const __m256 kelvin = _mm256_cvtepi32_ps(_mm256_sub_epi32(words, kelvinOffset));
        const __m256 product = _mm256_mul_ps(kelvin, tenth);
        const __m256 remainder = _mm256_fnmadd_ps(product, ten, kelvin);
        const __m256 celsius = _mm256_fmadd_ps(remainder, tenth, product);
        const __m256 none = _mm256_castsi256_ps(_mm256_cmpeq_epi32(words, zero));
        _mm256_storeu_ps(out + i, _mm256_blendv_ps(celsius, noReading, none));
    }
    return i;
}

bool wideCelsius()
{
    static const bool wide = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    }();
    return wide;
}
#endif

const float *rawRowToCelsius(const std::uint16_t *raw, int count, float *out)
{
    int i = 0;
#ifdef QCT_WIDE_CELSIUS
    if (wideCelsius())
        i = wideRawRowToCelsius(raw, count, out);
#endif
#ifdef __SSE2__
    // Four values a step; the same single-precision subtraction and division, so the same bits.
    const __m128i zero = _mm_setzero_si128();
    const __m128i kelvinOffset = _mm_set1_epi32(2732);
    const __m128 ten = _mm_set1_ps(10.0f);
    const __m128 noReading = _mm_set1_ps(NA_TEMPERATURE);
    for (; i + 4 <= count; i += 4) {
        const __m128i words = _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(raw + i)), zero);
        const __m128 celsius = _mm_div_ps(_mm_cvtepi32_ps(_mm_sub_epi32(words, kelvinOffset)), ten);
        const __m128 none = _mm_castsi128_ps(_mm_cmpeq_epi32(words, zero));
        _mm_storeu_ps(out + i, _mm_or_ps(_mm_and_ps(none, noReading), _mm_andnot_ps(none, celsius)));
    }
#endif
    for (; i < count; ++i)
        out[i] = celsiusOfRaw(raw[i]);
    return out;
}

enum class CompanionRead { Ok, CannotOpen, CutOff };

// A companion that starts with the "IRG\0" header holds those 256 bytes before the frame; one
// shorter than both was cut off, and its last kRawFrameBytes would be the frame shifted by the
// missing bytes, header bytes read as pixels.
constexpr char kIrgMagic[4] = {'I', 'R', 'G', '\0'};
constexpr long kIrgHeaderBytes = 256;

CompanionRead readCompanion(const char *path, unsigned char *frame)
{
    const CFile file = openForReading(path);
    if (!file) {
        diagnostic("Failed to open file");
        return CompanionRead::CannotOpen;
    }
    const long size = fileSize(file.get());
    if (size < kRawFrameBytes) {
        diagnostic("invalid irg file, size = %ld.\n", size);
        return CompanionRead::CutOff;
    }
    char magic[sizeof kIrgMagic] = {};
    if (std::fread(magic, 1, sizeof magic, file.get()) == sizeof magic
        && std::memcmp(magic, kIrgMagic, sizeof magic) == 0 && size < kIrgHeaderBytes + kRawFrameBytes) {
        diagnostic("irg file cut off: %ld bytes, %ld expected.\n", size, kIrgHeaderBytes + kRawFrameBytes);
        return CompanionRead::CutOff;
    }
    if (std::fseek(file.get(), size - kRawFrameBytes, SEEK_SET) != 0
        || std::fread(frame, 1, kRawFrameBytes, file.get()) != std::size_t(kRawFrameBytes)) {
        diagnostic("invalid irg file, size = %ld.\n", size);
        return CompanionRead::CutOff;
    }
    for (int i = 0; i < 10; ++i)
        diagnostic("%#x ", frame[i]);
    diagnostic("\n");
    return CompanionRead::Ok;
}

std::string companionPath(const std::string &path)
{
    const std::size_t dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(0, dot) + ".irg";
}

// What the detector learned. An info-block photograph is parsed once, for its gimbal type,
// and the loader goes on with that parse instead of reading the file again.
struct Detection
{
    PhotoType type = UnsupportedPhoto;
    int infoBlockResult = InfoBlockMissing;
    InfoBlockExtent extent;
};

// The buffers of one load, kept per thread for the next one: each reader fills what it uses,
// so they are neither allocated nor cleared per photograph.
struct LoadScratch
{
    FileHead head;
    std::unique_ptr<std::uint16_t[]> frame{new std::uint16_t[kRawFramePixels]};
    std::unique_ptr<unsigned char[]> calibration{new unsigned char[kCalibrationBytes]};
};

LoadScratch &loadScratch()
{
    thread_local LoadScratch scratch;
    return scratch;
}

// What the head of a file, already read, holds.
Detection detectHead(FileHead &head, IrInfo &info, unsigned char *frame, unsigned char *calibration)
{
    Detection d;
    diagnostic("fileSize=%ld.\n", head.size);
    if (head.size <= 999)
        return d;
    // Zero bytes past the end of a short file cannot match either text.
    const std::string_view bytes(reinterpret_cast<const char *>(head.bytes.get()), head.read);
    const std::size_t marker = bytes.find("IR_INFO_START");
    diagnostic("irinfo_start_index=%ld\n", marker == std::string_view::npos ? -1L : long(marker));
    if (marker == std::string_view::npos) {
        int count = 0;
        for (std::size_t at = bytes.find("Vexlo"); at != std::string_view::npos; at = bytes.find("Vexlo", at + 5))
            ++count;
        diagnostic("rjpg_app1_flag=%d\n", count);
        d.type = count >= 10 ? SegmentedRjpeg : CompanionIrg;
        return d;
    }
    d.infoBlockResult = parseInfoBlockPhoto(head, info, frame, calibration, &d.extent);
    d.type = isCalibratedGimbal(info["IrGimbalType"].text) ? InfoBlockCalibrated : InfoBlockDirect;
    return d;
}

Detection detect(const char *path, IrInfo &info, unsigned char *frame, unsigned char *calibration)
{
    FileHead &head = loadScratch().head;
    if (!readFileHead(path, head))
        return Detection();
    return detectHead(head, info, frame, calibration);
}

} // namespace

const char *loadResultText(int result, const char *path)
{
    switch (result) {
    case LoadOk:
        return "loaded";
    case LoadCannotOpen: {
        // The loader opens regular files only; what else stopped it is asked of the system.
        struct stat status;
        if (!path || ::stat(path, &status) != 0)
            return path && errno == EACCES ? "permission denied" : "no such file";
        if (S_ISDIR(status.st_mode))
            return "a folder, not a photograph";
        if (!S_ISREG(status.st_mode))
            return "not a regular file (a FIFO or a device), so not a photograph";
        if (::access(path, R_OK) != 0)
            return "permission denied";
        return "the file cannot be opened";
    }
    case LoadContainerFailed:
        return "not a photograph this program reads (no thermal frame in it, nor in an .irg file beside it)";
    case LoadConversionFailed:
        return "the thermal frame cannot be converted to temperatures";
    case LoadUnsupported:
        return "not a photograph this program reads (too short)";
    case LoadFrameIncomplete:
        return "frame incomplete: the file does not hold the whole thermal frame (cut off or damaged)";
    }
    return "unknown load result";
}

bool isCalibratedGimbal(const std::string &gimbalType)
{
    return gimbalType == "PV120" || gimbalType == "PV245" || gimbalType == "PV246" || gimbalType == "PV258";
}

PhotoType detectPhotoType(const char *path)
{
    IrInfo info;
    LoadScratch &scratch = loadScratch();
    return detect(path, info, reinterpret_cast<unsigned char *>(scratch.frame.get()), scratch.calibration.get()).type;
}

int readIrgFile(const char *path, unsigned char *frame)
{
    return readCompanion(path, frame) == CompanionRead::Ok ? 0 : -1;
}

int readRjpegSegments(const char *path, unsigned char *frame, std::uint32_t *byteCount)
{
    if (!path)
        return -1;
    if (!frame || !byteCount)
        return -2;
    if (access(path, R_OK) != 0)
        return -3;
    const CFile file = openForReading(path);
    if (!file)
        return -4;
    const std::unique_ptr<unsigned char[]> payload(new unsigned char[65535]);
    std::uint16_t marker = 0;
    while (bigEndianWord(file.get(), marker)) {
        diagnostic("marker = %x\n", marker);
        if (marker == 0xFFD8 || marker == 0xFFD9)
            continue;
        std::uint16_t length = 0;
        if (!bigEndianWord(file.get(), length))
            break;
        diagnostic("size = %x\n", length);
        // Only the bytes read are used, so the work buffer is never cleared: a file of many tiny
        // segments would otherwise clear it hundreds of thousands of times.
        // A length below 2 cannot count itself; such a segment has no payload.
        const std::size_t payloadLength = length >= 2 ? length - 2u : 0u;
        if (std::fread(payload.get(), 1, payloadLength, file.get()) != payloadLength)
            break;
        if (marker == 0xFFE1 && payloadLength >= 6 && std::memcmp(payload.get(), "Vexlo\0", 6) == 0) {
            const std::uint32_t room = kRawFrameBytes - std::min<std::uint32_t>(*byteCount, kRawFrameBytes);
            const std::uint32_t take = std::min<std::uint32_t>(std::uint32_t(payloadLength - 6), room);
            std::memcpy(frame + *byteCount, payload.get() + 6, take);
            *byteCount += take;
        } else if (marker == 0xFFDB || marker == 0xFFDD || marker == 0xFFC0 || marker == 0xFFC4) {
            break;
        }
    }
    return 0;
}

int rawFrameToTemperature(const std::uint16_t *frame, int width, int height, TempStats &stats,
                          TemperatureMatrix &matrix)
{
    frameToTemperature(frame, width, height, &stats, matrix, rawRowToCelsius);
    return 0;
}

int floatFrameToTemperature(const float *frame, int width, int height, TempStats &stats, TemperatureMatrix &matrix)
{
    if (!frame) {
        matrix = TemperatureMatrix();
        stats.max = stats.min = NA_TEMPERATURE;
        return -1;
    }
    frameToTemperature(frame, width, height, &stats, matrix, [](const float *row, int, float *) { return row; });
    return 0;
}

int loadIrImage(const char *path, int width, int height, TempStats *stats, IrInfo &info, TemperatureMatrix &matrix,
                const CameraCorrection &correction, PhotoType *photoType)
{
    if (photoType)
        *photoType = UnsupportedPhoto;
    // The file is opened once, for its head: the detector and the info-block reader both work
    // on what was read.
    LoadScratch &scratch = loadScratch();
    if (!readFileHead(path, scratch.head)) {
        diagnostic("%s: %s.\n", path ? path : "(no path)", loadResultText(LoadCannotOpen, path));
        return LoadCannotOpen;
    }
    // Every reader below fills the whole frame, except the segment walk, which clears what its
    // segments left empty; a failed read never reaches the conversion.
    std::uint16_t *const frameWords = scratch.frame.get();
    auto *frame = reinterpret_cast<unsigned char *>(frameWords);
    unsigned char *const calibration = scratch.calibration.get();
    const Detection detected = detectHead(scratch.head, info, frame, calibration);
    const PhotoType type = detected.type;
    if (photoType)
        *photoType = type;
    diagnostic("photo_type=%d, file=%s.\n", int(type), path);

    int read = 0;
    // Bytes of the frame the file holds from its start, and whether it holds the calibration
    // block: what a damaged file lacks would read as zeros, that is as pixels without a reading.
    int held = kRawFrameBytes;
    bool calibrationWhole = true;
    switch (type) {
    case CompanionIrg:
        switch (readCompanion(companionPath(path).c_str(), frame)) {
        case CompanionRead::Ok:
            break;
        case CompanionRead::CannotOpen:
            return LoadContainerFailed;
        case CompanionRead::CutOff:
            return LoadFrameIncomplete;
        }
        break;
    case SegmentedRjpeg: {
        std::uint32_t count = 0;
        read = readRjpegSegments(path, frame, &count);
        held = int(std::min<std::uint32_t>(count, kRawFrameBytes));
        std::fill(frame + held, frame + kRawFrameBytes, 0);
        break;
    }
    case InfoBlockDirect:
    case InfoBlockCalibrated:
        read = detected.infoBlockResult;
        held = detected.extent.frameBytes;
        calibrationWhole = detected.extent.calibrationWhole;
        break;
    case UnsupportedPhoto:
        diagnostic("file %s is %d type, dont support.\n", path, int(type));
        return LoadUnsupported;
    }
    if (read != 0)
        return LoadContainerFailed;

    // The picture decides the frame's size; a picture without pixels, or one larger than the
    // thermal frame, has no temperatures to show.
    if (width <= 0 || height <= 0 || std::int64_t(width) * height > kRawFramePixels) {
        diagnostic("picture %dx%d does not fit the thermal frame.\n", width, height);
        return LoadConversionFailed;
    }
    // Only the values the picture shows are converted; the file must hold every one of them.
    const int needed = width * height * 2;
    if (held < needed) {
        diagnostic("frame cut off: the file holds %d of the %d bytes the picture needs.\n", held, needed);
        return LoadFrameIncomplete;
    }
    if (type == InfoBlockCalibrated && !calibrationWhole) {
        diagnostic("calibration block cut off.\n");
        return LoadFrameIncomplete;
    }
    if (type != InfoBlockCalibrated) {
        frameToTemperature(frameWords, width, height, stats, matrix, rawRowToCelsius);
        return LoadOk;
    }

    const CalibrationBlock block(calibration);
    MeasureParams params;
    params.emissivity = block.emissivity();
    params.humidity = block.humidity();
    params.distance = block.distance();
    params.reflectedTemp = block.reflectedTemp();
    params.atmosphericTemp = 230;
    params.gain = 100;
    params.offset = 0;
    if (!cameraRangeError(correction).isEmpty())
        return LoadConversionFailed;
    params = correctedParams(params, correction);
    // The engine's conversion, taken a row at a time straight into the matrix: the same values
    // and statistics as converting the whole frame first and building the matrix from it.
    RawTemperatureTable table;
    if (table.prepare(frameWords, calibration, width * height, params) != EngineOk)
        return LoadConversionFailed;
    frameToTemperature(frameWords, width, height, stats, matrix,
                       [&table](const std::uint16_t *row, int count, float *out) {
                           table.convert(row, count, out);
                           return static_cast<const float *>(out);
                       });
    return LoadOk;
}
