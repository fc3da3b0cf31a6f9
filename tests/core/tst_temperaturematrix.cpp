#include "temperaturematrix.h"

#include <QtTest>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

// A matrix whose block is mapped: 640 x 512 values, 1.25 MiB.
constexpr int kWidth = 640;
constexpr int kHeight = 512;
constexpr std::size_t kBlockBytes = std::size_t(kWidth) * kHeight * sizeof(float);

} // namespace

class TestTemperatureMatrix : public QObject
{
    Q_OBJECT
private slots:
    void init() { releaseMatrixPool(); }
    void cleanup() { releaseMatrixPool(); }

    // The next matrix of the same size writes into the block freed last.
    void reusesAFreedBlockOfTheSameSize()
    {
        const float *freed = nullptr;
        {
            TemperatureMatrix first(kWidth, kHeight, 1.0f);
            freed = first.begin();
        }
        QCOMPARE(matrixPoolState().blocks, 1);
        QCOMPARE(matrixPoolState().bytes, kBlockBytes);
        TemperatureMatrix second(kWidth, kHeight, 2.0f);
        QCOMPARE(second.begin(), freed);
        QCOMPARE(matrixPoolState().blocks, 0);
        QCOMPARE(matrixPoolState().bytes, std::size_t(0));
        QVERIFY(std::all_of(second.begin(), second.end(), [](float v) { return v == 2.0f; }));
    }

    // A block is in the pool only once its matrix is gone: living matrices never share one, and
    // filling a new one leaves the living one's values alone.
    void neverHandsOutABlockInUse()
    {
        TemperatureMatrix kept(kWidth, kHeight, 7.0f);
        SharedMatrix shared = sharedMatrix(TemperatureMatrix(kWidth, kHeight, 8.0f));
        SharedMatrix reader = shared;
        shared.reset(); // a reader still holds it
        QCOMPARE(matrixPoolState().blocks, 0);
        std::vector<TemperatureMatrix> made;
        for (int i = 0; i < 3; ++i) {
            made.emplace_back(kWidth, kHeight, float(i));
            QVERIFY(made.back().begin() != kept.begin());
            QVERIFY(made.back().begin() != reader->begin());
        }
        QVERIFY(std::all_of(kept.begin(), kept.end(), [](float v) { return v == 7.0f; }));
        QVERIFY(std::all_of(reader->begin(), reader->end(), [](float v) { return v == 8.0f; }));
        const float *readerBlock = reader->begin();
        reader.reset();
        QCOMPARE(matrixPoolState().blocks, 1);
        TemperatureMatrix next(kWidth, kHeight);
        QCOMPARE(next.begin(), readerBlock);
    }

    // A block of another byte size stays pooled; heap-allocated small matrices never enter.
    void keysBlocksByTheirByteSize()
    {
        { TemperatureMatrix freed(kWidth, kHeight, 0.0f); }
        TemperatureMatrix other(kWidth / 2, kHeight / 2, 3.0f); // 320 KiB: mapped as well
        QCOMPARE(matrixPoolState().blocks, 1);
        QCOMPARE(matrixPoolState().bytes, kBlockBytes);
        { TemperatureMatrix small(16, 16, 1.0f); }
        QCOMPARE(matrixPoolState().blocks, 1);
        QCOMPARE(matrixPoolState().bytes, kBlockBytes);
    }

    // However many matrices are freed, the pool holds at most its bound: the blocks freed last.
    void staysWithinItsBound()
    {
        // Distinct sizes, 1.25 MiB and up.
        for (int i = 0; i < 3 * kMatrixPoolBlocks; ++i) {
            { TemperatureMatrix freed(kWidth, kHeight + i, 0.0f); }
            QVERIFY(matrixPoolState().blocks <= kMatrixPoolBlocks);
            QVERIFY(matrixPoolState().bytes <= kMatrixPoolBytes);
        }
        QCOMPARE(matrixPoolState().blocks, kMatrixPoolBlocks);
        // The oldest were given back; the newest is there.
        { TemperatureMatrix oldest(kWidth, kHeight, 0.0f); }
        QCOMPARE(matrixPoolState().blocks, kMatrixPoolBlocks);
        {
            TemperatureMatrix newest(kWidth, kHeight + 3 * kMatrixPoolBlocks - 1, 0.0f);
            QCOMPARE(matrixPoolState().blocks, kMatrixPoolBlocks - 1);
        }
        releaseMatrixPool();

        // Bytes bound the pool before the count does: blocks of 6 MiB, two of which fit.
        const int rows6MiB = int((6u << 20) / (sizeof(float) * 1024));
        for (int i = 0; i < kMatrixPoolBlocks; ++i) {
            { TemperatureMatrix freed(1024, rows6MiB + i, 0.0f); }
            QVERIFY(matrixPoolState().bytes <= kMatrixPoolBytes);
        }
        QCOMPARE(matrixPoolState().blocks, int(kMatrixPoolBytes / (6u << 20)));

        // A block larger than the whole pool is given back at once.
        { TemperatureMatrix huge(1024, int(kMatrixPoolBytes / (sizeof(float) * 1024)) + 1, 0.0f); }
        QVERIFY(matrixPoolState().bytes <= kMatrixPoolBytes);
        releaseMatrixPool();
        QCOMPARE(matrixPoolState().blocks, 0);
        QCOMPARE(matrixPoolState().bytes, std::size_t(0));
    }

    // Matrices made and freed on several threads at once: no block is handed to two of them
    // (each checks its own values), and the pool keeps its bound.
    void isSafeAcrossThreads()
    {
        std::vector<std::thread> threads;
        std::atomic<int> wrong{0};
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([t, &wrong] {
                for (int round = 0; round < 50; ++round) {
                    const float value = float(t * 1000 + round);
                    TemperatureMatrix matrix(kWidth, kHeight + (round % 2), value);
                    std::this_thread::yield();
                    if (!std::all_of(matrix.begin(), matrix.end(), [value](float v) { return v == value; }))
                        ++wrong;
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(wrong.load(), 0);
        QVERIFY(matrixPoolState().blocks <= kMatrixPoolBlocks);
        QVERIFY(matrixPoolState().bytes <= kMatrixPoolBytes);
    }
};

QTEST_APPLESS_MAIN(TestTemperatureMatrix)
#include "tst_temperaturematrix.moc"
