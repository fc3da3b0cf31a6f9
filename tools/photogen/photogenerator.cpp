#include "photogenerator.h"

#include "irinfo.h"
#include "photoloader.h"
#include "temperatureengine.h"
#include "temperaturematrix.h"

#include <QBuffer>
#include <QColor>
#include <QSaveFile>
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

namespace {

void appendU16(std::vector<std::uint8_t> &out, std::uint16_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void put16(std::array<std::uint8_t, 2560> &block, int at, std::uint16_t v)
{
    block[at] = std::uint8_t(v);
    block[at + 1] = std::uint8_t(v >> 8);
}

// Raw value of a frame in tenths of a kelvin; 0 means no reading.
std::uint16_t kelvinTenths(float celsius)
{
    if (celsius == NA_TEMPERATURE)
        return 0;
    return std::uint16_t(std::clamp<long>(std::lround(celsius * 10.0f) + 2732, 1, 65535));
}

// Raw value of a calibrated frame: the first curve index that reaches the temperature.
std::uint16_t curveIndexFor(float celsius, const CalibrationSettings &settings)
{
    const bool familyA = settings.curveFamily == 1 || settings.curveFamily == 3;
    const std::int16_t *curve = temperatureCurve(familyA ? (settings.wideRange ? TemperatureCurve::WideA : TemperatureCurve::NarrowA)
                                                         : (settings.wideRange ? TemperatureCurve::WideB : TemperatureCurve::NarrowB));
    const long tenths = celsius == NA_TEMPERATURE ? -32768 : std::lround(celsius * 10.0f);
    const std::int16_t *hit = std::lower_bound(curve, curve + kCurveSize, tenths);
    return std::uint16_t(std::min<long>(hit - curve, kCurveSize - 1));
}

QImage falseColour(const PhotoSpec &shot)
{
    float lo = 1e9f, hi = -1e9f;
    for (float t : shot.temperatures) {
        if (t != NA_TEMPERATURE) {
            lo = std::min(lo, t);
            hi = std::max(hi, t);
        }
    }
    static const QColor ramp[] = {QColor(0x111020), QColor(0x591078), QColor(0xD82D59), QColor(0xEDAB11),
                                  QColor(0xECEB83)};
    QImage image(shot.width, shot.height, QImage::Format_RGB32);
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const float t = shot.temperatures[std::size_t(y) * shot.width + x];
            const float u = t == NA_TEMPERATURE || hi <= lo ? 0.0f : (t - lo) / (hi - lo) * 4.0f;
            const int k = std::min(int(u), 3);
            const float f = u - k;
            const QColor &a = ramp[k], &b = ramp[k + 1];
            image.setPixel(x, y, qRgb(int(a.red() + (b.red() - a.red()) * f), int(a.green() + (b.green() - a.green()) * f),
                                      int(a.blue() + (b.blue() - a.blue()) * f)));
        }
    }
    return image;
}

std::vector<std::uint8_t> vexloSegments(const std::vector<std::uint16_t> &frame)
{
    constexpr std::size_t chunk = 65520;
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(frame.data());
    std::vector<std::uint8_t> out;
    for (std::size_t at = 0; at < kRawFrameBytes; at += chunk) {
        const std::size_t size = std::min<std::size_t>(chunk, kRawFrameBytes - at);
        const std::size_t length = 2 + 6 + size;
        out.insert(out.end(), {0xFF, 0xE1, std::uint8_t(length >> 8), std::uint8_t(length), 'V', 'e', 'x', 'l', 'o', 0});
        out.insert(out.end(), bytes + at, bytes + at + size);
    }
    return out;
}

// Whole or not at all: a full disk leaves no cut-off photograph behind. The reason goes to
// error when it does not work out.
bool writeFile(const QString &path, const std::vector<std::uint8_t> &bytes, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)
        && file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size())
        && file.commit())
        return true;
    if (error)
        *error = path + ": " + file.errorString();
    return false;
}

} // namespace

InfoTag numberTag(std::uint16_t id, std::uint16_t value)
{
    return {id, {std::uint8_t(value), std::uint8_t(value >> 8)}};
}

InfoTag textTag(std::uint16_t id, const std::string &text)
{
    std::vector<std::uint8_t> value(text.begin(), text.end());
    value.push_back(0);
    return {id, value};
}

std::vector<InfoTag> cameraInfoTags(const CameraTags &c)
{
    return {textTag(0xB801, c.gimbalType),      textTag(0xB802, c.version),
            numberTag(0xB803, c.cavityTemp),    numberTag(0xB804, c.focalPlaneTemp),
            textTag(0xB805, c.lastFlatField),   numberTag(0xB806, c.gainMode),
            numberTag(0xB901, c.tempUnit),      numberTag(0xB902, c.reflectTemp),
            numberTag(0xB903, c.airTemp),       numberTag(0xB904, c.humidity),
            numberTag(0xB905, c.transRate),     numberTag(0xB906, c.emissivity),
            numberTag(0xB907, c.distance)};
}

std::array<std::uint8_t, 2560> calibrationBlock(const CalibrationSettings &s)
{
    std::array<std::uint8_t, 2560> block{};
    if (s.magic) {
        block[0] = 0xAA;
        block[1] = 0x55;
    }
    put16(block, 4, s.humidity);
    put16(block, 6, s.distance);
    put16(block, 8, s.emissivity);
    put16(block, 10, std::uint16_t(s.reflectedTemp));
    put16(block, 36, s.wideRange ? 1 : 0);
    block[234] = s.curveFamily;
    put16(block, 248, 8192); // gain 8192 at distance 50 and humidity 60: slope 8192, index = raw
    put16(block, 260, 1000);
    return block;
}

