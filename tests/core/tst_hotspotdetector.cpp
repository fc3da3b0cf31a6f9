#include "diagnostics.h"
#include "hotspotdetector.h"
#include "photogenerator.h"
#include "photohotspots.h"
#include "plantedanomalies.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <random>

namespace {

TemperatureMatrix matrixOf(const std::vector<float> &values, int width, int height)
{
    TemperatureMatrix m(width, height);
    std::copy(values.begin(), values.end(), m.row(0));
    return m;
}

// The lower median by a full sort, apart from the detector's selection.
float sortedLowerMedian(std::vector<float> values)
{
    values.erase(std::remove(values.begin(), values.end(), NA_TEMPERATURE), values.end());
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) / 2];
}

bool reads(float t)
{
    return t != NA_TEMPERATURE && t == t;
}

// The anomalies by the plainest means: a full sort for the median, a flood fill from each
// region's first pixel in row-major order, every pixel visited.
HotSpots plainHotSpots(const TemperatureMatrix &m, const HotSpotSettings &settings)
{
    HotSpots found;
    const QRect frame(0, 0, m.width(), m.height());
    const QRect area = settings.referenceArea ? settings.referenceArea->intersected(frame) : frame;
    std::vector<float> readings;
    for (int y = area.top(); y <= area.bottom() && !area.isEmpty(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (reads(m.at(x, y)))
                readings.push_back(m.at(x, y));
        }
    }
    if (readings.empty())
        return found;
    std::sort(readings.begin(), readings.end());
    found.reference = readings[(readings.size() - 1) / 2];
    const float cutoff = found.reference + settings.threshold;
    const auto hot = [&](int x, int y) { return frame.contains(x, y) && reads(m.at(x, y)) && m.at(x, y) >= cutoff; };
    std::vector<char> seen(std::size_t(m.width()) * std::size_t(m.height()), 0);
    for (int y = 0; y < m.height(); ++y) {
        for (int x = 0; x < m.width(); ++x) {
            if (!hot(x, y) || seen[std::size_t(y) * std::size_t(m.width()) + std::size_t(x)])
                continue;
            std::vector<QPoint> pixels, todo{QPoint(x, y)};
            seen[std::size_t(y) * std::size_t(m.width()) + std::size_t(x)] = 1;
            while (!todo.empty()) {
                const QPoint p = todo.back();
                todo.pop_back();
                pixels.push_back(p);
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = p.x() + dx, ny = p.y() + dy;
                        if (hot(nx, ny) && !seen[std::size_t(ny) * std::size_t(m.width()) + std::size_t(nx)]) {
                            seen[std::size_t(ny) * std::size_t(m.width()) + std::size_t(nx)] = 1;
                            todo.push_back(QPoint(nx, ny));
                        }
                    }
                }
            }
            if (int(pixels.size()) < settings.minimumArea)
                continue;
            std::sort(pixels.begin(), pixels.end(), [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
            HotSpot spot;
            spot.max = m.at(pixels[0].x(), pixels[0].y());
            spot.maxPos = pixels[0];
            QRect bounds(pixels[0], pixels[0]);
            double sumX = 0.0, sumY = 0.0;
            for (const QPoint p : pixels) {
                if (m.at(p.x(), p.y()) > spot.max) {
                    spot.max = m.at(p.x(), p.y());
                    spot.maxPos = p;
                }
                bounds |= QRect(p, p);
                sumX += p.x();
                sumY += p.y();
            }
            spot.reference = found.reference;
            spot.deltaT = spot.max - found.reference;
            if (settings.irradiance)
                spot.deltaTNormalised = double(spot.deltaT) * 1000.0 / *settings.irradiance;
            spot.area = int(pixels.size());
            spot.bounds = bounds;
            spot.centroid = QPointF(sumX / spot.area, sumY / spot.area);
            spot.severity = hotSpotClass(spot.deltaT, settings);
            found.spots.append(spot);
        }
    }
    std::stable_sort(found.spots.begin(), found.spots.end(), [](const HotSpot &a, const HotSpot &b) {
        if (a.deltaT != b.deltaT)
            return a.deltaT > b.deltaT;
        return a.maxPos.y() != b.maxPos.y() ? a.maxPos.y() < b.maxPos.y() : a.maxPos.x() < b.maxPos.x();
    });
    return found;
}

