#include "irinfo.h"
#include "photofixtures.h"
#include "photoloader.h"

#include <QtTest>

#include <cstring>

namespace {

// A zeroed reader buffer with the given bytes at the given offset.
std::vector<unsigned char> blockWith(int at, const std::vector<std::uint8_t> &bytes)
{
    std::vector<unsigned char> block(kFileReadLimit, 0);
    std::memcpy(block.data() + at, bytes.data(), bytes.size());
    return block;
}

std::vector<std::uint8_t> tagBytes(std::uint16_t id, std::uint16_t length, const std::vector<std::uint8_t> &value)
{
    std::vector<std::uint8_t> out = {std::uint8_t(id), std::uint8_t(id >> 8), std::uint8_t(length), std::uint8_t(length >> 8)};
    for (std::uint8_t b : value) // insert() of an empty range trips a GCC 12 false warning
        out.push_back(b);
    return out;
}

std::string readText(const std::vector<std::uint8_t> &value, std::uint16_t declared, int *positionOut = nullptr)
{
    const auto block = blockWith(20, tagBytes(0xB805, declared, value));
    IrInfo info;
    int position = 0;
    readTextTag(block.data(), position, info, 0xB805, "IrLastFFCTime", 99);
    if (positionOut)
        *positionOut = position;
    return info["IrLastFFCTime"].text;
}

} // namespace

class TestIrInfo : public QObject
{
    Q_OBJECT
private slots:
    void numberTags()
    {
        for (auto [value, text] : {std::pair<int, const char *>{1000, "1000"}, {1001, "NA"}, {0, "0"}, {65535, "NA"}}) {
            const auto block = blockWith(30, tagBytes(0xB906, 2, {std::uint8_t(value), std::uint8_t(value >> 8)}));
            IrInfo info;
            int position = 0;
            readNumberTag(block.data(), position, info, 0xB906, "IrEmit", 199);
            QCOMPARE(info["IrEmit"].text, std::string(text));
            QCOMPARE(int(info["IrEmit"].value), value);
            QCOMPARE(position, 34);
        }
    }

    void searchWindows()
    {
        const auto block = blockWith(100, tagBytes(0xB803, 2, {0x5E, 0x01}));
        IrInfo info;
        int position = 0;
        readNumberTag(block.data(), position, info, 0xB803, "IrCavityTemp", 99);
        QCOMPARE(info["IrCavityTemp"].text, std::string("NA"));
        QCOMPARE(position, 0);
        readNumberTag(block.data(), position, info, 0xB803, "IrCavityTemp", 199);
        QCOMPARE(info["IrCavityTemp"].text, std::string("350"));
        // Past the window end nothing is searched, even where the id stands.
        position = 150;
        readNumberTag(block.data(), position, info, 0xB803, "IrCavityTemp", 120);
        QCOMPARE(info["IrCavityTemp"].text, std::string("NA"));

        // The search restarts at the previous value: an id inside it is found there.
        const auto nested = blockWith(10, tagBytes(0xB803, 2, {0x04, 0xB8, 0x2C, 0x01}));
        IrInfo second;
        position = 0;
        readNumberTag(nested.data(), position, second, 0xB803, "IrCavityTemp", 99);
        readNumberTag(nested.data(), position, second, 0xB804, "IrFocusPlaneTemp", 99);
        QCOMPARE(second["IrCavityTemp"].text, std::string("NA")); // 0xB804 is above 1000
        QCOMPARE(int(second["IrFocusPlaneTemp"].length), 0x012C);
        QCOMPARE(second["IrFocusPlaneTemp"].text, std::string("0"));
        QCOMPARE(position, 18);
    }

