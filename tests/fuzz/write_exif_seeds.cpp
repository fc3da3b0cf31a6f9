// Writes the seed corpus of the EXIF fuzz target: well-formed segments in both byte orders,
// with and without GPS, and a few broken on purpose.
#include "exifbuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
void write(const std::string &dir, const std::string &name, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream(dir + "/" + name, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
}
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    std::filesystem::create_directories(dir);
    for (bool little : {true, false}) {
        for (bool gps : {false, true}) {
            ExifFields f;
            f.littleEndian = little;
            f.dateTimeOriginal = "2024:06:01 09:30:00";
            f.dateTimeDigitized = "2024:06:01 09:30:01";
            f.hasGps = gps;
            f.gps.latitudeRef = 'S';
            f.gps.latitude[0] = {22, 1};
            f.gps.latitude[1] = {30, 1};
            f.gps.longitudeRef = 'W';
            f.gps.longitude[0] = {113, 1};
            f.gps.altitudeRef = 1;
            f.gps.altitude = {1000, 10};
            f.gps.valuesBeforeReferences = little;
            const std::string name = std::string(little ? "ii" : "mm") + (gps ? "-gps" : "") + ".jpg";
            std::vector<std::uint8_t> bytes = buildExifJpeg(f);
            write(dir, name, bytes);
            bytes.resize(bytes.size() / 2);
            bytes.push_back(0xFF);
            bytes.push_back(0xD9);
            write(dir, "cut-" + name, bytes);
        }
    }
    return 0;
}
