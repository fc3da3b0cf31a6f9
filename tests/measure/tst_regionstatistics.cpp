#include "openedphotos.h"
#include "photostore.h"
#include "regionstatistics.h"

#include <QPolygonF>
#include <QtTest>

#include <QElapsedTimer>

#include <cmath>
#include <limits>
#include <random>

namespace {

// A W x H matrix with t = 100 * row + column, so every pixel is told apart by its value.
TemperatureMatrix indexMatrix(int width, int height)
{
    TemperatureMatrix m(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            m.at(x, y) = float(100 * y + x);
    return m;
}

QVector<QPoint> pts(std::initializer_list<QPoint> list)
{
    return QVector<QPoint>(list);
}

} // namespace

class TestRegionStatistics : public QObject
{
    Q_OBJECT
private slots:
    void mappings()
    {
        const QRectF r(10, 20, 100, 50);
        QCOMPARE(sceneToPixel(QPointF(10, 20), r, 640, 512), QPoint(0, 0));
        QCOMPARE(sceneToPixel(QPointF(60, 45), r, 640, 512), QPoint(320, 256));
        // The right and bottom edges map to the last column and row; beyond is not clamped.
        QCOMPARE(sceneToPixel(QPointF(110, 70), r, 640, 512), QPoint(639, 511));
        QCOMPARE(sceneToPixel(QPointF(120, 80), r, 640, 512), QPoint(704, 614));
        QCOMPARE(sceneToPixel(QPointF(9, 19), r, 640, 512), QPoint(-6, -10));
        // Truncation, never rounding.
        QCOMPARE(sceneToPixel(QPointF(10.99, 20.99), QRectF(0, 0, 640, 512), 640, 512), QPoint(10, 20));

        const TemperatureMatrix m = indexMatrix(64, 48);
        const TemperatureGrid grid(&m);
        QCOMPARE(sceneToPixel(QPointF(120, 80), r, grid), QPoint(63, 47));
        QCOMPARE(sceneToPixel(QPointF(-50, -50), r, grid), QPoint(0, 0));
        QCOMPARE(sceneToPixel(QPointF(1, 1), r, TemperatureGrid()), QPoint(0, 0));

        QCOMPARE(pixelToScene(QPoint(320, 256), r, 640, 512), QPointF(60, 45));
        QCOMPARE(pixelToScene(QPoint(1, 1), QRectF(0, 0, 1000, 800), 640, 512), QPointF(1, 1)); // 1.5625 truncated
        QCOMPARE(pixelToScene(QPoint(64, 48), QRectF(0, 0, 1000, 800), grid), QPointF(999, 799));
        QCOMPARE(pixelToScene(QPoint(32, 24), QRectF(0, 0, 1000, 800), grid), QPointF(500, 400));

        // Degenerate rectangles and grids stay defined.
        QCOMPARE(sceneToPixel(QPointF(5, 5), QRectF(0, 0, 0, 0), 640, 512), QPoint(0, 0));
        QCOMPARE(pixelToScene(QPoint(5, 5), QRectF(0, 0, 100, 100), 0, 0), QPointF(0, 0));

        // The last column becomes the first row: every pixel stays inside the turned frame.
        QCOMPARE(quarterTurn(QPoint(639, 0), 640), QPoint(0, 0));
        QCOMPARE(quarterTurn(QPoint(0, 0), 640), QPoint(0, 639));
        QCOMPARE(quarterTurn(QPoint(10, 20), 640), QPoint(20, 629));
        // Turning the matrix and the pixel agree, and four turns give the matrix back.
        const TemperatureMatrix turned = quarterTurned(m);
        QCOMPARE(turned.height(), 64);
        QCOMPARE(turned.width(), 48);
        for (QPoint p : {QPoint(0, 0), QPoint(63, 0), QPoint(5, 47), QPoint(17, 23)})
            QCOMPARE(TemperatureGrid(&turned).at(quarterTurn(p, 64)), grid.at(p));
        QCOMPARE(quarterTurned(quarterTurned(quarterTurned(turned))), m);
    }