    void textTags()
    {
        QCOMPARE(readText({'P', 'V', '1', '2', '0', 0}, 6), std::string("PV120"));
        QCOMPARE(readText({'A', 'B', 0, 'C', 'D', 0}, 6), std::string("AB"));
        QCOMPARE(readText({'P', 0xE4, '1', 0}, 4), std::string("NA"));
        int position = 0;
        QCOMPARE(readText({}, 0, &position), std::string(""));
        QCOMPARE(position, 24);

        // 600 declared bytes: only 512 are copied, and without a zero byte all 512 are the text.
        std::vector<std::uint8_t> long600(600, 'x');
        const std::string text = readText(long600, 600);
        QCOMPARE(text.size(), std::size_t(512));
        QCOMPARE(text, std::string(512, 'x'));
        // A declared length shorter than the bytes present cuts the text.
        QCOMPARE(readText({'a', 'b', 'c', 'd', 0}, 2), std::string("ab"));
    }

    void frameAndCalibration()
    {
        std::vector<std::uint8_t> bytes = tagBytes(0xBA01, 4, {0, 0});
        bytes.resize(6 + kRawFrameBytes, 0);
        bytes[6] = 0x11;
        bytes[6 + kRawFrameBytes - 1] = 0x22;
        bytes.push_back(0xAA);
        bytes.push_back(0x55);
        bytes.push_back(0x77);
        const auto block = blockWith(40, bytes);
        std::vector<unsigned char> frame(kRawFrameBytes), calibration(kCalibrationBytes);
        int position = 0;
        readFrame(block.data(), position, frame.data());
        QCOMPARE(position, 46 + kRawFrameBytes);
        QCOMPARE(int(frame[0]), 0x11);
        QCOMPARE(int(frame[kRawFrameBytes - 1]), 0x22);
        QCOMPARE(readCalibration(block.data(), position, calibration.data()), 46 + kRawFrameBytes);
        QCOMPARE(int(calibration[0]), 0xAA);
        QCOMPARE(int(calibration[2]), 0x77);

        // No frame tag: the frame is the block from its start; no magic in reach: offset 0.
        const auto bare = blockWith(0, {'I', 'R'});
        position = 600;
        readFrame(bare.data(), position, frame.data());
        QCOMPARE(int(frame[0]), int('I'));
        QCOMPARE(position, 600 + kRawFrameBytes);
        QCOMPARE(readCalibration(bare.data(), position, calibration.data()), -1);
        QCOMPARE(int(calibration[0]), int('I'));
    }

    void photographFiles()
    {
        QTemporaryDir dir;
        std::vector<unsigned char> frame(kRawFrameBytes), calibration(kCalibrationBytes);

        // Without the gimbal tag the text is NA and the photograph is read directly.
        PhotoSpec shot = specOf(ContainerKind::InfoBlockCalibrated);
        shot.tags = cameraInfoTags(shot.camera);
        shot.tags.erase(shot.tags.begin());
        const QString noGimbal = dir.filePath("nogimbal.jpg");
        writePhoto(noGimbal, shot);
        IrInfo info;
        QCOMPARE(readInfoBlockPhoto(noGimbal.toLocal8Bit().constData(), info, frame.data(), calibration.data()), 0);
        QCOMPARE(info["IrGimbalType"].text, std::string("NA"));
        QCOMPARE(info["IrVension"].text, std::string("V2.1.0"));
        QCOMPARE(info["DateTimeOriginal"].text, std::string("2023:05:01 10:20:30"));
        QCOMPARE(info["GPSLatitudeRef"].text, std::string("?"));
        QCOMPARE(info["GPSLatitude"].text, std::string("0.000000"));
        QCOMPARE(detectPhotoType(noGimbal.toLocal8Bit().constData()), InfoBlockDirect);

        // Files that are too short, carry no block, or carry no EXIF.
        const QString tiny = dir.filePath("tiny.jpg");
        writeAll(tiny, QByteArray(999, 'x'));
        QCOMPARE(readInfoBlockPhoto(tiny.toLocal8Bit().constData(), info, frame.data(), calibration.data()), -1);
        QCOMPARE(readInfoBlockPhoto(dir.filePath("absent.jpg").toLocal8Bit().constData(), info, frame.data(),
                                    calibration.data()), -1);
        PhotoSpec plain = specOf(ContainerKind::CompanionIrg);
        const QString noBlock = dir.filePath("noblock.jpg");
        writePhoto(noBlock, plain);
        QCOMPARE(readInfoBlockPhoto(noBlock.toLocal8Bit().constData(), info, frame.data(), calibration.data()), -1);
        PhotoSpec noExif = specOf(ContainerKind::InfoBlockDirect);
        noExif.withExif = false;
        const QString noExifPath = dir.filePath("noexif.jpg");
        writePhoto(noExifPath, noExif);
        QCOMPARE(readInfoBlockPhoto(noExifPath.toLocal8Bit().constData(), info, frame.data(), calibration.data()), -3);
    }

