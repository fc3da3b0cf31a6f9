#include "exifbuilder.h"
#include "exifparser.h"

#include <QtTest>

namespace {

ExifFields datedFields(bool littleEndian = true)
{
    ExifFields f;
    f.littleEndian = littleEndian;
    f.dateTimeOriginal = "2023:05:01 10:20:30";
    f.dateTimeDigitized = "2023:05:01 10:20:31";
    return f;
}

GpsFields southWest()
{
    GpsFields g;
    g.latitudeRef = 'S';
    g.latitude[0] = {22, 1};
    g.latitude[1] = {30, 1};
    g.latitude[2] = {0, 1};
    g.longitudeRef = 'W';
    g.longitude[0] = {113, 1};
    g.longitude[1] = {15, 1};
    g.longitude[2] = {3600, 100};
    g.altitudeRef = 1;
    g.altitude = {100, 1};
    return g;
}

int parse(const std::vector<std::uint8_t> &bytes, ExifInfo &info)
{
    return parseExif(info, bytes.data(), bytes.size());
}

// Offset of the TIFF header inside a file made by buildExifJpeg.
constexpr std::size_t kTiff = 2 + 4 + 6;

} // namespace

class TestExifParser : public QObject
{
    Q_OBJECT
private slots:
    void datesInBothByteOrders()
    {
        for (bool little : {true, false}) {
            ExifInfo info;
            QCOMPARE(parse(buildExifJpeg(datedFields(little)), info), 0);
            QCOMPARE(int(info.byteOrder), little ? 1 : 0);
            QCOMPARE(info.dateTimeOriginal, std::string("2023:05:01 10:20:30"));
            QCOMPARE(info.dateTimeDigitized, std::string("2023:05:01 10:20:31"));
            QCOMPARE(info.latitudeParts.direction, '?');
            QCOMPARE(info.longitudeParts.direction, '?');
            QCOMPARE(info.latitude, 0.0);
            QCOMPARE(info.altitude, 0.0);
        }
    }

    void gpsSignsFromEitherEntryOrder()
    {
        for (bool little : {true, false}) {
            for (bool valuesFirst : {false, true}) {
                ExifFields f = datedFields(little);
                f.hasGps = true;
                f.gps = southWest();
                f.gps.valuesBeforeReferences = valuesFirst;
                ExifInfo info;
                QCOMPARE(parse(buildExifJpeg(f), info), 0);
                QCOMPARE(info.latitude, -22.5);
                QCOMPARE(info.latitudeParts.direction, 'S');
                QCOMPARE(info.latitudeParts.degrees, 22.0);
                QCOMPARE(info.latitudeParts.minutes, 30.0);
                QCOMPARE(info.longitude, -(113 + 15 / 60.0 + 36 / 3600.0));
                QCOMPARE(info.longitudeParts.direction, 'W');
                QCOMPARE(info.longitudeParts.seconds, 36.0);
                QCOMPARE(info.altitude, -100.0);
                QCOMPARE(int(info.altitudeRef), 1);
            }
        }
        // North and east stay positive; a zero denominator counts as 0.
        ExifFields f = datedFields();
        f.hasGps = true;
        f.gps.latitudeRef = 'N';
        f.gps.latitude[0] = {31, 1};
        f.gps.latitude[1] = {7, 0};
        f.gps.latitude[2] = {90, 10};
        f.gps.longitudeRef = 'E';
        f.gps.longitude[0] = {121, 1};
        f.gps.altitude = {1234, 10};
        ExifInfo info;
        QCOMPARE(parse(buildExifJpeg(f), info), 0);
        QCOMPARE(info.latitudeParts.minutes, 0.0);
        QCOMPARE(info.latitude, 31 + 9 / 3600.0);
        QCOMPARE(info.longitude, 121.0);
        QCOMPARE(info.altitude, 123.4);
    }

    void referenceWithoutValueLeavesNoNegativeZero()
    {
        ExifFields f = datedFields();
        f.hasGps = true;
        f.gps = southWest();
        f.gps.latitude[0] = {0, 0};
        f.gps.latitude[1] = {0, 1};
        f.gps.latitude[2] = {0, 1};
        ExifInfo info;
        QCOMPARE(parse(buildExifJpeg(f), info), 0);
        QCOMPARE(info.latitude, 0.0);
        QVERIFY(!std::signbit(info.latitude));
    }

    void trailingBytesAfterEndOfImage()
    {
        std::vector<std::uint8_t> bytes = buildExifJpeg(datedFields());
        for (std::uint8_t b : {0x00, 0xFF, 0xD8, 0x12})
            bytes.push_back(b);
        ExifInfo info;
        QCOMPARE(parse(bytes, info), 0);
        QCOMPARE(info.dateTimeOriginal, std::string("2023:05:01 10:20:30"));

        // The segment may not reach past the last end-of-image pair.
        std::vector<std::uint8_t> cut = buildExifJpeg(datedFields());
        cut[20] = 0xFF;
        cut[21] = 0xD9;
        cut[cut.size() - 1] = 0;
        QCOMPARE(parse(cut, info), 1985);
    }

    void notJpeg()
    {
        ExifInfo info;
        QCOMPARE(parseExif(info, nullptr, 100), 1982);
        QCOMPARE(parse({0xFF, 0xD8, 0xFF}, info), 1982);
        QCOMPARE(parse({0xFF, 0xD9, 0xFF, 0xD9}, info), 1982);
        QCOMPARE(parse({0xFF, 0xD8, 0x00, 0x00, 0x00}, info), 1982); // no end of image
        std::vector<std::uint8_t> bytes = buildExifJpeg(datedFields());
        bytes[0] = 0xFE;
        QCOMPARE(parse(bytes, info), 1982);
    }