    void sampleOrder()
    {
        const QVector<QPointF> three = sampleLine(QPointF(0, 0), QPointF(8, 0), 3);
        QCOMPARE(three, (QVector<QPointF>{{4, 0}, {2, 0}, {6, 0}}));
        const QVector<QPointF> seven = sampleLine(QPointF(0, 0), QPointF(16, 16), 7);
        QCOMPARE(seven, (QVector<QPointF>{{8, 8}, {4, 4}, {12, 12}, {2, 2}, {6, 6}, {10, 10}, {14, 14}}));
        QVERIFY(sampleLine(QPointF(0, 0), QPointF(8, 0), 0).isEmpty());
        QVERIFY(sampleLine(QPointF(0, 0), QPointF(8, 0), -2).isEmpty());
        QCOMPARE(sampleLine(QPointF(1, 1), QPointF(1, 1), 2), (QVector<QPointF>{{1, 1}, {1, 1}}));
    }

    void pixelSets()
    {
        QCOMPARE(rectanglePixels(QRectF(10, 20, 2, 1)),
                 pts({{10, 20}, {11, 20}, {12, 20}, {10, 21}, {11, 21}, {12, 21}}));
        QCOMPARE(rectanglePixels(QRectF(5, 5, 0, 2)).size(), 3); // zero width: one column
        QCOMPARE(diskPixels(QPoint(7, 7), 0), pts({{7, 7}}));
        QCOMPARE(diskPixels(QPoint(7, 7), 1), pts({{7, 6}, {6, 7}, {7, 7}, {8, 7}, {7, 8}}));
        QCOMPARE(diskPixels(QPoint(0, 0), 2).size(), 13);

        const QVector<QPoint> triangle = polygonPixels(QRectF(0, 0, 10, 10), {{0, 0}, {10, 0}, {0, 10}});
        QVERIFY(!triangle.isEmpty());
        for (const QPoint &p : triangle)
            QVERIFY(p.x() < 10 && p.y() < 10);
        QCOMPARE(triangle.first(), QPoint(0, 0));
        QCOMPARE(polygonPixels(QRectF(3, 4, 0, 0), {{3, 4}}), pts({{3, 4}}));
        // Two vertices: the first, int(distance) samples, the last.
        QCOMPARE(polygonPixels(QRectF(0, 0, 4, 0), {{0, 0}, {4, 0}}), pts({{0, 0}, {2, 0}, {1, 0}, {3, 0}, {0, 0}, {4, 0}}));
        QVERIFY(polygonPixels(QRectF(0, 0, 5, 5), {{0, 0}, {2, 2}, {4, 4}}).isEmpty()); // collinear
    }

    void pixelSetsMatchTheirDefinitions()
    {
        // The sets are built as row runs; pixel by pixel they must be exactly the defined sets.
        std::mt19937 random(11);
        std::uniform_real_distribution<double> coordinate(-5.0, 60.0);
        for (int round = 0; round < 300; ++round) {
            const QRectF r(coordinate(random), coordinate(random), coordinate(random) / 2, coordinate(random) / 2);
            QVector<QPoint> rect;
            for (int y = int(r.top()); y <= r.top() + r.height(); ++y)
                for (int x = int(r.left()); x <= r.left() + r.width(); ++x)
                    rect.append(QPoint(x, y));
            QCOMPARE(rectanglePixels(r), rect);

            const QPoint c(int(coordinate(random)), int(coordinate(random)));
            const int radius = round % 23;
            QVector<QPoint> disk;
            for (int y = c.y() - radius; y <= c.y() + radius; ++y)
                for (int x = c.x() - radius; x <= c.x() + radius; ++x)
                    if ((x - c.x()) * (x - c.x()) + (y - c.y()) * (y - c.y()) <= radius * radius)
                        disk.append(QPoint(x, y));
            QCOMPARE(diskPixels(c, radius), disk);

            QVector<QPointF> vertices;
            const int count = 3 + round % 6;
            for (int i = 0; i < count; ++i) {
                // Whole pixels most of the time, as the items give them; fractions now and then.
                const QPointF v(coordinate(random), coordinate(random));
                vertices.append(round % 3 ? QPointF(int(v.x()), int(v.y())) : v);
            }
            const QPolygonF polygon(vertices);
            const QRectF bounds = polygon.boundingRect();
            QVector<QPoint> inside;
            for (int y = int(bounds.top()); y < bounds.top() + bounds.height(); ++y)
                for (int x = int(bounds.left()); x < bounds.left() + bounds.width(); ++x)
                    if (polygon.containsPoint(QPointF(x, y), Qt::OddEvenFill))
                        inside.append(QPoint(x, y));
            QCOMPARE(polygonPixels(bounds, vertices), inside);
        }
    }