    void blockNearTheEndOfTheFirstMebibyte()
    {
        // The picture padded so that the block starts at 1,048,000: 576 bytes of it lie in the
        // first MiB, which is searched for it; the rest is read after it.
        QTemporaryDir dir;
        const PhotoSpec shot = specOf(ContainerKind::InfoBlockDirect);
        QByteArray bytes;
        for (auto b : pictureJpeg(shot))
            bytes.append(char(b));
        const int endOfImage = bytes.size();
        bytes.chop(2);
        bytes.append(QByteArray(1048000 - endOfImage, '\0'));
        bytes.append("\xFF\xD9", 2);
        QCOMPARE(bytes.size(), 1048000);
        for (auto b : infoBlock(cameraInfoTags(shot.camera), encodeFrame(shot), calibrationBlock(shot.calibration)))
            bytes.append(char(b));
        const QString path = dir.filePath("late.jpg");
        QVERIFY(writeAll(path, bytes));

        IrInfo info;
        std::vector<unsigned char> frame(kRawFrameBytes, 0xEE), calibration(kCalibrationBytes);
        InfoBlockExtent extent;
        QCOMPARE(readInfoBlockPhoto(path.toLocal8Bit().constData(), info, frame.data(), calibration.data(), &extent), 0);
        QCOMPARE(info["IrGimbalType"].text, std::string("QT640"));
        QCOMPARE(info["IrDistance"].text, std::string("5"));
        // The frame past the first MiB is read from the file (it read as zero, no reading).
        const auto expected = encodeFrame(shot);
        QCOMPARE(std::memcmp(frame.data(), expected.data(), kRawFrameBytes), 0);
        const auto block = calibrationBlock(shot.calibration);
        QCOMPARE(std::memcmp(calibration.data(), block.data(), kCalibrationBytes), 0);
        QCOMPARE(extent.frameBytes, kRawFrameBytes);
        QVERIFY(extent.calibrationWhole);

        // The same file cut off: the extent says how much of the frame it holds.
        const int frameStart = bytes.size() - kCalibrationBytes - kRawFrameBytes;
        for (int held : {0, 1, 5000, kRawFrameBytes - 1}) {
            QVERIFY(writeAll(path, bytes.left(frameStart + held)));
            std::fill(frame.begin(), frame.end(), 0xEE);
            QCOMPARE(readInfoBlockPhoto(path.toLocal8Bit().constData(), info, frame.data(), calibration.data(), &extent), 0);
            QCOMPARE(extent.frameBytes, held);
            QVERIFY(!extent.calibrationWhole);
            QCOMPARE(std::memcmp(frame.data(), expected.data(), std::size_t(held)), 0);
            QCOMPARE(int(frame[std::size_t(held)]), 0);
        }
        QVERIFY(writeAll(path, bytes.left(bytes.size() - 1)));
        QCOMPARE(readInfoBlockPhoto(path.toLocal8Bit().constData(), info, frame.data(), calibration.data(), &extent), 0);
        QCOMPARE(extent.frameBytes, kRawFrameBytes);
        QVERIFY(!extent.calibrationWhole);
    }
};

QTEST_GUILESS_MAIN(TestIrInfo)
#include "tst_irinfo.moc"
