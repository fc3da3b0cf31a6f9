#include "exifbuilder.h"

#include <cstring>

std::vector<std::uint8_t> TiffWriter::u16(std::uint16_t v) const
{
    if (m_little)
        return {std::uint8_t(v), std::uint8_t(v >> 8)};
    return {std::uint8_t(v >> 8), std::uint8_t(v)};
}

std::vector<std::uint8_t> TiffWriter::u32(std::uint32_t v) const
{
    if (m_little)
        return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
    return {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

std::vector<std::uint8_t> TiffWriter::rationals(const Rational *values, int count) const
{
    std::vector<std::uint8_t> out;
    for (int i = 0; i < count; ++i) {
        for (std::uint32_t v : {values[i].numerator, values[i].denominator}) {
            const auto bytes = u32(v);
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
    }
    return out;
}

namespace {
std::uint32_t ifdSize(const std::vector<TiffEntry> &entries)
{
    return 2 + 12 * std::uint32_t(entries.size()) + 4;
}
}

std::vector<std::uint8_t> TiffWriter::write(
    std::vector<TiffEntry> ifd0, const std::vector<std::pair<std::uint16_t, std::vector<TiffEntry>>> &subIfds) const
{
    // Layout: header, IFD0, each sub-IFD, then the values that do not fit in an entry.
    for (const auto &sub : subIfds)
        ifd0.push_back({sub.first, 4, 1, u32(0)});
    std::vector<const std::vector<TiffEntry> *> ifds = {&ifd0};
    for (const auto &sub : subIfds)
        ifds.push_back(&sub.second);
    std::vector<std::uint32_t> ifdOffsets;
    std::uint32_t offset = 8;
    for (const auto *ifd : ifds) {
        ifdOffsets.push_back(offset);
        offset += ifdSize(*ifd);
    }
    for (std::size_t i = 0; i < subIfds.size(); ++i)
        ifd0[ifd0.size() - subIfds.size() + i].value = u32(ifdOffsets[i + 1]);

    std::vector<std::uint8_t> out = m_little ? std::vector<std::uint8_t>{'I', 'I'} : std::vector<std::uint8_t>{'M', 'M'};
    auto append = [&out](const std::vector<std::uint8_t> &bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); };
    append(u16(42));
    append(u32(8));
    std::vector<std::uint8_t> data;
    std::uint32_t dataOffset = offset;
    for (const auto *ifd : ifds) {
        append(u16(std::uint16_t(ifd->size())));
        for (const TiffEntry &e : *ifd) {
            append(u16(e.tag));
            append(u16(e.type));
            append(u32(e.count));
            if (e.value.size() <= 4) {
                std::vector<std::uint8_t> inlineValue = e.value;
                inlineValue.resize(4, 0);
                append(inlineValue);
            } else {
                append(u32(dataOffset + std::uint32_t(data.size())));
                data.insert(data.end(), e.value.begin(), e.value.end());
            }
        }
        append(u32(0));
    }
    append(data);
    return out;
}

std::vector<std::uint8_t> buildTiff(const ExifFields &fields)
{
    const TiffWriter w(fields.littleEndian);
    auto ascii = [](std::uint16_t tag, const std::string &text) {
        std::vector<std::uint8_t> bytes(text.begin(), text.end());
        bytes.push_back(0);
        return TiffEntry{tag, 2, std::uint32_t(bytes.size()), bytes};
    };
    std::vector<TiffEntry> exif;
    if (!fields.dateTimeOriginal.empty())
        exif.push_back(ascii(36867, fields.dateTimeOriginal));
    if (!fields.dateTimeDigitized.empty())
        exif.push_back(ascii(36868, fields.dateTimeDigitized));

    std::vector<std::pair<std::uint16_t, std::vector<TiffEntry>>> subIfds = {{34665, exif}};
    if (fields.hasGps) {
        const GpsFields &g = fields.gps;
        const std::vector<TiffEntry> refs = {
            {1, 2, 2, {std::uint8_t(g.latitudeRef), 0}},
            {3, 2, 2, {std::uint8_t(g.longitudeRef), 0}},
            {5, 1, 1, {g.altitudeRef}},
        };
        const std::vector<TiffEntry> values = {
            {2, 5, 3, w.rationals(g.latitude, 3)},
            {4, 5, 3, w.rationals(g.longitude, 3)},
            {6, 5, 1, w.rationals(&g.altitude, 1)},
        };
        std::vector<TiffEntry> gps;
        for (int i = 0; i < 3; ++i) {
            gps.push_back(g.valuesBeforeReferences ? values[i] : refs[i]);
            gps.push_back(g.valuesBeforeReferences ? refs[i] : values[i]);
        }
        subIfds.push_back({34853, gps});
    }
    const std::vector<TiffEntry> ifd0 = {{0x010F, 2, 6, {'Q', 'u', 'o', 'r', 'v', 0}}};
    return w.write(ifd0, subIfds);
}

std::vector<std::uint8_t> buildApp1(const std::vector<std::uint8_t> &tiff)
{
    const std::size_t length = 2 + 6 + tiff.size();
    std::vector<std::uint8_t> out = {0xFF, 0xE1, std::uint8_t(length >> 8), std::uint8_t(length), 'E', 'x', 'i', 'f', 0, 0};
    out.insert(out.end(), tiff.begin(), tiff.end());
    return out;
}

std::vector<std::uint8_t> buildExifJpeg(const ExifFields &fields)
{
    std::vector<std::uint8_t> out = {0xFF, 0xD8};
    const auto app1 = buildApp1(buildTiff(fields));
    out.insert(out.end(), app1.begin(), app1.end());
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}
