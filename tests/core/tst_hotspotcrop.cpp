#include "hotspotcrop.h"
#include "palette.h"
#include "temperaturerendering.h"

#include <QtTest>

class TestHotSpotCrop : public QObject
{
    Q_OBJECT

private slots:
    void cropStaysInsideTheFrame()
    {
        QCOMPARE(cropAround(QRect(0, 0, 2, 2), QSize(160, 120)), QRect(0, 0, 24, 24));
        QCOMPARE(cropAround(QRect(158, 118, 2, 2), QSize(160, 120)), QRect(136, 96, 24, 24));
        QCOMPARE(cropAround(QRect(50, 50, 2, 2), QSize(160, 120)), QRect(39, 39, 24, 24));
        QCOMPARE(cropAround(QRect(10, 5, 100, 3), QSize(160, 120)), QRect(6, 0, 108, 24));
        QCOMPARE(cropAround(QRect(0, 0, 26, 20), QSize(30, 24)), QRect(0, 0, 30, 24));
    }

    // The frame is the temperatures in Iron Red over the frame's own span; the crop outlines the
    // anomaly's bounds in white and keeps the rest of its pixels.
    void cropShowsTheFrameAroundTheAnomaly()
    {
        TemperatureMatrix matrix(40, 30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                matrix.row(y)[x] = x == 20 && y == 15 ? 50.0f : 10.0f;
        TempStats stats;
        stats.min = 10.0f;
        stats.max = 50.0f;
        const QImage frame = hotSpotFrame(matrix, stats);
        QVector<Palette> palettes;
        QVERIFY(loadPalettes(palettes));
        const Palette &iron = palettes[kIronRedPalette];
        QCOMPARE(frame.pixel(0, 0), iron.first());
        QCOMPARE(frame.pixel(20, 15), iron.last());

        const QRect bounds(19, 14, 3, 3);
        const QImage crop = hotSpotCrop(frame, bounds);
        const QRect area = cropAround(bounds, frame.size());
        QCOMPARE(crop.size(), area.size());
        QCOMPARE(crop.pixel(bounds.topLeft() - area.topLeft()), qRgb(255, 255, 255));
        QCOMPARE(crop.pixel(bounds.bottomRight() - area.topLeft()), qRgb(255, 255, 255));
        QCOMPARE(crop.pixel(bounds.center() - area.topLeft()), iron.last()); // inside the outline
        QCOMPARE(crop.pixel(0, 0), iron.first());
    }
};

QTEST_MAIN(TestHotSpotCrop)
#include "tst_hotspotcrop.moc"