    void clippedPixelSetsKeepWhatLiesInside()
    {
        // The clipped sets are the unclipped ones cut to the clip, pixel for pixel.
        std::mt19937 random(5);
        std::uniform_real_distribution<double> coordinate(-30.0, 80.0);
        const QRect clip(0, 0, 40, 30);
        auto inside = [&clip](const QVector<QPoint> &pixels) {
            QVector<QPoint> kept;
            for (const QPoint &p : pixels)
                if (clip.contains(p))
                    kept.append(p);
            return kept;
        };
        for (int round = 0; round < 200; ++round) {
            const QRectF r(coordinate(random), coordinate(random), coordinate(random), coordinate(random));
            QCOMPARE(pixelsOf(rectangleRuns(r, clip)), inside(rectanglePixels(r)));
            const QPoint c(int(coordinate(random)), int(coordinate(random)));
            QCOMPARE(pixelsOf(diskRuns(c, round % 37, clip)), inside(diskPixels(c, round % 37)));
            QVector<QPointF> vertices;
            for (int i = 0; i < 3 + round % 4; ++i)
                vertices.append(QPointF(int(coordinate(random)), int(coordinate(random))));
            const QRectF bounds = QPolygonF(vertices).boundingRect();
            QCOMPARE(pixelsOf(polygonRuns(bounds, vertices, clip)), inside(polygonPixels(bounds, vertices)));
        }
        QVERIFY(rectangleRuns(QRectF(0, 0, 5, 5), QRect()).isEmpty());

        // Shapes reaching the ends of the int range cost no more than the clip holds, and
        // neither wrap (a rectangle 3e9 wide gave no pixels) nor loop forever.
        const int big = std::numeric_limits<int>::max();
        QCOMPARE(pixelsOf(rectangleRuns(QRectF(0, 0, 3e9, 10), clip)).size(), 40 * 11);
        QCOMPARE(pixelsOf(rectangleRuns(QRectF(-1e12, -1e12, 3e12, 3e12), clip)).size(), 40 * 30);
        QCOMPARE(pixelsOf(rectangleRuns(QRectF(0, 0, 1e300, std::numeric_limits<double>::infinity()), clip)).size(),
                 40 * 30);
        QVERIFY(rectangleRuns(QRectF(0, 0, 5, std::nan("")), clip).isEmpty());
        QCOMPARE(pixelsOf(diskRuns(QPoint(0, 0), big, clip)).size(), 40 * 30);
        QCOMPARE(pixelsOf(diskRuns(QPoint(big, big), big, clip)).size(), 0);
        QCOMPARE(pixelsOf(diskRuns(QPoint(-big, 15), big, clip)), pts({{0, 15}})); // reaches x = 0 on its row only
        // Reaches x = 19 on its row and x = 18 on the 29 others.
        QCOMPARE(pixelsOf(diskRuns(QPoint(-big + 19, 15), big, clip)).size(), 20 + 29 * 19);
        QCOMPARE(pixelsOf(polygonRuns(QRectF(-1e9, -1e9, 3e9, 3e9), {{-1e9, -1e9}, {2e9, -1e9}, {-1e9, 2e9}}, clip)).size(),
                 40 * 30);
        QCOMPARE(pixelsOf(polygonRuns(QRectF(0, 0, 1e9, 0), {{0, 5}, {1e9, 5}}, clip)).size(), 1 + 40); // the far end lies outside
        QCOMPARE(pixelsOf(polygonRuns(QRectF(), {{1e300, 1e300}})).size(), 0);
        QCOMPARE(pixelsOf(polygonRuns(QRectF(), {{1e300, 7}}, clip)).size(), 0);
        // Without a clip, a rectangle at the end of the int range stays defined.
        const PixelRuns edge = rectangleRuns(QRectF(big - 3.0, big - 2.0, 1e10, 1e10));
        QVERIFY(!edge.isEmpty());
        QCOMPARE(edge.first().x0, big - 3);
        QVERIFY(edge.first().x1 > edge.first().x0);
    }

