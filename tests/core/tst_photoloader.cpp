#include "diagnostics.h"
#include "photofixtures.h"
#include "photoloader.h"
#include "picturereader.h"
#include "temperatureengine.h"

#include <QImageReader>
#include <QtTest>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Loaded
{
    int result;
    TempStats stats;
    TemperatureMatrix matrix;
    IrInfo info;
};

Loaded load(const QString &path, int width, int height, PhotoType *type = nullptr)
{
    Loaded l;
    l.result = loadIrImage(path.toLocal8Bit().constData(), width, height, &l.stats, l.info, l.matrix,
                           CameraCorrection(), type);
    return l;
}

QByteArray bytesOf(const std::vector<std::uint8_t> &v)
{
    return QByteArray(reinterpret_cast<const char *>(v.data()), int(v.size()));
}

} // namespace

class TestPhotoLoader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { setDiagnosticStream(nullptr); }

    void everyKindReadsBackItsField()
    {
        const struct
        {
            ContainerKind kind;
            PhotoType type;
        } kinds[] = {{ContainerKind::InfoBlockDirect, InfoBlockDirect},
                     {ContainerKind::InfoBlockCalibrated, InfoBlockCalibrated},
                     {ContainerKind::SegmentedRjpeg, SegmentedRjpeg},
                     {ContainerKind::CompanionIrg, CompanionIrg}};
        for (const auto &k : kinds) {
            for (QSize size : {QSize(64, 48), QSize(640, 512), QSize(160, 120)}) {
                const PhotoSpec shot = specOf(k.kind, size.width(), size.height());
                const QString file = path(QString("kind%1-%2.jpg").arg(int(k.type)).arg(size.width()));
                const std::vector<float> expected = writePhoto(file, shot);
                QCOMPARE(int(detectPhotoType(file.toLocal8Bit().constData())), int(k.type));
                PhotoType found = UnsupportedPhoto;
                const Loaded l = load(file, size.width(), size.height(), &found);
                QCOMPARE(l.result, 0);
                QCOMPARE(int(found), int(k.type)); // the load tells its kind without a second parse
                QCOMPARE(l.matrix.height(), size.height());
                QCOMPARE(l.matrix.width(), size.width());
                for (int y = 0; y < size.height(); ++y) {
                    for (int x = 0; x < size.width(); ++x) {
                        if (l.matrix[y][x] != expected[std::size_t(y) * size.width() + x])
                            QFAIL(qPrintable(QString("kind %1 pixel %2,%3").arg(int(k.type)).arg(x).arg(y)));
                    }
                }
                const TempStats want = statsOf(expected, size.width());
                QCOMPARE(l.stats.max, want.max);
                QCOMPARE(l.stats.min, want.min);
                QCOMPARE(l.stats.avg, want.avg);
                QCOMPARE(l.stats.maxPos, want.maxPos);
                QCOMPARE(l.stats.minPos, want.minPos);
            }
        }
        // The direct field: the hot square's first pixel and the cold corner.
        const Loaded direct = load(path("kind3-64.jpg"), 64, 48);
        QCOMPARE(direct.stats.max, 95.5f);
        QCOMPARE(direct.stats.maxPos, QPointF(32, 16));
        QCOMPARE(direct.stats.min, -12.3f); // -12.25 stored as 2609 tenths of a kelvin
        QCOMPARE(direct.stats.minPos, QPointF(0, 0));
    }

    void rawValues()
    {
        const std::uint16_t frame[] = {2732, 2731, 0, 65535, 2732, 3000};
        TempStats stats;
        TemperatureMatrix matrix;
        QCOMPARE(rawFrameToTemperature(frame, 3, 2, stats, matrix), 0);
        QCOMPARE(matrix[0][0], 0.0f);
        QCOMPARE(matrix[0][1], -0.1f);
        QCOMPARE(matrix[0][2], NA_TEMPERATURE);
        QCOMPARE(matrix[1][0], 6280.3f);
        // A pixel without a reading is neither an extreme nor part of the average (it counted as
        // 65536 °C and became the maximum).
        QCOMPARE(stats.max, 6280.3f);
        QCOMPARE(stats.maxPos, QPointF(0, 1));
        QCOMPARE(stats.min, -0.1f);
        QCOMPARE(stats.minPos, QPointF(1, 0));
        QCOMPARE(stats.avg, float((0.0 + double(-0.1f) + double(6280.3f) + 0.0 + double(26.8f)) / 5));

        const std::uint16_t ties[] = {3000, 3000, 2000, 2000};
        QCOMPARE(rawFrameToTemperature(ties, 2, 2, stats, matrix), 0);
        QCOMPARE(stats.maxPos, QPointF(0, 0));
        QCOMPARE(stats.minPos, QPointF(0, 1));

        // Every raw value converts as (v - 2732) / 10 in single precision, four at a time or not.
        // 1163 x 57 values, every raw value once and the first 755 twice; rows of an odd length.
        std::vector<std::uint16_t> every(1163 * 57);
        for (std::size_t v = 0; v < every.size(); ++v)
            every[v] = std::uint16_t(v % 65536);
        QCOMPARE(rawFrameToTemperature(every.data(), 1163, 57, stats, matrix), 0);
        for (std::size_t v = 0; v < every.size(); ++v) {
            const float want = every[v] == 0 ? NA_TEMPERATURE : float(int(every[v]) - 2732) / 10.0f;
            const float got = matrix[v / 1163][v % 1163];
            if (std::memcmp(&got, &want, sizeof got) != 0)
                QFAIL(qPrintable(QString("raw %1").arg(every[v])));
        }
        QCOMPARE(stats.minPos, QPointF(1, 0)); // raw 1, -273.1 °C
        QCOMPARE(stats.maxPos, QPointF(65535 % 1163, 65535 / 1163)); // raw 65535; raw 0 has no reading
        QCOMPARE(stats.max, 6280.3f);

        // A uniform frame averages to its own temperature (a single-precision running sum
        // gave 80.12 for 80.3 over 640 x 512 pixels).
        const std::vector<std::uint16_t> uniform(640 * 512, 3535);
        QCOMPARE(rawFrameToTemperature(uniform.data(), 640, 512, stats, matrix), 0);
        QCOMPARE(stats.avg, 80.3f);
        const std::vector<float> hot(640 * 512, 120.7f);
        QCOMPARE(floatFrameToTemperature(hot.data(), 640, 512, stats, matrix), 0);
        QCOMPARE(stats.avg, 120.7f);

        // Gaps without a reading, in the vector steps and in the tails of rows of an odd
        // length: the statistics are those of the readings alone, in any row.
        std::vector<std::uint16_t> gaps(37 * 11);
        std::vector<float> readings;
        for (std::size_t i = 0; i < gaps.size(); ++i) {
            gaps[i] = i % 3 == 0 || i % 37 > 30 ? 0 : std::uint16_t(2000 + (i * 7919) % 3000);
            if (gaps[i] != 0)
                readings.push_back(float(int(gaps[i]) - 2732) / 10.0f);
        }
        QCOMPARE(rawFrameToTemperature(gaps.data(), 37, 11, stats, matrix), 0);
        QCOMPARE(stats.max, *std::max_element(readings.begin(), readings.end()));
        QCOMPARE(stats.min, *std::min_element(readings.begin(), readings.end()));
        QCOMPARE(matrix[std::size_t(stats.maxPos.y())][std::size_t(stats.maxPos.x())], stats.max);
        QCOMPARE(matrix[std::size_t(stats.minPos.y())][std::size_t(stats.minPos.x())], stats.min);
        double total = 0;
        for (float t : readings)
            total += double(t);
        QVERIFY(std::fabs(double(stats.avg) - total / double(readings.size())) < 1e-3);
        // No reading anywhere: no temperatures at all.
        const std::vector<std::uint16_t> empty(640 * 512, 0);
        QCOMPARE(rawFrameToTemperature(empty.data(), 640, 512, stats, matrix), 0);
        QCOMPARE(stats.max, NA_TEMPERATURE);
        QCOMPARE(stats.min, NA_TEMPERATURE);
        QCOMPARE(stats.avg, NA_TEMPERATURE);

        // A frame without pixels reads nothing and reports no temperatures.
        QCOMPARE(rawFrameToTemperature(uniform.data(), 0, 5, stats, matrix), 0);
        QVERIFY(matrix.empty());
        QCOMPARE(stats.avg, NA_TEMPERATURE);
        QCOMPARE(floatFrameToTemperature(hot.data(), 7, 0, stats, matrix), 0);
        QCOMPARE(stats.max, NA_TEMPERATURE);

        QCOMPARE(floatFrameToTemperature(nullptr, 2, 2, stats, matrix), -1);
        QVERIFY(matrix.empty());
        QCOMPARE(stats.max, NA_TEMPERATURE);
    }

    void detectionThresholds()
    {
        QVERIFY(writeAll(path("999.jpg"), QByteArray(999, 'a')));
        QCOMPARE(detectPhotoType(path("999.jpg").toLocal8Bit().constData()), UnsupportedPhoto);
        QVERIFY(writeAll(path("1000.jpg"), QByteArray(1000, 'a')));
        QCOMPARE(detectPhotoType(path("1000.jpg").toLocal8Bit().constData()), CompanionIrg);
        QCOMPARE(detectPhotoType(path("missing.jpg").toLocal8Bit().constData()), UnsupportedPhoto);
        QCOMPARE(load(path("missing.jpg"), 4, 4).result, -1);
        QVERIFY(load(path("999.jpg"), 4, 4).result != 0);

        QByteArray nine = QByteArray("Vexlo").repeated(9) + QByteArray(2000, 'z');
        QVERIFY(writeAll(path("nine.jpg"), nine));
        QCOMPARE(detectPhotoType(path("nine.jpg").toLocal8Bit().constData()), CompanionIrg);
        QVERIFY(writeAll(path("ten.jpg"), QByteArray("VexloVexlo") + nine));
        QCOMPARE(detectPhotoType(path("ten.jpg").toLocal8Bit().constData()), SegmentedRjpeg);
        // Overlapping text counts once per non-overlapping hit.
        QVERIFY(writeAll(path("overlap.jpg"), QByteArray("VexloVexlo").repeated(4) + QByteArray(2000, 'z')));
        QCOMPARE(detectPhotoType(path("overlap.jpg").toLocal8Bit().constData()), CompanionIrg);
    }

    void companionFiles()
    {
        const PhotoSpec shot = specOf(ContainerKind::CompanionIrg, 16, 8);
        const std::vector<float> expected = writePhoto(path("photo.jpg"), shot);
        QByteArray irg = readAll(path("photo.irg"));
        // Exactly the frame: read whole.
        QVERIFY(writeAll(path("photo.irg"), irg.right(kRawFrameBytes)));
        QCOMPARE(load(path("photo.jpg"), 16, 8).result, 0);
        QCOMPARE(load(path("photo.jpg"), 16, 8).matrix[7][15], expected.back());
        std::vector<unsigned char> frame(kRawFrameBytes);
        QCOMPARE(readIrgFile(path("photo.irg").toLocal8Bit().constData(), frame.data()), 0);
        // One byte short: rejected, as a frame the file does not hold.
        QVERIFY(writeAll(path("photo.irg"), irg.right(kRawFrameBytes - 1)));
        QCOMPARE(readIrgFile(path("photo.irg").toLocal8Bit().constData(), frame.data()), -1);
        QCOMPARE(load(path("photo.jpg"), 16, 8).result, int(LoadFrameIncomplete));
        // With its header and cut off at the end: its last bytes would be the frame shifted.
        QVERIFY(irg.startsWith(QByteArray("IRG\0", 4)));
        QCOMPARE(irg.size(), 256 + kRawFrameBytes);
        for (int cut : {1, 2, 100, 255}) {
            QVERIFY(writeAll(path("photo.irg"), irg.left(irg.size() - cut)));
            QCOMPARE(readIrgFile(path("photo.irg").toLocal8Bit().constData(), frame.data()), -1);
            QCOMPARE(load(path("photo.jpg"), 16, 8).result, int(LoadFrameIncomplete));
        }
        // Whole, with more than the header before the frame: the frame is still its last bytes.
        QVERIFY(writeAll(path("photo.irg"), irg.left(256) + QByteArray(40, 'x') + irg.mid(256)));
        const Loaded longer = load(path("photo.jpg"), 16, 8);
        QCOMPARE(longer.result, 0);
        QCOMPARE(longer.matrix[7][15], expected.back());
        QFile::remove(path("photo.irg"));
        QCOMPARE(load(path("photo.jpg"), 16, 8).result, -2);

        // The companion's name replaces everything from the last dot, even in a folder name.
        QVERIFY(QDir(m_dir.path()).mkpath("data.old"));
        QVERIFY(QFile::copy(path("photo.jpg"), path("data.old/photo")));
        QVERIFY(writeAll(path("data.irg"), irg));
        const Loaded l = load(path("data.old/photo"), 16, 8);
        QCOMPARE(l.result, 0);
        QCOMPARE(l.matrix[0][0], expected[0]);
        QVERIFY(l.info.empty());
    }

    void segmentedFiles()
    {
        std::vector<unsigned char> frame(kRawFrameBytes, 0x5A);
        std::uint32_t count = 0;
        QCOMPARE(readRjpegSegments(nullptr, frame.data(), &count), -1);
        QCOMPARE(readRjpegSegments("x", nullptr, &count), -2);
        QCOMPARE(readRjpegSegments("x", frame.data(), nullptr), -2);
        QCOMPARE(readRjpegSegments(path("absent.jpg").toLocal8Bit().constData(), frame.data(), &count), -3);

        const PhotoSpec shot = specOf(ContainerKind::SegmentedRjpeg, 32, 16);
        writePhoto(path("seg.jpg"), shot);
        std::fill(frame.begin(), frame.end(), 0);
        QCOMPARE(readRjpegSegments(path("seg.jpg").toLocal8Bit().constData(), frame.data(), &count), 0);
        QCOMPARE(count, std::uint32_t(kRawFrameBytes));

        // A table marker before the tagged segments ends the walk: nothing of the frame is
        // read, and the photograph has no frame to show.
        QByteArray bytes = readAll(path("seg.jpg"));
        const QByteArray whole = bytes;
        bytes.insert(2, QByteArray("\xFF\xDB\x00\x04\x00\x00", 6));
        QVERIFY(writeAll(path("seg-late.jpg"), bytes));
        count = 0;
        std::fill(frame.begin(), frame.end(), 0);
        QCOMPARE(readRjpegSegments(path("seg-late.jpg").toLocal8Bit().constData(), frame.data(), &count), 0);
        QCOMPARE(count, 0u);
        const Loaded l = load(path("seg-late.jpg"), 32, 16);
        QCOMPARE(l.result, int(LoadFrameIncomplete));

        // Cut inside the segments (ten of the eleven tags still there, so still segmented):
        // short of the pixels the picture needs, refused; holding them, read.
        QVector<int> tags;
        for (int at = whole.indexOf("Vexlo"); at >= 0; at = whole.indexOf("Vexlo", at + 5))
            tags.append(at);
        QCOMPARE(tags.size(), 11);
        for (int size : {tags[9] + 6, tags[9] + 1000, tags[10] + 6, tags[10] + 100, tags[10] + 6 + 159}) {
            QVERIFY(writeAll(path("seg-cut.jpg"), whole.left(size)));
            QCOMPARE(detectPhotoType(path("seg-cut.jpg").toLocal8Bit().constData()), SegmentedRjpeg);
            QCOMPARE(load(path("seg-cut.jpg"), 640, 512).result, int(LoadFrameIncomplete));
        }
        QVERIFY(writeAll(path("seg-cut.jpg"), whole.left(tags[9] + 1000)));
        QCOMPARE(load(path("seg-cut.jpg"), 32, 16).result, 0);

        // More payload than the frame holds never goes past it.
        QByteArray longer("\xFF\xD8", 2);
        for (int i = 0; i < 12; ++i)
            longer += QByteArray("\xFF\xE1\xFF\xF0Vexlo\0", 10) + QByteArray(0xFFF0 - 8, char(i));
        QVERIFY(writeAll(path("seg-long.jpg"), longer));
        count = 0;
        QCOMPARE(readRjpegSegments(path("seg-long.jpg").toLocal8Bit().constData(), frame.data(), &count), 0);
        QCOMPARE(count, std::uint32_t(kRawFrameBytes));
        QCOMPARE(int(frame[kRawFrameBytes - 1]), 10);
    }

    void calibratedFailures()
    {
        PhotoSpec shot = specOf(ContainerKind::InfoBlockCalibrated, 16, 8);
        shot.calibration.emissivity = 0;
        writePhoto(path("e0.jpg"), shot);
        QCOMPARE(detectPhotoType(path("e0.jpg").toLocal8Bit().constData()), InfoBlockCalibrated);
        QCOMPARE(load(path("e0.jpg"), 16, 8).result, -3);
        shot = specOf(ContainerKind::InfoBlockCalibrated, 16, 8);
        shot.calibration.magic = false;
        writePhoto(path("nomagic.jpg"), shot);
        QCOMPARE(load(path("nomagic.jpg"), 16, 8).result, -3);
        // Emissivity 100 reads the curve itself.
        shot = specOf(ContainerKind::InfoBlockCalibrated, 16, 8);
        writePhoto(path("e100.jpg"), shot);
        const Loaded l = load(path("e100.jpg"), 16, 8);
        QCOMPARE(l.result, 0);
        const std::int16_t *wideA = temperatureCurve(TemperatureCurve::WideA);
        const auto frame = encodeFrame(shot);
        QCOMPARE(l.matrix[3][5], float(wideA[frame[3 * 16 + 5]]) / 10.0f);
        QVERIFY(std::fabs(l.matrix[3][5] - shot.temperatures[3 * 16 + 5]) <= 0.3f);
    }

    void pictureLargerThanTheFrame()
    {
        // 800 x 600 pixels do not fit the 327,680-pixel frame: no temperatures, nothing read past it.
        for (ContainerKind kind : {ContainerKind::InfoBlockDirect, ContainerKind::InfoBlockCalibrated}) {
            const PhotoSpec shot = specOf(kind, 64, 48);
            writePhoto(path("big.jpg"), shot);
            QCOMPARE(load(path("big.jpg"), 800, 600).result, -3);
            QCOMPARE(load(path("big.jpg"), 0, 0).result, -3);
            QCOMPARE(load(path("big.jpg"), -1, -1).result, -3);
            QCOMPARE(load(path("big.jpg"), 640, 512).result, 0); // the largest that fits
        }
    }

    void picturesOfBoundedSize()
    {
        // A generated picture whose baseline frame header (SOF0: marker, length, precision,
        // height, width) is patched to declare another size; the scan data stays the small one.
        const PhotoSpec shot = specOf(ContainerKind::InfoBlockDirect, 64, 48);
        writePhoto(path("picture.jpg"), shot);
        const QByteArray original = readAll(path("picture.jpg"));
        const int sof = original.indexOf(QByteArray("\xFF\xC0", 2));
        QVERIFY(sof > 0);
        QCOMPARE(int(quint8(original[sof + 5])) << 8 | quint8(original[sof + 6]), 48);
        auto declaring = [&](int width, int height) {
            QByteArray bytes = original;
            bytes[sof + 5] = char(height >> 8);
            bytes[sof + 6] = char(height);
            bytes[sof + 7] = char(width >> 8);
            bytes[sof + 8] = char(width);
            const QString file = path(QString("declared-%1x%2.jpg").arg(width).arg(height));
            return writeAll(file, bytes) ? file : QString();
        };

        const QImage small = readBoundedPicture(path("picture.jpg"));
        QCOMPARE(small.size(), QSize(64, 48));
        QVERIFY(pictureSizeFits(QSize(640, 512)));
        QVERIFY(pictureSizeFits(QSize(1, 1)));
        QVERIFY(!pictureSizeFits(QSize(641, 512)));
        QVERIFY(!pictureSizeFits(QSize(0, 10)));
        QVERIFY(!pictureSizeFits(QSize()));
        QVERIFY(!pictureSizeFits(QSize(65535, 65535)));
        // Refused from the header, before decoding: no 1.6 or 16.9 GB picture is allocated.
        QElapsedTimer timer;
        timer.start();
        for (const QSize &size : {QSize(20000, 20000), QSize(65000, 65000), QSize(641, 512), QSize(60000, 6)}) {
            const QString file = declaring(size.width(), size.height());
            QCOMPARE(QImageReader(file).size(), size);
            QVERIFY(readBoundedPicture(file).isNull());
        }
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(readBoundedPicture(path("absent.jpg")).isNull());
        QVERIFY(readBoundedPicture(path("")).isNull());
        // The largest size that fits is decoded (the scan data ends early; what is decoded has
        // the declared size).
        QCOMPARE(readBoundedPicture(declaring(640, 512)).size(), QSize(640, 512));
    }

    // Each reason a photograph gives no temperatures is named, not one text for all of them.
    void failuresSayWhatFailed()
    {
        auto reason = [](const QString &file) {
            Loaded l;
            const QByteArray native = QFile::encodeName(file);
            const int result = loadIrImage(native.constData(), 64, 48, &l.stats, l.info, l.matrix);
            return QString::fromUtf8(loadResultText(result, native.constData()));
        };
        QCOMPARE(reason(path("absent.jpg")), QString("no such file"));
        QCOMPARE(reason(path("absent/IR_0001.jpg")), QString("no such file"));
        QVERIFY(QDir().mkpath(path("folder.jpg")));
        QCOMPARE(reason(path("folder.jpg")), QString("a folder, not a photograph"));
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo.jpg")).constData(), 0600), 0);
        QVERIFY(reason(path("fifo.jpg")).startsWith("not a regular file"));
        QVERIFY(writeAll(path("short.jpg"), QByteArray(999, 'x')));
        QVERIFY(reason(path("short.jpg")).startsWith("not a photograph this program reads"));
        QVERIFY(writeAll(path("text.jpg"), QByteArray(5000, 'x')));
        QVERIFY(reason(path("text.jpg")).startsWith("not a photograph this program reads"));
        writePhoto(path("whole.jpg"), specOf(ContainerKind::InfoBlockDirect, 64, 48));
        QVERIFY(writeAll(path("cut.jpg"), readAll(path("whole.jpg")).left(4000 + readAll(path("whole.jpg")).indexOf("IR_INFO_START"))));
        QVERIFY(reason(path("cut.jpg")).startsWith("frame incomplete"));
        QCOMPARE(reason(path("whole.jpg")), QString("loaded"));
        // Root reads every file; the reason is checked where permissions hold.
        QVERIFY(QFile::setPermissions(path("whole.jpg"), QFileDevice::WriteOwner));
        if (::geteuid() != 0)
            QCOMPARE(reason(path("whole.jpg")), QString("permission denied"));
        QVERIFY(QFile::setPermissions(path("whole.jpg"), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }

    void damagedFiles()
    {
        const PhotoSpec shot = specOf(ContainerKind::InfoBlockDirect, 64, 48);
        writePhoto(path("whole.jpg"), shot);
        const QByteArray whole = readAll(path("whole.jpg"));
        const int block = whole.indexOf("IR_INFO_START");
        QVERIFY(block > 0);
        for (int size : {10, 999, 1000, 4000, block, block + 13, block + 60, block + 130, block + 200000, whole.size() - 3000,
                         whole.size() - 1}) {
            QVERIFY(writeAll(path("cut.jpg"), whole.left(size)));
            const Loaded l = load(path("cut.jpg"), 64, 48);
            QVERIFY2(l.result <= 0 && l.result >= LoadFrameIncomplete, qPrintable(QString::number(size)));
        }
        // A block that ends inside the frame: refused (the rest of the frame read as zeros, no
        // reading, and the load succeeded).
        QVERIFY(writeAll(path("cut.jpg"), whole.left(block + 200 + 64 * 10 * 2)));
        QCOMPARE(load(path("cut.jpg"), 64, 48).result, int(LoadFrameIncomplete));
        // It still holds the first ten rows.
        QCOMPARE(load(path("cut.jpg"), 64, 10).result, 0);
        QCOMPARE(load(path("cut.jpg"), 64, 10).matrix[9][63], expectedTemperatures(shot)[9 * 64 + 63]);

        // Every cut point of a full-size photograph: a cut anywhere before the frame's end is
        // refused; no load ever reports a frame partly without readings as a success.
        PhotoSpec full = specOf(ContainerKind::InfoBlockDirect, 640, 512);
        writePhoto(path("full.jpg"), full);
        const QByteArray fullBytes = readAll(path("full.jpg"));
        const int frameEnd = fullBytes.size() - kCalibrationBytes;
        for (int size = 1000; size < fullBytes.size(); size += 4093) {
            QVERIFY(writeAll(path("cut.jpg"), fullBytes.left(size)));
            const Loaded l = load(path("cut.jpg"), 640, 512);
            if (size < frameEnd) {
                QVERIFY2(l.result != 0, qPrintable(QString::number(size)));
            } else {
                QCOMPARE(l.result, 0);
                QVERIFY(l.stats.max < NA_TEMPERATURE);
            }
        }
        QVERIFY(writeAll(path("cut.jpg"), fullBytes.left(36864)));
        QCOMPARE(load(path("cut.jpg"), 640, 512).result, int(LoadFrameIncomplete));
        QVERIFY(writeAll(path("cut.jpg"), fullBytes.left(frameEnd - 1)));
        QCOMPARE(load(path("cut.jpg"), 640, 512).result, int(LoadFrameIncomplete));
        QVERIFY(writeAll(path("cut.jpg"), fullBytes.left(frameEnd)));
        QCOMPARE(load(path("cut.jpg"), 640, 512).result, 0);

        // A calibrated photograph needs its calibration block whole as well.
        writePhoto(path("calibrated.jpg"), specOf(ContainerKind::InfoBlockCalibrated, 64, 48));
        const QByteArray calibrated = readAll(path("calibrated.jpg"));
        QVERIFY(writeAll(path("cut.jpg"), calibrated.left(calibrated.size() - 1)));
        QCOMPARE(load(path("cut.jpg"), 64, 48).result, int(LoadFrameIncomplete));
        QVERIFY(writeAll(path("cut.jpg"), calibrated));
        QCOMPARE(load(path("cut.jpg"), 64, 48).result, 0);

        // A text tag declaring 600 bytes.
        PhotoSpec odd = shot;
        odd.tags = cameraInfoTags(odd.camera);
        odd.tags[1].value.assign(600, 'v');
        writePhoto(path("odd.jpg"), odd);
        const Loaded l = load(path("odd.jpg"), 64, 48);
        QCOMPARE(l.result, 0);
        QCOMPARE(l.info.at("IrVension").text.size(), std::size_t(512));
    }
};

QTEST_GUILESS_MAIN(TestPhotoLoader)
#include "tst_photoloader.moc"
