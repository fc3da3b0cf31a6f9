#include "runstatistics.h"

#include <QtTest>

#include <cmath>
#include <random>
#include <vector>

class TestRunStatistics : public QObject
{
    Q_OBJECT
private slots:
    // Runs of every length around the eight-value step, with few distinct values so that ties
    // fall in different lanes: the extremes, where they are first met, and the sum.
    void matchesAPlainScan()
    {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> pick(-3, 3);
        for (int count = 1; count <= 41; ++count) {
            for (int round = 0; round < 50; ++round) {
                std::vector<float> values(static_cast<std::size_t>(count));
                for (float &v : values)
                    v = float(pick(random)) * 0.7f;
                float max = values[0], min = values[0];
                int maxAt = 0, minAt = 0;
                long double sum = 0;
                for (int i = 0; i < count; ++i) {
                    if (values[std::size_t(i)] > max) {
                        max = values[std::size_t(i)];
                        maxAt = i;
                    }
                    if (values[std::size_t(i)] < min) {
                        min = values[std::size_t(i)];
                        minAt = i;
                    }
                    sum += values[std::size_t(i)];
                }
                const RunStatistics r = runStatistics(values.data(), count);
                QCOMPARE(r.max, max);
                QCOMPARE(r.min, min);
                QCOMPARE(firstIndexOf(values.data(), count, r.max), maxAt);
                QCOMPARE(firstIndexOf(values.data(), count, r.min), minAt);
                QVERIFY(std::fabs(double(sum) - r.sum) < 1e-9);
            }
        }
        const float none[] = {1.0f, 2.0f};
        QCOMPARE(firstIndexOf(none, 2, 3.0f), 2);
    }

    // A whole frame of one temperature averages to that temperature. A single-precision running
    // sum loses whole degrees per addition once it passes 2^23 and got 120.34 here.
    void uniformRunsKeepTheirValue()
    {
        for (float t : {25.37f, 80.3f, 120.7f, -10.2f, 6280.3f}) {
            const std::vector<float> values(640 * 512, t);
            const RunStatistics r = runStatistics(values.data(), int(values.size()));
            QCOMPARE(float(r.sum / double(values.size())), t);
            QCOMPARE(r.max, t);
            QCOMPARE(r.min, t);
        }
    }

    // A value that is not a number never becomes an extreme, as with plain comparisons.
    void notANumberIsPassedOver()
    {
        std::vector<float> values(19, 1.0f);
        values[3] = std::nanf("");
        values[12] = std::nanf("");
        values[17] = 5.0f;
        values[18] = -2.0f;
        const RunStatistics r = runStatistics(values.data(), int(values.size()));
        QCOMPARE(r.max, 5.0f);
        QCOMPARE(r.min, -2.0f);
    }
};

QTEST_APPLESS_MAIN(TestRunStatistics)
#include "tst_runstatistics.moc"
