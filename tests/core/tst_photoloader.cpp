#include "diagnostics.h"
#include "photofixtures.h"
#include "photoloader.h"
#include "temperatureengine.h"

#include <QtTest>

#include <cstring>

namespace {

struct Loaded
{
    int result;
    TempStats stats;
    TemperatureMatrix matrix;
    IrInfo info;
};

Loaded load(const QString &path, int width, int height)
{
    Loaded l;
    l.result = loadIrImage(path.toLocal8Bit().constData(), width, height, l.stats, l.info, l.matrix);
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
                const Loaded l = load(file, size.width(), size.height());
                QCOMPARE(l.result, 0);
                QCOMPARE(int(l.matrix.size()), size.height());
                for (int y = 0; y < size.height(); ++y) {
                    QCOMPARE(int(l.matrix[y].size()), size.width());
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
        // No reading counts as 65536 and becomes the maximum; ties keep the first pixel.
        QCOMPARE(stats.max, NA_TEMPERATURE);
        QCOMPARE(stats.maxPos, QPointF(2, 0));
        QCOMPARE(stats.min, -0.1f);
        QCOMPARE(stats.minPos, QPointF(1, 0));

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
        QCOMPARE(stats.maxPos, QPointF(0, 0));

        // A uniform frame averages to its own temperature (a single-precision running sum
        // gave 80.12 for 80.3 over 640 x 512 pixels).
        const std::vector<std::uint16_t> uniform(640 * 512, 3535);
        QCOMPARE(rawFrameToTemperature(uniform.data(), 640, 512, stats, matrix), 0);
        QCOMPARE(stats.avg, 80.3f);
        const std::vector<float> hot(640 * 512, 120.7f);
        QCOMPARE(floatFrameToTemperature(hot.data(), 640, 512, stats, matrix), 0);
        QCOMPARE(stats.avg, 120.7f);

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
        // One byte short: rejected.
        QVERIFY(writeAll(path("photo.irg"), irg.right(kRawFrameBytes - 1)));
        QCOMPARE(readIrgFile(path("photo.irg").toLocal8Bit().constData(), frame.data()), -1);
        QCOMPARE(load(path("photo.jpg"), 16, 8).result, -2);
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

        // A table marker before the tagged segments ends the walk: an all-zero frame, success.
        QByteArray bytes = readAll(path("seg.jpg"));
        bytes.insert(2, QByteArray("\xFF\xDB\x00\x04\x00\x00", 6));
        QVERIFY(writeAll(path("seg-late.jpg"), bytes));
        count = 0;
        std::fill(frame.begin(), frame.end(), 0);
        QCOMPARE(readRjpegSegments(path("seg-late.jpg").toLocal8Bit().constData(), frame.data(), &count), 0);
        QCOMPARE(count, 0u);
        const Loaded l = load(path("seg-late.jpg"), 32, 16);
        QCOMPARE(l.result, 0);
        QCOMPARE(l.stats.max, NA_TEMPERATURE);
        QCOMPARE(l.stats.min, NA_TEMPERATURE);

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
            QVERIFY2(l.result <= 0 && l.result >= -4, qPrintable(QString::number(size)));
        }
        // A block that ends inside the frame: the rest of the frame reads as no reading.
        QVERIFY(writeAll(path("cut.jpg"), whole.left(block + 200 + 64 * 10 * 2)));
        const Loaded cut = load(path("cut.jpg"), 64, 48);
        QCOMPARE(cut.result, 0);
        QCOMPARE(cut.matrix[47][63], NA_TEMPERATURE);
        QVERIFY(cut.matrix[0][5] != NA_TEMPERATURE);

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
