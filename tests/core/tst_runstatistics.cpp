#include "runstatistics.h"
#include "temperaturematrix.h"

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

    // Values without a reading (NA_TEMPERATURE) are no extreme, no part of the sum and not
    // counted, wherever they fall: in a vector step, in the tail, first, or everywhere.
    void readingsOnly()
    {
        std::mt19937 random(11);
        std::uniform_int_distribution<int> pick(-3, 3);
        std::uniform_int_distribution<int> gap(0, 3);
        for (int count = 0; count <= 41; ++count) {
            for (int round = 0; round < 50; ++round) {
                std::vector<float> values(static_cast<std::size_t>(count));
                for (float &v : values)
                    v = gap(random) == 0 || round == 0 ? NA_TEMPERATURE : float(pick(random)) * 0.7f;
                int readings = 0, maxAt = -1, minAt = -1;
                long double sum = 0;
                for (int i = 0; i < count; ++i) {
                    const float t = values[std::size_t(i)];
                    if (t == NA_TEMPERATURE)
                        continue;
                    if (maxAt < 0 || t > values[std::size_t(maxAt)])
                        maxAt = i;
                    if (minAt < 0 || t < values[std::size_t(minAt)])
                        minAt = i;
                    sum += t;
                    ++readings;
                }
                const RunStatistics r = runStatistics(values.data(), count);
                QCOMPARE(r.count, readings);
                if (readings == 0) {
                    QCOMPARE(r.sum, 0.0);
                    continue;
                }
                QCOMPARE(r.max, values[std::size_t(maxAt)]);
                QCOMPARE(r.min, values[std::size_t(minAt)]);
                QCOMPARE(firstIndexOf(values.data(), count, r.max), maxAt);
                QCOMPARE(firstIndexOf(values.data(), count, r.min), minAt);
                QVERIFY(std::fabs(double(sum) - r.sum) < 1e-9);
            }
        }
        // Readings above 65536 °C and below every other one stay extremes beside the gaps.
        std::vector<float> wide(24, NA_TEMPERATURE);
        wide[5] = 70000.0f;
        wide[19] = -80000.0f;
        const RunStatistics r = runStatistics(wide.data(), int(wide.size()));
        QCOMPARE(r.count, 2);
        QCOMPARE(r.max, 70000.0f);
        QCOMPARE(r.min, -80000.0f);
        QCOMPARE(r.sum, -10000.0);
        // Gaps beside readings that are all below zero, or all above 65536: the gaps are still
        // no extreme.
        for (int count : {8, 16, 23}) {
            std::vector<float> cold(std::size_t(count), NA_TEMPERATURE);
            std::vector<float> hot(std::size_t(count), NA_TEMPERATURE);
            for (int i = 1; i < count; i += 3) {
                cold[std::size_t(i)] = -5.0f - float(i);
                hot[std::size_t(i)] = 70000.0f + float(i);
            }
            const RunStatistics c = runStatistics(cold.data(), count);
            QCOMPARE(c.max, -6.0f);
            QCOMPARE(c.min, -5.0f - float(count - 1 - (count - 2) % 3));
            const RunStatistics h = runStatistics(hot.data(), count);
            QCOMPARE(h.min, 70001.0f);
            QCOMPARE(h.max, 70000.0f + float(count - 1 - (count - 2) % 3));
            QCOMPARE(h.count, c.count);
        }
        const std::vector<float> zeros = {0.0f, NA_TEMPERATURE, -0.0f, -1.0f, NA_TEMPERATURE, -2.0f, 0.0f, -3.0f, -4.0f};
        QCOMPARE(runStatistics(zeros.data(), int(zeros.size())).max, 0.0f);
        QCOMPARE(runStatistics(zeros.data(), int(zeros.size())).count, 7);
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
        QCOMPARE(r.count, 19);
    }
};

QTEST_APPLESS_MAIN(TestRunStatistics)
#include "tst_runstatistics.moc"