    void readingsOnly()
    {
        // Pixels without a reading take no part in any region's statistics.
        TemperatureMatrix m = indexMatrix(64, 48);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                if ((x + y) % 3 == 0 || x >= 60)
                    m.at(x, y) = NA_TEMPERATURE;
        const TemperatureGrid grid(&m);
        const QRectF image(0, 0, 640, 480);
        auto brute = [&m](const QVector<QPoint> &pixels) {
            RegionStats r;
            double sum = 0;
            for (const QPoint &p : pixels) {
                if (p.x() < 0 || p.y() < 0 || p.x() >= 64 || p.y() >= 48)
                    continue;
                const float t = m[std::size_t(p.y())][std::size_t(p.x())];
                if (t == NA_TEMPERATURE)
                    continue;
                if (r.count == 0 || t > r.stats.max)
                    r.stats.max = t;
                if (r.count == 0 || t < r.stats.min)
                    r.stats.min = t;
                sum += double(t);
                ++r.count;
            }
            r.stats.avg = r.count ? float(sum / r.count) : NA_TEMPERATURE;
            return r;
        };

        // The reference pixel (0, 0) has no reading: the extremes start at the first reading.
        RegionStats r = accumulate(runsOf(pts({{1, 1}, {1, 0}, {2, 0}, {3, 0}})), m.at(0, 0), QPointF(0, 0), grid);
        QCOMPARE(r.count, 3);
        QCOMPARE(r.stats.max, 101.0f);
        QCOMPARE(r.stats.maxPos, QPointF(1, 1));
        QCOMPARE(r.stats.min, 1.0f);
        QCOMPARE(r.stats.minPos, QPointF(1, 0));
        QCOMPARE(r.stats.avg, (101.0f + 1.0f + 2.0f) / 3);
        // Only pixels without a reading: no temperatures, whatever the reference.
        r = accumulate(runsOf(pts({{0, 0}, {3, 0}, {61, 5}})), 20.0f, QPointF(0, 0), grid);
        QCOMPARE(r.count, 0);
        QCOMPARE(r.stats.max, NA_TEMPERATURE);
        QCOMPARE(r.stats.min, NA_TEMPERATURE);
        QCOMPARE(r.stats.avg, NA_TEMPERATURE);

        // Each shape against the readings of its pixels.
        const RegionStats whole = rectangleStatistics(image, image, 64, 48, grid);
        QVector<QPoint> all;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                all.append(QPoint(x, y));
        const RegionStats want = brute(all);
        QCOMPARE(whole.count, want.count);
        QCOMPARE(whole.stats.max, want.stats.max);
        QCOMPARE(whole.stats.min, want.stats.min);
        QCOMPARE(whole.stats.avg, want.stats.avg);
        QCOMPARE(whole.stats.max, 4759.0f); // row 47, column 59: the last reading
        QCOMPARE(whole.stats.min, 1.0f);
        for (const QPointF &centre : {QPointF(0, 0), QPointF(305, 205), QPointF(630, 470)}) {
            r = circleStatistics(centre, 55, image, 64, 48, grid);
            const RegionStats disk = brute(diskPixels(sceneToPixel(centre, image, 64, 48), 5));
            QCOMPARE(r.count, disk.count);
            QCOMPARE(r.stats.max, disk.stats.max);
            QCOMPARE(r.stats.min, disk.stats.min);
            QCOMPARE(r.stats.avg, disk.stats.avg);
        }
        r = polygonStatistics({{0, 0}, {300, 0}, {0, 300}}, image, grid);
        const RegionStats triangle = brute(polygonPixels(QRectF(0, 0, 30, 30), {{0, 0}, {30, 0}, {0, 30}}));
        QCOMPARE(r.count, triangle.count);
        QCOMPARE(r.stats.max, triangle.stats.max);
        QCOMPARE(r.stats.min, triangle.stats.min);
        QCOMPARE(r.stats.avg, triangle.stats.avg);
        // All of the columns without readings: none.
        r = rectangleStatistics(QRectF(600, 0, 39, 479), image, 64, 48, grid);
        QCOMPARE(r.count, 0);
        QCOMPARE(r.stats.max, NA_TEMPERATURE);
        QCOMPARE(r.stats.avg, NA_TEMPERATURE);

        // A line starting on a pixel without a reading: its samples' readings alone.
        r = lineStatistics(QPointF(0, 5), QPointF(100, 5), image, 48, grid);
        // Samples in columns 5, 2, 7, 1, 3, 6, 8, 0, 1, 3 of row 0; 0, 3 and 6 have none.
        QCOMPARE(r.count, 6);
        QCOMPARE(r.stats.max, 8.0f);
        QCOMPARE(r.stats.maxPos, QPointF(87.5, 5));
        QCOMPARE(r.stats.min, 1.0f);
        QCOMPARE(r.stats.minPos, QPointF(12.5, 5));
        QCOMPARE(r.stats.avg, 4.0f);
        // Readings only at the start: the start alone, as for a line without length.
        r = lineStatistics(QPointF(595, 5), QPointF(635, 5), image, 48, grid);
        QCOMPARE(r.count, 0);
        QCOMPARE(r.stats.max, 59.0f);
        QCOMPARE(r.stats.min, 59.0f);
        QCOMPARE(r.stats.avg, 59.0f);
        r = lineStatistics(QPointF(605, 5), QPointF(635, 405), image, 48, grid);
        QCOMPARE(r.count, 0);
        QCOMPARE(r.stats.max, NA_TEMPERATURE);
        QCOMPARE(r.stats.avg, NA_TEMPERATURE);
    }

