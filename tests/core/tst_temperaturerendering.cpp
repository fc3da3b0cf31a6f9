#include "photostore.h"
#include "photofixtures.h"
#include "temperaturerendering.h"
#include "temperaturescale.h"

#include <QtTest>

#include <limits>

class TestTemperatureRendering : public QObject
{
    Q_OBJECT

    QVector<Palette> m_palettes;
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(loadPalettes(m_palettes)); }

    void knownMatrixOverASpan()
    {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const TemperatureMatrix m{{10.0f, 20.0f, 25.0f, 40.0f, 39.99f},
                                  {NA_TEMPERATURE, 5.0f, 45.0f, nan, 10.17578125f}};
        const Palette &iron = m_palettes[2];
        const QImage image = renderTemperatures(m, iron, 10.0f, 40.0f);
        QCOMPARE(image.size(), QSize(5, 2));
        QCOMPARE(image.pixel(0, 0), iron[0]);   // low: the first entry
        QCOMPARE(image.pixel(3, 0), iron[255]); // high: the last
        QCOMPARE(image.pixel(1, 0), iron[85]);  // 10 of 30 degrees: entry 85.3
        QCOMPARE(image.pixel(2, 0), iron[128]); // the middle
        QCOMPARE(image.pixel(4, 0), iron[255]); // just below high is still the last entry
        QCOMPARE(image.pixel(1, 1), iron[0]);   // beyond the span: the nearer end
        QCOMPARE(image.pixel(2, 1), iron[255]);
        QCOMPARE(image.pixel(0, 1), kNoReadingColour); // no reading, and not a number
        QCOMPARE(image.pixel(3, 1), kNoReadingColour);
        QCOMPARE(image.pixel(4, 1), iron[1]);   // 1.5 steps of 30 / 256 above low

        // A span without width shows the middle entry; an empty palette draws nothing.
        const QImage flat = renderTemperatures(m, iron, 25.0f, 25.0f);
        QCOMPARE(flat.pixel(2, 0), iron[128]);
        QCOMPARE(flat.pixel(0, 1), kNoReadingColour);
        QVERIFY(renderTemperatures(m, Palette(), 10.0f, 40.0f).isNull());
        QVERIFY(renderTemperatures(TemperatureMatrix(), iron, 10.0f, 40.0f).isNull());
    }

    void photographMinimumAndMaximumAreThePaletteEnds()
    {
        // A loaded photograph with a cold corner, a hot square and pixels without a reading:
        // over its automatic span its coldest pixel is the first entry, its hottest the last,
        // and the readings that are missing stretch nothing.
        PhotoSpec shot = specOf(ContainerKind::InfoBlockDirect);
        shot.temperatures[std::size_t(5 * shot.width + 7)] = NA_TEMPERATURE;
        const QString path = m_dir.filePath("photo.jpg");
        writePhoto(path, shot);
        QCOMPARE(PhotoStore::program().load(path), 0);
        PhotoRecord record = PhotoStore::program().snapshot(path);
        record.rendering = Rendering::Temperatures;
        QVERIFY(showsTemperatures(record));
        const TemperatureScale scale = temperatureScale(record);
        QCOMPARE(scale.low, record.stats.min);
        QCOMPARE(scale.high, record.stats.max);
        QCOMPARE(record.matrix->at(0, 0), record.stats.min); // the cold corner
        QCOMPARE(record.matrix->at(shot.width / 2, shot.height / 3), record.stats.max); // the hot square
        for (int k : {0, 3, 9}) {
            const QImage image = renderTemperatures(*record.matrix, m_palettes[k], scale.low, scale.high);
            QCOMPARE(image.pixel(0, 0), m_palettes[k][0]);
            QCOMPARE(image.pixel(shot.width / 2, shot.height / 3), m_palettes[k][255]);
            QCOMPARE(image.pixel(7, 5), kNoReadingColour);
        }
    }

    void whatCanBeRendered()
    {
        PhotoRecord record;
        record.width = 2;
        record.height = 1;
        record.matrix = sharedMatrix(TemperatureMatrix{{1.0f, 2.0f}});
        record.stats.min = 1.0f;
        record.stats.max = 2.0f;
        QVERIFY(!canRenderTemperatures(record)); // not loaded
        record.hasTemperature = true;
        QVERIFY(canRenderTemperatures(record));
        QVERIFY(!showsTemperatures(record)); // the embedded picture is the default
        record.rendering = Rendering::Temperatures;
        QVERIFY(showsTemperatures(record));
        record.width = 3; // a matrix that does not cover the picture
        QVERIFY(!showsTemperatures(record));
        record.width = 2;
        record.stats.max = record.stats.min = NA_TEMPERATURE; // no reading at all
        QVERIFY(!canRenderTemperatures(record));

        QCOMPARE(shownPalette(record), 2); // none chosen: Iron Red
        record.paletteIndex = 9;
        QCOMPARE(shownPalette(record), 9);
    }
};

QTEST_MAIN(TestTemperatureRendering)
#include "tst_temperaturerendering.moc"