std::vector<std::uint16_t> encodeFrame(const PhotoSpec &shot)
{
    std::vector<std::uint16_t> frame(kRawFramePixels, 0);
    const std::size_t pixels = std::min<std::size_t>(shot.temperatures.size(), kRawFramePixels);
    for (std::size_t i = 0; i < pixels; ++i) {
        frame[i] = shot.kind == ContainerKind::InfoBlockCalibrated ? curveIndexFor(shot.temperatures[i], shot.calibration)
                                                                   : kelvinTenths(shot.temperatures[i]);
    }
    return frame;
}

std::vector<float> expectedTemperatures(const PhotoSpec &shot)
{
    const std::vector<std::uint16_t> frame = encodeFrame(shot);
    const int pixels = shot.width * shot.height;
    std::vector<float> expected(std::size_t(std::max(pixels, 0)));
    if (shot.kind != ContainerKind::InfoBlockCalibrated) {
        for (int i = 0; i < pixels; ++i)
            expected[std::size_t(i)] = frame[std::size_t(i)] == 0 ? NA_TEMPERATURE : float(int(frame[std::size_t(i)]) - 2732) / 10.0f;
        return expected;
    }
    MeasureParams params;
    params.emissivity = shot.calibration.emissivity;
    params.humidity = shot.calibration.humidity;
    params.distance = shot.calibration.distance;
    params.reflectedTemp = shot.calibration.reflectedTemp;
    params.atmosphericTemp = 230;
    const auto block = calibrationBlock(shot.calibration);
    if (convertRawToTemperature(frame.data(), block.data(), pixels, params, expected.data()) != 0)
        std::fill(expected.begin(), expected.end(), NA_TEMPERATURE);
    return expected;
}

std::vector<std::uint8_t> infoBlock(const std::vector<InfoTag> &tags, const std::vector<std::uint16_t> &frame,
                                    const std::array<std::uint8_t, 2560> &calibration)
{
    std::vector<std::uint8_t> out = {'I', 'R', '_', 'I', 'N', 'F', 'O', '_', 'S', 'T', 'A', 'R', 'T'};
    for (const InfoTag &tag : tags) {
        appendU16(out, tag.id);
        appendU16(out, std::uint16_t(tag.value.size()));
        out.insert(out.end(), tag.value.begin(), tag.value.end());
    }
    out.insert(out.end(), {0x01, 0xBA, 0, 0, 0, 0});
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(frame.data());
    out.insert(out.end(), bytes, bytes + kRawFrameBytes);
    out.insert(out.end(), calibration.begin(), calibration.end());
    return out;
}

std::vector<std::uint8_t> pictureJpeg(const PhotoSpec &shot)
{
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(90);
    writer.write(falseColour(shot));
    std::vector<std::uint8_t> out = {0xFF, 0xD8};
    if (shot.withExif) {
        const std::vector<std::uint8_t> app1 = buildApp1(buildTiff(shot.exif));
        out.insert(out.end(), app1.begin(), app1.end());
    }
    // Camera pictures are never tiny; a comment segment keeps small test pictures above the
    // size below which files are not examined.
    const std::size_t minimum = 2048;
    if (out.size() + std::size_t(encoded.size()) < minimum) {
        const std::size_t length = minimum - out.size() - std::size_t(encoded.size());
        out.insert(out.end(), {0xFF, 0xFE, std::uint8_t(length >> 8), std::uint8_t(length)});
        out.resize(out.size() + length - 2, ' ');
    }
    out.insert(out.end(), encoded.begin() + 2, encoded.end());
    return out;
}

std::vector<float> writePhoto(const QString &path, const PhotoSpec &shot, QString *error)
{
    const std::vector<std::uint16_t> frame = encodeFrame(shot);
    std::vector<std::uint8_t> bytes = pictureJpeg(shot);
    switch (shot.kind) {
    case ContainerKind::InfoBlockDirect:
    case ContainerKind::InfoBlockCalibrated: {
        const std::vector<std::uint8_t> block =
            infoBlock(shot.tags.empty() ? cameraInfoTags(shot.camera) : shot.tags, frame, calibrationBlock(shot.calibration));
        bytes.insert(bytes.end(), block.begin(), block.end());
        break;
    }
    case ContainerKind::SegmentedRjpeg: {
        // The frame's segments go before the picture's tables, where the reader stops.
        const std::vector<std::uint8_t> segments = vexloSegments(frame);
        bytes.insert(bytes.begin() + 2, segments.begin(), segments.end());
        break;
    }
    case ContainerKind::CompanionIrg: {
        std::vector<std::uint8_t> irg = {'I', 'R', 'G', 0};
        irg.resize(256, 0);
        const auto *raw = reinterpret_cast<const std::uint8_t *>(frame.data());
        irg.insert(irg.end(), raw, raw + kRawFrameBytes);
        const int dot = path.lastIndexOf('.');
        if (!writeFile(dot < 0 ? path : path.left(dot) + ".irg", irg, error))
            return expectedTemperatures(shot);
        break;
    }
    }
    writeFile(path, bytes, error);
    return expectedTemperatures(shot);
}