    void noExif()
    {
        ExifInfo info;
        info.dateTimeOriginal = "stale";
        QCOMPARE(parse({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0xFF, 0xD9}, info), 1983);
        QVERIFY(info.dateTimeOriginal.empty()); // reset before the search
        std::vector<std::uint8_t> bytes = buildExifJpeg(datedFields());
        bytes[6] = 'X'; // "Xxif"
        QCOMPARE(parse(bytes, info), 1983);
        bytes = buildExifJpeg(datedFields());
        bytes[11] = 1; // second zero of the prefix
        QCOMPARE(parse(bytes, info), 1983);
    }

    void byteOrderAndMagic()
    {
        ExifInfo info;
        std::vector<std::uint8_t> bytes = buildExifJpeg(datedFields());
        bytes[kTiff + 1] = 'M'; // "IM"
        QCOMPARE(parse(bytes, info), 1984);
        bytes[kTiff] = 'M';
        bytes[kTiff + 1] = 'I'; // "MI"
        QCOMPARE(parse(bytes, info), 1984);
        bytes[kTiff] = 'X';
        bytes[kTiff + 1] = 'X';
        QCOMPARE(parse(bytes, info), 1984);
        bytes = buildExifJpeg(datedFields());
        bytes[kTiff + 2] = 43; // "II" with 43
        QCOMPARE(parse(bytes, info), 1985);
        bytes = buildExifJpeg(datedFields(false));
        bytes[kTiff + 3] = 0x2B;
        QCOMPARE(parse(bytes, info), 1985);
    }

    void corruptLengthsAndOffsets()
    {
        ExifInfo info;
        std::vector<std::uint8_t> bytes = buildExifJpeg(datedFields());
        bytes[4] = 0;
        bytes[5] = 15; // APP1 length 15
        QCOMPARE(parse(bytes, info), 1985);
        bytes[4] = 0x7F; // runs past the data
        QCOMPARE(parse(bytes, info), 1985);
        // A marker whose length field lies past the end.
        QCOMPARE(parse({0xFF, 0xD8, 0x00, 0xFF, 0xE1, 0xFF, 0xD9}, info), 1985);

        bytes = buildExifJpeg(datedFields());
        bytes[kTiff + 4] = 0xF0; // IFD0 offset far outside
        QCOMPARE(parse(bytes, info), 1985);
        bytes = buildExifJpeg(datedFields());
        bytes[kTiff + 8] = 0xFF; // IFD0 entry count 0x..FF runs past the segment
        bytes[kTiff + 9] = 0x0F;
        QCOMPARE(parse(bytes, info), 1985);

        // A sub-IFD count that does not fit is corrupt; a sub-IFD offset outside is skipped.
        bytes = buildExifJpeg(datedFields());
        const std::uint32_t exifIfd = bytes[kTiff + 8 + 2 + 12 + 8] | bytes[kTiff + 8 + 2 + 12 + 9] << 8;
        bytes[kTiff + exifIfd] = 0xFF;
        QCOMPARE(parse(bytes, info), 1985);
        bytes = buildExifJpeg(datedFields());
        bytes[kTiff + 8 + 2 + 12 + 11] = 0x70;
        QCOMPARE(parse(bytes, info), 0);
        QVERIFY(info.dateTimeOriginal.empty());
    }

    void stringsInsideAndOutsideTheValueField()
    {
        ExifFields f = datedFields();
        f.dateTimeOriginal = "abc"; // 4 bytes with its zero: inside the value field
        f.dateTimeDigitized = "2024:01:02 03:04:05";
        ExifInfo info;
        std::vector<std::uint8_t> bytes = buildExifJpeg(f);
        QCOMPARE(parse(bytes, info), 0);
        QCOMPARE(info.dateTimeOriginal, std::string("abc"));
        QCOMPARE(info.dateTimeDigitized, std::string("2024:01:02 03:04:05"));

        // A string whose offset points past the segment is ignored.
        const std::uint32_t exifIfd = bytes[kTiff + 8 + 2 + 12 + 8] | bytes[kTiff + 8 + 2 + 12 + 9] << 8;
        const std::size_t secondEntry = kTiff + exifIfd + 2 + 12;
        bytes[secondEntry + 8 + 2] = 0x20; // offset + 0x200000
        QCOMPARE(parse(bytes, info), 0);
        QCOMPARE(info.dateTimeOriginal, std::string("abc"));
        QVERIFY(info.dateTimeDigitized.empty());
    }

    void everyTruncationStaysInside()
    {
        ExifFields f = datedFields();
        f.hasGps = true;
        f.gps = southWest();
        const std::vector<std::uint8_t> whole = buildExifJpeg(f);
        for (std::size_t n = 0; n + 2 <= whole.size(); ++n) {
            std::vector<std::uint8_t> bytes(whole.begin(), whole.begin() + n);
            bytes.push_back(0xFF);
            bytes.push_back(0xD9);
            ExifInfo info;
            const int code = parse(bytes, info);
            QVERIFY(code == 0 || (code >= 1982 && code <= 1985));
        }
    }
};

QTEST_APPLESS_MAIN(TestExifParser)
#include "tst_exifparser.moc"