    void hugeShapesMeasureThePictureOnly()
    {
        // Shapes far larger than the picture measure the part inside it, at the cost of the
        // picture (a line of 1e8 pixels asked for 1.4e8 samples, a rectangle of 1e9 for 1e9 runs).
        const TemperatureMatrix m = indexMatrix(64, 48);
        const TemperatureGrid grid(&m);
        const QRectF image(0, 0, 64, 48);
        QElapsedTimer timer;
        timer.start();
        RegionStats r = rectangleStatistics(QRectF(0, 0, 1e9, 1e9), image, 64, 48, grid);
        QCOMPARE(r.count, 64 * 48);
        QCOMPARE(r.stats.max, 4763.0f);
        r = rectangleStatistics(QRectF(0, 0, 3e9, 10), image, 64, 48, grid);
        QCOMPARE(r.count, 64 * 11);
        r = rectangleStatistics(QRectF(-1e9, 20, 2e9, 1), image, 64, 48, grid);
        QCOMPARE(r.count, 64 * 2);
        QCOMPARE(r.stats.min, 2000.0f);
        r = circleStatistics(QPointF(0, 0), std::numeric_limits<double>::infinity(), image, 64, 48, grid);
        QCOMPARE(r.count, 64 * 48);
        r = circleStatistics(QPointF(0, 0), 1e9, image, 64, 48, grid);
        QCOMPARE(r.count, 64 * 48);
        QCOMPARE(r.stats.min, 0.0f);
        r = circleStatistics(QPointF(-1e9, -1e9), 10, image, 64, 48, grid);
        QCOMPARE(r.count, 0);
        r = polygonStatistics({{-1e9, -1e9}, {1e9, -1e9}, {-1e9, 1e9}}, image, grid);
        QVERIFY(r.count > 0 && r.count <= 64 * 48);

        // The line's part over the picture: the diagonal of a 64 x 48 picture is 80 pixels.
        r = lineStatistics(QPointF(0, 0), QPointF(1e8, 1e8), image, 48, grid);
        QCOMPARE(r.count, 67); // (0, 0) to (48, 48): 48 * sqrt(2) samples
        QVERIFY(r.stats.max <= 4763.0f);
        const RegionStats inside = lineStatistics(QPointF(0, 0), QPointF(48, 48), image, 48, grid);
        QCOMPARE(r.count, inside.count);
        QCOMPARE(r.stats.max, inside.stats.max);
        QCOMPARE(r.stats.avg, inside.stats.avg);
        r = lineStatistics(QPointF(-1e8, 10), QPointF(1e8, 10), image, 48, grid);
        QCOMPARE(r.count, 64);
        QCOMPARE(r.stats.min, 1000.0f);
        QCOMPARE(r.stats.max, 1063.0f);
        r = lineStatistics(QPointF(-1e8, -5), QPointF(1e8, -5), image, 48, grid);
        QCOMPARE(r.count, 0);
        QCOMPARE(r.stats.avg, NA_TEMPERATURE);
        // A caller stating a far larger picture height still gets a bounded number of samples.
        r = lineStatistics(QPointF(0, 0), QPointF(64, 48), image, 1 << 30, grid);
        QVERIFY(r.count > 0 && r.count <= 2 * (64 + 48));
        QVERIFY(timer.elapsed() < 5000);
    }

