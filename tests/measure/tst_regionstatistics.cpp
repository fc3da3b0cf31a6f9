#include "phototables.h"
#include "regionstatistics.h"

#include <QPolygonF>
#include <QtTest>

#include <random>

namespace {

// A W x H matrix with t = 100 * row + column, so every pixel is told apart by its value.
TemperatureMatrix indexMatrix(int width, int height)
{
    TemperatureMatrix m(std::size_t(height), TemperatureRow(std::size_t(width), 0.0f));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            m[std::size_t(y)][std::size_t(x)] = float(100 * y + x);
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
        QCOMPARE(int(turned.size()), 64);
        QCOMPARE(int(turned[0].size()), 48);
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
        const TemperatureMatrix uniform(512, TemperatureRow(640, 80.3f));
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
        {
            QMutexLocker lock(&photoTablesMutex());
            PhotoRecord &record = photoRecords()[path];
            record.hasTemperature = true;
            record.matrix = indexMatrix(8, 4);
            rotatedMatrices()[path][0] = std::make_shared<const TemperatureMatrix>(record.matrix);
            rotatedMatrices()[path][1] = std::make_shared<const TemperatureMatrix>(indexMatrix(4, 8));
            rotationStates()[path] = 0;
        }
        // Not opened on the analysis page: no temperature.
        QCOMPARE(temperatureAt(QPoint(1, 1), path), NA_TEMPERATURE);
        loadedPhotoPaths() = QStringList{path};
        QCOMPARE(temperatureAt(QPoint(1, 1), path), 101.0f);
        QCOMPARE(temperatureAt(QPoint(8, 1), path), NA_TEMPERATURE);
        QCOMPARE(temperatureAtScene(QPointF(799, 399), QRectF(0, 0, 800, 400), path), 307.0f);
        rotationStates()[path] = 1;
        QCOMPARE(TemperatureGrid::of(path).width(), 4);
        QCOMPARE(temperatureAt(QPoint(3, 7), path), 703.0f);
        photoRecords()[path].hasTemperature = false;
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
