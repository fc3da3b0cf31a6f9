#include "screenlayout.h"

#include <QtTest>

class TestScreenLayout : public QObject
{
    Q_OBJECT
private slots:
    void tableRows()
    {
        const ScreenLayout small = screenLayoutForHeight(1152);
        QCOMPARE(small.rowWidth, 196);
        QCOMPARE(small.thumbWidth, 178);
        QCOMPARE(small.viewWidth, 1137);
        QCOMPARE(small.viewHeight, 853);
        QCOMPARE(small.minSide, 682);

        const ScreenLayout wqhd = screenLayoutForHeight(2000);
        QCOMPARE(wqhd.thumbWidth, 310);
        QCOMPARE(wqhd.thumbHeight, 233);

        const ScreenLayout largest = screenLayoutForHeight(2560);
        QCOMPARE(largest.rowHeight, 398);
        QCOMPARE(largest.thumbWidth, 397);
        QCOMPARE(largest.viewHeight, 1896);
        QCOMPARE(largest.maxWidth, 2528);
    }

    void fallbackRow()
    {
        // 1080 has no row of its own, and heights near a row do not match it.
        for (int height : {1080, 0, 1151, 1153, 4320}) {
            const ScreenLayout layout = screenLayoutForHeight(height);
            QCOMPARE(layout.rowWidth, 184);
            QCOMPARE(layout.rowHeight, 168);
            QCOMPARE(layout.thumbWidth, 168);
            QCOMPARE(layout.thumbHeight, 126);
            QCOMPARE(layout.viewWidth, 1000);
            QCOMPARE(layout.viewHeight, 800);
            QCOMPARE(layout.minSide, 640);
            QCOMPARE(layout.maxWidth, 1000);
        }
    }
};

QTEST_APPLESS_MAIN(TestScreenLayout)
#include "tst_screenlayout.moc"