    void accumulationAndShapes()
    {
        const TemperatureMatrix m = indexMatrix(64, 48);
        const TemperatureGrid grid(&m);
        const QRectF image(0, 0, 640, 480); // ten scene units a pixel

        RegionStats r = accumulate(runsOf(pts({{1, 1}, {3, 2}, {2, 2}})), 150.0f, QPointF(0, 0), grid);
        QCOMPARE(r.stats.max, 203.0f);
        QCOMPARE(r.stats.maxPos, QPointF(3, 2));
        QCOMPARE(r.stats.min, 101.0f);
        QCOMPARE(r.stats.avg, (101.0f + 203.0f + 202.0f) / 3);
        QCOMPARE(r.count, 3);
        // Ties keep the earlier position; the reference itself can stay the maximum.
        r = accumulate(runsOf(pts({{1, 1}, {1, 1}})), 500.0f, QPointF(9, 9), grid);
        QCOMPARE(r.stats.maxPos, QPointF(9, 9));
        QCOMPARE(r.stats.minPos, QPointF(1, 1));
        // Pixels outside the matrix are skipped; none inside: no temperature.
        r = accumulate(runsOf(pts({{63, 47}, {64, 47}, {63, 48}, {-1, 0}})), 0.0f, QPointF(), grid);
        QCOMPARE(r.count, 1);
        QCOMPARE(r.stats.avg, 4763.0f);
        r = accumulate(runsOf(pts({{64, 0}, {0, 48}})), 0.0f, QPointF(), grid);
        QCOMPARE(r.count, 0);
        QCOMPARE(r.stats.max, NA_TEMPERATURE);
        QCOMPARE(r.stats.avg, NA_TEMPERATURE);

        r = pointStatistics(QPointF(55, 35), image, grid);
        QCOMPARE(r.stats.avg, 305.0f);

        // A horizontal line of 100 scene units: 10 samples.
        r = lineStatistics(QPointF(0, 5), QPointF(100, 5), image, 48, grid);
        QCOMPARE(r.count, 10);
        QCOMPARE(r.stats.max, 8.0f); // samples at 1/2, 1/4, 3/4, ... 7/8 of the way: x = 87.5 is the last
        QCOMPARE(r.stats.maxPos, QPointF(87.5, 5));
        QCOMPARE(r.stats.min, 0.0f);
        QCOMPARE(r.stats.minPos, QPointF(0, 5)); // the start point is the reference
        // Zero length: the start point alone.
        r = lineStatistics(QPointF(205, 305), QPointF(205, 305), image, 48, grid);
        QCOMPARE(r.count, 0);
        QCOMPARE(r.stats.max, 3020.0f);
        QCOMPARE(r.stats.avg, 3020.0f);

        // Corners at pixels (10, 20) and (12, 21): 6 pixels, positions back in scene units.
        r = rectangleStatistics(QRectF(100, 200, 25, 15), image, 64, 48, grid);
        QCOMPARE(r.count, 6);
        QCOMPARE(r.stats.max, 2112.0f);
        QCOMPARE(r.stats.maxPos, QPointF(120, 210));
        QCOMPARE(r.stats.min, 2010.0f);
        QCOMPARE(r.stats.minPos, QPointF(100, 200));
        // A rectangle ending on the right and bottom edge takes the last column and row;
        // one reaching past them keeps only the pixels inside the matrix.
        r = rectangleStatistics(QRectF(600, 440, 40, 40), image, 64, 48, grid);
        QCOMPARE(r.count, 16);
        QCOMPARE(r.stats.max, 4763.0f);
        r = rectangleStatistics(QRectF(600, 440, 60, 60), image, 64, 48, grid);
        QCOMPARE(r.count, 16);
        QCOMPARE(r.stats.max, 4763.0f);
        QCOMPARE(r.stats.avg, (4460.0f + 4763.0f) / 2);

        r = circleStatistics(QPointF(105, 105), 10, image, 64, 48, grid);
        QCOMPARE(r.count, 5);
        QCOMPARE(r.stats.max, 1110.0f);
        QCOMPARE(r.stats.min, 910.0f);
        // At the border the disk is cut by the matrix.
        r = circleStatistics(QPointF(0, 0), 20, image, 64, 48, grid);
        QCOMPARE(r.count, 6);

        // A matrix smaller than the picture: the part of a shape beyond it is not read.
        const TemperatureMatrix small = indexMatrix(32, 24);
        r = rectangleStatistics(image, image, 64, 48, TemperatureGrid(&small));
        QCOMPARE(r.count, 32 * 24);
        QCOMPARE(r.stats.max, 2331.0f);
        r = circleStatistics(QPointF(320, 240), 100, image, 64, 48, TemperatureGrid(&small));
        QVERIFY(r.count > 0 && r.count < 317);

        // A whole frame of one temperature averages to it: the sum is not rounded to whole
        // degrees as a single-precision running sum over 640 x 512 pixels would be.
        const TemperatureMatrix uniform(640, 512, 80.3f);
        r = rectangleStatistics(image, image, 640, 512, TemperatureGrid(&uniform));
        QCOMPARE(r.count, 640 * 512);
        QCOMPARE(r.stats.avg, 80.3f);

        r = polygonStatistics({{0, 0}, {100, 0}, {0, 100}}, image, grid);
        QVERIFY(r.count > 10);
        QCOMPARE(r.stats.min, 0.0f);
        QVERIFY(r.stats.max < 1000.0f);
        r = polygonStatistics({{0, 0}, {50, 50}, {100, 100}}, image, grid);
        QCOMPARE(r.count, 0);
        QCOMPARE(r.stats.avg, NA_TEMPERATURE);
        r = polygonStatistics({{55, 65}}, image, grid);
        QCOMPARE(r.count, 1);
        QCOMPARE(r.stats.avg, 605.0f);
    }

