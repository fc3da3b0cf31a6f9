#include "temperaturescale.h"

#include <QtTest>

class TestTemperatureScale : public QObject
{
    Q_OBJECT

    // A loaded 3 x 2 photograph reading 18.5 to 31.25 °C, one pixel without a reading.
    static PhotoRecord photograph()
    {
        PhotoRecord record;
        record.hasTemperature = true;
        record.width = 3;
        record.height = 2;
        record.matrix = sharedMatrix(TemperatureMatrix{{18.5f, 20.0f, NA_TEMPERATURE}, {25.0f, 31.25f, 22.0f}});
        record.stats.min = 18.5f;
        record.stats.max = 31.25f;
        return record;
    }

    static QVector<double> ticks(double low, double high, int maxTicks, int expectedDecimals)
    {
        int decimals = -1;
        const QVector<double> values = scaleTicks(low, high, maxTicks, &decimals);
        if (decimals != expectedDecimals)
            qWarning("decimals %d, expected %d", decimals, expectedDecimals);
        return decimals == expectedDecimals ? values : QVector<double>{-1};
    }

private slots:
    void endsOfAPhotograph()
    {
        PhotoRecord record = photograph();
        // The embedded picture and an automatic span: the photograph's minimum to maximum.
        TemperatureScale scale = temperatureScale(record);
        QVERIFY(scale.known);
        QCOMPARE(scale.low, 18.5f);
        QCOMPARE(scale.high, 31.25f);
        // A manual span counts only where the picture is drawn from the temperatures.
        record.span = {false, 15.0f, 40.0f};
        QCOMPARE(temperatureScale(record).high, 31.25f);
        record.rendering = Rendering::Temperatures;
        scale = temperatureScale(record);
        QCOMPARE(scale.low, 15.0f);
        QCOMPARE(scale.high, 40.0f);
        record.span.automatic = true;
        QCOMPARE(temperatureScale(record).low, 18.5f);
        // The unit comes with it; the ends stay in °C.
        record.unit = TemperatureUnit::Fahrenheit;
        QCOMPARE(temperatureScale(record).unit, TemperatureUnit::Fahrenheit);
        QCOMPARE(temperatureScale(record).high, 31.25f);

        // A span without width is widened by half a degree each way, a reversed one as well.
        record.stats.max = record.stats.min;
        scale = temperatureScale(record);
        QCOMPARE(scale.low, 18.0f);
        QCOMPARE(scale.high, 19.0f);
        record.span = {false, 30.0f, 20.0f};
        scale = temperatureScale(record);
        QCOMPARE(scale.low, 24.5f);
        QCOMPARE(scale.high, 25.5f);

        // Without temperatures there are no ends.
        record.hasTemperature = false;
        QVERIFY(!temperatureScale(record).known);
        QVERIFY(!temperatureScale(PhotoRecord()).known);
    }

    void niceTicks()
    {
        // The finest step of 1, 2 or 5 times a power of ten with at most maxTicks strictly inside.
        QCOMPARE(ticks(20.0, 60.0, 5, 0), (QVector<double>{30, 40, 50})); // step 5 would give 7
        QCOMPARE(ticks(20.0, 60.0, 7, 0), (QVector<double>{25, 30, 35, 40, 45, 50, 55}));
        QCOMPARE(ticks(18.5, 31.25, 5, 0), (QVector<double>{20, 25, 30}));
        QCOMPARE(ticks(21.3, 23.9, 5, 1), (QVector<double>{21.5, 22.0, 22.5, 23.0, 23.5}));
        QCOMPARE(ticks(-12.5, 7.5, 4, 0), (QVector<double>{-10, -5, 0, 5}));
        QCOMPARE(ticks(0.31, 0.37, 4, 2), (QVector<double>{0.32, 0.34, 0.36})); // 0.01 would give 5
        QCOMPARE(ticks(-5000.0, 15000.0, 3, 0), (QVector<double>{0, 5000, 10000}));
        // In Fahrenheit, 0 to 100 °C.
        QCOMPARE(ticks(fromCelsius(0, TemperatureUnit::Fahrenheit), fromCelsius(100, TemperatureUnit::Fahrenheit), 5, 0),
                 (QVector<double>{50, 100, 150, 200}));
        // In kelvin, 18.5 to 31.25 °C.
        QCOMPARE(ticks(fromCelsius(18.5, TemperatureUnit::Kelvin), fromCelsius(31.25, TemperatureUnit::Kelvin), 3, 0),
                 (QVector<double>{295, 300}));
        // Nothing to label: no width, no room, nothing strictly inside.
        QVERIFY(scaleTicks(25.0, 25.0, 5).isEmpty());
        QVERIFY(scaleTicks(30.0, 20.0, 5).isEmpty());
        QVERIFY(scaleTicks(20.0, 60.0, 0).isEmpty());
        QCOMPARE(ticks(20.0, 30.0, 1, 0), (QVector<double>{25})); // 20 and 30 are the ends
    }

    void units()
    {
        QCOMPARE(temperatureUnitFromCode(1), TemperatureUnit::Kelvin);
        QCOMPARE(temperatureUnitFromCode(2), TemperatureUnit::Fahrenheit);
        QCOMPARE(temperatureUnitFromCode(0), TemperatureUnit::Celsius);
        QCOMPARE(temperatureUnitFromCode(1001), TemperatureUnit::Celsius);
        QCOMPARE(unitSymbol(TemperatureUnit::Kelvin), QString("K"));
        QCOMPARE(fromCelsius(100.0, TemperatureUnit::Fahrenheit), 212.0);
        QCOMPARE(fromCelsius(-40.0, TemperatureUnit::Fahrenheit), -40.0);
        QCOMPARE(fromCelsius(0.0, TemperatureUnit::Kelvin), 273.15);
        for (TemperatureUnit unit : {TemperatureUnit::Celsius, TemperatureUnit::Kelvin, TemperatureUnit::Fahrenheit})
            QCOMPARE(toCelsius(fromCelsius(36.6, unit), unit), 36.6);
    }
};

QTEST_MAIN(TestTemperatureScale)
#include "tst_temperaturescale.moc"