HotSpotSettings minimumArea(int pixels)
{
    HotSpotSettings settings;
    settings.minimumArea = pixels;
    return settings;
}

} // namespace

class TestHotSpotDetector : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { setDiagnosticStream(nullptr); }

    // Each kind of defect, planted in the kinds that store tenths of a kelvin, is found from
    // the file with its hottest pixel, its area and its ΔT; nothing else is.
    void plantedAnomaliesAreFoundExactly_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("info block") << int(ContainerKind::InfoBlockDirect);
        QTest::newRow("segmented") << int(ContainerKind::SegmentedRjpeg);
        QTest::newRow("companion") << int(ContainerKind::CompanionIrg);
    }
    void plantedAnomaliesAreFoundExactly()
    {
        QFETCH(int, kind);
        PhotoSpec shot;
        shot.kind = ContainerKind(kind);
        shot.temperatures = inspectionScene(shot.width, shot.height, kind);
        const std::vector<PlantedAnomaly> planted = {
            hotCell({300, 250}, 8, 24.0f),         diodeBand(QRect(170, 190, 60, 10), 15.3f),
            hotConnector({100, 420}, 6.1f),        hotCell({500, 300}, 5, 9.9f),
            diodeBand(QRect(20, 480, 80, 12), 41.7f)};
        const float reference = plantAnomalies(shot.temperatures, shot.width, shot.height, planted);
        const QString path = m_dir.filePath(QString("planted%1.jpg").arg(kind));
        const std::vector<float> decoded = writePhoto(path, shot);

        PhotoRecord record;
        const PhotoHotSpots scanned = scanPhotoHotSpots(QFile::encodeName(path), HotSpotSettings(), record);
        QCOMPARE(scanned.result, 0);
        QCOMPARE(scanned.path, path);
        QCOMPARE(scanned.found.reference, reference);
        QCOMPARE(scanned.found.reference, sortedLowerMedian(decoded));
        const QVector<HotSpot> &spots = scanned.found.spots;
        QCOMPARE(spots.size(), int(planted.size()));
        for (const PlantedAnomaly &p : planted) {
            const auto found = std::find_if(spots.begin(), spots.end(), [&](const HotSpot &s) { return s.maxPos == p.hottest; });
            QVERIFY2(found != spots.end(), qPrintable(QString("ΔT %1 not found").arg(double(p.deltaT))));
            QCOMPARE(found->area, p.area.width() * p.area.height());
            QCOMPARE(found->bounds, p.area);
            QCOMPARE(found->centroid, QRectF(p.area).center() - QPointF(0.5, 0.5));
            QCOMPARE(found->max, decoded[std::size_t(p.hottest.y() * shot.width + p.hottest.x())]);
            QCOMPARE(found->deltaT, found->max - reference);
            // Float rounding of the decoded tenths is all that separates it from the planted ΔT.
            QVERIFY2(std::abs(found->deltaT - p.deltaT) <= 1e-4f, qPrintable(QString::number(double(found->deltaT), 'g', 9)));
        }
        for (int i = 1; i < spots.size(); ++i)
            QVERIFY(spots[i - 1].deltaT > spots[i].deltaT);
        QCOMPARE(spots[0].severity, 3); // 41.7
        QCOMPARE(spots[2].severity, 2); // 15.3
        QCOMPARE(spots[3].severity, 1); // 9.9
    }

    // The position of a photograph taken west and south comes out negative; the scan of a
    // file that is no photograph says why and finds nothing.
    void positionAndFailure()
    {
        PhotoSpec shot;
        shot.temperatures = inspectionScene(shot.width, shot.height, 0);
        plantAnomalies(shot.temperatures, shot.width, shot.height, {hotCell({50, 200}, 4, 12.0f)});
        shot.exif.hasGps = true;
        shot.exif.gps.longitudeRef = 'W';
        shot.exif.gps.longitude[0] = {70, 1};
        shot.exif.gps.longitude[1] = {39, 1};
        shot.exif.gps.latitudeRef = 'S';
        shot.exif.gps.latitude[0] = {33, 1};
        shot.exif.gps.latitude[1] = {27, 1};
        shot.exif.gps.altitude = {5705, 10};
        const QString path = m_dir.filePath("southwest.jpg");
        writePhoto(path, shot);
        PhotoRecord record;
        const PhotoHotSpots scanned = scanPhotoHotSpots(QFile::encodeName(path), HotSpotSettings(), record);
        QVERIFY(scanned.position);
        QCOMPARE(scanned.position->longitude, -70.65);
        QCOMPARE(scanned.position->latitude, -33.45);
        QCOMPARE(scanned.position->altitude, std::optional<double>(570.5));
        QCOMPARE(scanned.found.spots.size(), 1);

        const PhotoHotSpots missing = scanPhotoHotSpots(QFile::encodeName(m_dir.filePath("absent.jpg")), HotSpotSettings(), record);
        QCOMPARE(missing.result, int(LoadCannotOpen));
        QVERIFY(missing.found.spots.isEmpty());
        QVERIFY(!missing.position);
    }

    // Noise of amplitude a (readings within level ± a) stays below the threshold while 2a
    // does: the median can sit at level - a at worst. Symmetric noise of ±4.5 K passes too.
    void nothingOnUniformOrNoise()
    {
        const int width = 160, height = 120, n = width * height;
        QVERIFY(findHotSpots(TemperatureMatrix(width, height, 30.0f), HotSpotSettings()).spots.isEmpty());
        QCOMPARE(findHotSpots(TemperatureMatrix(width, height, 30.0f), HotSpotSettings()).reference, 30.0f);
        QVERIFY(findHotSpots(matrixOf(inspectionScene(640, 512, 3), 640, 512), HotSpotSettings()).spots.isEmpty());

        // The worst case: just over half the pixels at the low end, the rest at the high end.
        for (const auto &[amplitude, found] : {std::pair<float, bool>{2.45f, false}, std::pair<float, bool>{2.55f, true}}) {
            std::vector<float> t(static_cast<std::size_t>(n));
            for (int i = 0; i < n; ++i)
                t[std::size_t(i)] = (i * 7919) % n <= n / 2 ? 30.0f - amplitude : 30.0f + amplitude;
            const HotSpots spots = findHotSpots(matrixOf(t, width, height), HotSpotSettings());
            QCOMPARE(spots.reference, 30.0f - amplitude);
            QCOMPARE(!spots.spots.isEmpty(), found);
        }

        std::mt19937 random(20240601);
        std::uniform_real_distribution<float> noise(-4.5f, 4.5f);
        std::vector<float> t(static_cast<std::size_t>(n));
        for (float &v : t)
            v = 30.0f + noise(random);
        QVERIFY(findHotSpots(matrixOf(t, width, height), HotSpotSettings()).spots.isEmpty());
    }

    // The median is found from a sample of the frame first; a frame whose sampled rows are
    // unlike the rest (every 8th row hot) still gets the median of all its readings, and a
    // plateau at the median (a uniform frame with a few defects) gets that value.
    void medianOfLargeFrames()
    {
        TemperatureMatrix striped(640, 512, 20.0f);
        for (int y = 4; y < 512; y += 8)
            std::fill(striped.row(y), striped.row(y) + 640, 50.0f);
        const HotSpots rows = findHotSpots(striped, HotSpotSettings());
        QCOMPARE(rows.reference, 20.0f);
        QCOMPARE(rows.spots.size(), 64);
        QCOMPARE(rows.spots[0].bounds, QRect(0, 4, 640, 1));

        std::mt19937 random(7);
        std::uniform_real_distribution<float> spread(-30.0f, 80.0f);
        std::vector<float> t(640 * 512);
        for (float &v : t)
            v = spread(random);
        for (int i = 0; i < 20000; ++i)
            t[std::size_t(i) * 13 % t.size()] = NA_TEMPERATURE;
        QCOMPARE(findHotSpots(matrixOf(t, 640, 512), HotSpotSettings()).reference, sortedLowerMedian(t));
        HotSpotSettings part;
        part.referenceArea = QRect(100, 50, 300, 200);
        std::vector<float> inside;
        for (int y = 50; y < 250; ++y)
            inside.insert(inside.end(), t.begin() + y * 640 + 100, t.begin() + y * 640 + 400);
        QCOMPARE(findHotSpots(matrixOf(t, 640, 512), part).reference, sortedLowerMedian(inside));
    }

    // Three single-pixel defects on a 20 °C field at 800 W/m²: ΔT 6, 12 and 25 K.
    void classesAndNormalisation()
    {
        TemperatureMatrix m(9, 9, 20.0f);
        m.at(1, 1) = 26.0f;
        m.at(4, 4) = 32.0f;
        m.at(7, 7) = 45.0f;
        HotSpotSettings settings = minimumArea(1);
        settings.irradiance = 800.0;
        const HotSpots found = findHotSpots(m, settings);
        QCOMPARE(found.reference, 20.0f);
        QCOMPARE(found.spots.size(), 3);
        // ΔT × 1000 / 800: 25 → 31.25 (class 3 from 20 K), 12 → 15 (class 2 from 10 K), 6 → 7.5.
        const float deltaT[] = {25.0f, 12.0f, 6.0f};
        const double normalised[] = {31.25, 15.0, 7.5};
        const int classes[] = {3, 2, 1};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(found.spots[i].deltaT, deltaT[i]);
            QCOMPARE(*found.spots[i].deltaTNormalised, normalised[i]);
            QCOMPARE(found.spots[i].severity, classes[i]);
        }
        // Limits of 7 and 30 K: 6 stays 1, 12 and 25 are both 2; no irradiance, no normalised ΔT.
        settings.classLimits[0] = 7.0f;
        settings.classLimits[1] = 30.0f;
        settings.irradiance.reset();
        const HotSpots limited = findHotSpots(m, settings);
        QCOMPARE(limited.spots[0].severity, 2);
        QCOMPARE(limited.spots[1].severity, 2);
        QCOMPARE(limited.spots[2].severity, 1);
        QVERIFY(!limited.spots[0].deltaTNormalised);
        // A ΔT equal to a limit belongs to the class above.
        QCOMPARE(hotSpotClass(10.0f, HotSpotSettings()), 2);
        QCOMPARE(hotSpotClass(20.0f, HotSpotSettings()), 3);
        QCOMPARE(hotSpotClass(9.99f, HotSpotSettings()), 1);
    }

    void thresholdAreaAndReferenceArea()
    {
        TemperatureMatrix m(12, 8, 20.0f);
        for (int x = 2; x < 5; ++x)
            m.at(x, 2) = 25.0f; // exactly at the threshold: counts; three pixels: below the area
        m.at(9, 5) = 24.9f;
        QVERIFY(findHotSpots(m, HotSpotSettings()).spots.isEmpty());
        QCOMPARE(findHotSpots(m, minimumArea(3)).spots.size(), 1);
        QCOMPARE(findHotSpots(m, minimumArea(3)).spots[0].area, 3);
        // Diagonal neighbours join: the 24.9 pixel is not hot, a diagonal one at 26 is.
        m.at(5, 3) = 26.0f;
        QCOMPARE(findHotSpots(m, HotSpotSettings()).spots.size(), 1);
        QCOMPARE(findHotSpots(m, HotSpotSettings()).spots[0].area, 4);
        QCOMPARE(findHotSpots(m, HotSpotSettings()).spots[0].maxPos, QPoint(5, 3));
        // A reference area of cooler pixels lowers the reference: more is hot.
        for (int x = 8; x < 12; ++x)
            m.at(x, 7) = 15.0f;
        HotSpotSettings settings;
        settings.referenceArea = QRect(8, 7, 10, 10); // reaches past the frame: clipped
        const HotSpots cooler = findHotSpots(m, settings);
        QCOMPARE(cooler.reference, 15.0f);
        QCOMPARE(cooler.spots.size(), 1); // everything but the reference row, one region
        QCOMPARE(cooler.spots[0].area, 12 * 8 - 4);
        settings.referenceArea = QRect(20, 20, 4, 4); // outside: no reference, nothing found
        QCOMPARE(findHotSpots(m, settings).reference, NA_TEMPERATURE);
        QVERIFY(findHotSpots(m, settings).spots.isEmpty());
    }

    // Random frames of every shape the fast paths meet: widths not a multiple of four, frames
    // too small to sample, values on a coarse grid (plateaus at the median), hot blobs that
    // touch diagonally or the edges, pixels without a reading or not a number, reference
    // areas partly outside. Everything found is what the plain flood fill finds.
    void sameAsPlainFloodFill()
    {
        std::mt19937 random(20261209);
        const auto below = [&](int n) { return int(random() % unsigned(n)); };
        int compared = 0;
        for (int frame = 0; frame < 300; ++frame) {
            const int width = 1 + below(frame < 100 ? 20 : 300), height = 1 + below(frame < 100 ? 20 : 200);
            const float step = frame % 3 == 0 ? 0.5f : frame % 3 == 1 ? 0.1f : 0.0f;
            std::normal_distribution<float> field(20.0f, 1.0f + float(below(8)));
            TemperatureMatrix m(width, height);
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const float t = field(random);
                    m.at(x, y) = step > 0.0f ? std::round(t / step) * step : t;
                }
            }
            for (int blob = below(12); blob > 0; --blob) {
                const int bx = below(width), by = below(height), bw = 1 + below(30), bh = 1 + below(12);
                const float heat = 3.0f + float(below(40));
                for (int y = by; y < std::min(height, by + bh); ++y) {
                    for (int x = bx; x < std::min(width, bx + bw); ++x) {
                        if (below(10) > 0)
                            m.at(x, y) += heat;
                    }
                }
            }
            for (int gap = below(width * height / 10 + 1); gap > 0; --gap)
                m.at(below(width), below(height)) = below(4) == 0 ? std::nanf("") : NA_TEMPERATURE;
            HotSpotSettings settings;
            settings.threshold = 2.0f + float(below(8));
            settings.minimumArea = 1 + below(5);
            if (below(3) == 0)
                settings.referenceArea = QRect(below(width + 10) - 5, below(height + 10) - 5, below(width + 1), below(height + 1));
            if (below(2) == 0)
                settings.irradiance = 300.0 + below(900);
            const HotSpots fast = findHotSpots(m, settings), plain = plainHotSpots(m, settings);
            const QByteArray which = QByteArray("frame ") + QByteArray::number(frame);
            compared += plain.spots.size();
            QVERIFY2(fast.reference == plain.reference || (fast.reference != fast.reference && plain.reference != plain.reference), which);
            QVERIFY2(fast.spots.size() == plain.spots.size(), which);
            for (int i = 0; i < fast.spots.size(); ++i) {
                const HotSpot &a = fast.spots[i], &b = plain.spots[i];
                QVERIFY2(a.maxPos == b.maxPos && a.max == b.max && a.reference == b.reference && a.deltaT == b.deltaT, which);
                QVERIFY2(a.deltaTNormalised == b.deltaTNormalised && a.area == b.area && a.bounds == b.bounds, which);
                QVERIFY2(qFuzzyCompare(a.centroid.x() + 1.0, b.centroid.x() + 1.0) && qFuzzyCompare(a.centroid.y() + 1.0, b.centroid.y() + 1.0), which);
                QVERIFY2(a.severity == b.severity, which);
            }
        }
        QVERIFY(compared > 1000);
    }

    // Pixels without a reading are in no region and no median.
    void pixelsWithoutReadingAreIgnored()
    {
        TemperatureMatrix m(12, 9, 20.0f);
        // A hot block of 6 x 5 cut in two by a column without readings: two regions of 2 x 5
        // and 3 x 5, none through the gap.
        for (int y = 2; y < 7; ++y) {
            for (int x = 1; x < 7; ++x)
                m.at(x, y) = x == 3 ? NA_TEMPERATURE : 30.0f + float(x);
        }
        const HotSpots split = findHotSpots(m, HotSpotSettings());
        QCOMPARE(split.spots.size(), 2);
        QCOMPARE(split.spots[0].area, 15);
        QCOMPARE(split.spots[0].bounds, QRect(4, 2, 3, 5));
        QCOMPARE(split.spots[1].area, 10);
        QCOMPARE(split.spots[1].bounds, QRect(1, 2, 2, 5));

        // A block without readings inside a hot region: the ring around it is one region, and
        // the block adds nothing to its area or its maximum.
        TemperatureMatrix ring(10, 10, 20.0f);
        for (int y = 2; y < 8; ++y) {
            for (int x = 2; x < 8; ++x)
                ring.at(x, y) = (x >= 4 && x < 6 && y >= 4 && y < 6) ? NA_TEMPERATURE : 31.0f;
        }
        const HotSpots around = findHotSpots(ring, HotSpotSettings());
        QCOMPARE(around.spots.size(), 1);
        QCOMPARE(around.spots[0].area, 36 - 4);
        QCOMPARE(around.spots[0].max, 31.0f);

        // Mostly without readings: the median is of the readings alone.
        TemperatureMatrix sparse(10, 10, NA_TEMPERATURE);
        sparse.at(0, 0) = 10.0f;
        sparse.at(5, 5) = 11.0f;
        sparse.at(9, 9) = 30.0f;
        const HotSpots few = findHotSpots(sparse, minimumArea(1));
        QCOMPARE(few.reference, 11.0f); // of 10, 11 and 30
        QCOMPARE(few.spots.size(), 1);
        QCOMPARE(few.spots[0].maxPos, QPoint(9, 9));
        QCOMPARE(findHotSpots(TemperatureMatrix(4, 4, NA_TEMPERATURE), HotSpotSettings()).reference, NA_TEMPERATURE);
    }

    // Equal maxima inside a region: the first in row-major order, though the search from the
    // region's first pixel meets the lower one first. Equal ΔT between regions: row, then column.
    void tiesAreOrdered()
    {
        TemperatureMatrix m(12, 8, 20.0f);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x)
                m.at(x, y) = 27.0f;
        }
        m.at(1, 2) = 30.0f; // two steps from (0, 0)
        m.at(4, 1) = 30.0f; // four steps, but a row before
        const HotSpots inRegion = findHotSpots(m, HotSpotSettings());
        QCOMPARE(inRegion.spots.size(), 1);
        QCOMPARE(inRegion.spots[0].maxPos, QPoint(4, 1));

        TemperatureMatrix regions(12, 8, 20.0f);
        for (const QPoint &at : {QPoint(8, 5), QPoint(1, 5), QPoint(5, 1)})
            regions.at(at.x(), at.y()) = 28.0f;
        const HotSpots found = findHotSpots(regions, minimumArea(1));
        QCOMPARE(found.spots.size(), 3);
        QCOMPARE(found.spots[0].maxPos, QPoint(5, 1));
        QCOMPARE(found.spots[1].maxPos, QPoint(1, 5));
        QCOMPARE(found.spots[2].maxPos, QPoint(8, 5));
    }
};

QTEST_GUILESS_MAIN(TestHotSpotDetector)
#include "tst_hotspotdetector.moc"