    void photographTables()
    {
        const QString path = "/photos/a.jpg";
        PhotoRecord record;
        record.path = path;
        record.hasTemperature = true;
        record.matrix = sharedMatrix(indexMatrix(8, 4));
        PhotoStore::program().insert(record);
        // Not opened on the analysis page: no temperature.
        QCOMPARE(temperatureAt(QPoint(1, 1), path), NA_TEMPERATURE);
        loadedPhotoPaths() = QStringList{path};
        QCOMPARE(temperatureAt(QPoint(1, 1), path), 101.0f);
        QCOMPARE(temperatureAt(QPoint(8, 1), path), NA_TEMPERATURE);
        QCOMPARE(temperatureAtScene(QPointF(799, 399), QRectF(0, 0, 800, 400), path), 307.0f);
        // Turned a quarter: column 7 - r of the photograph is row r of the grid.
        PhotoStore::program().setRotationState(path, 1);
        QCOMPARE(TemperatureGrid::of(path).width(), 4);
        QCOMPARE(temperatureAt(QPoint(3, 7), path), 300.0f);
        QCOMPARE(temperatureAt(QPoint(1, 0), path), 107.0f);
        PhotoStore::program().update(path, [](PhotoRecord &r) { r.hasTemperature = false; });
        const QRectF image(0, 0, 40, 80);
        for (const RegionStats &r : {pointStatistics(QPointF(5, 5), image, TemperatureGrid::of(path)),
                                     lineStatistics(QPointF(0, 0), QPointF(30, 30), image, 8, TemperatureGrid::of(path)),
                                     rectangleStatistics(QRectF(0, 0, 20, 20), image, 4, 8, TemperatureGrid::of(path)),
                                     circleStatistics(QPointF(20, 20), 10, image, 4, 8, TemperatureGrid::of(path)),
                                     polygonStatistics({{0, 0}, {30, 0}, {0, 30}}, image, TemperatureGrid::of(path))}) {
            QCOMPARE(r.stats.max, NA_TEMPERATURE);
            QCOMPARE(r.stats.min, NA_TEMPERATURE);
            QCOMPARE(r.stats.avg, NA_TEMPERATURE);
        }
        loadedPhotoPaths().clear();
    }
};

QTEST_GUILESS_MAIN(TestRegionStatistics)
#include "tst_regionstatistics.moc"
