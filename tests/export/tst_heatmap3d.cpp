#include "heatmaplegend.h"
#include "my3dwdg.h"
#include "photogenerator.h"
#include "openedphotos.h"
#include "photostore.h"

#include <QScreen>
#include <QTemporaryDir>
#include <QtDataVisualization/Q3DSurface>
#include <QtDataVisualization/QSurface3DSeries>
#include <QtDataVisualization/QSurfaceDataProxy>
#include <QtDataVisualization/QValue3DAxis>
#include <QtTest>

using namespace QtDataVisualization;

// Runs on a real X server (xvfb-run) with Mesa: the surface needs OpenGL.
class TestHeatMap3d : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void surfaceOfTheShownPhotograph()
    {
        const QString path = m_dir.filePath("small.jpg");
        PhotoSpec shot;
        shot.width = 8;
        shot.height = 6;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x)
                shot.temperatures.push_back(20.0f + float(x) + 0.5f * float(y));
        writePhoto(path, shot);
        QCOMPARE(PhotoStore::program().load(path), 0);
        currentPhotoPath() = path;
        currentPhotoRecord() = PhotoStore::program().snapshot(path);

        My3DWdg window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QString::fromUtf8("3D热图"));
        QSurfaceDataProxy *proxy = window.series()->dataProxy();
        QCOMPARE(proxy->rowCount(), 8);    // image columns
        QCOMPARE(proxy->columnCount(), 6); // image rows
        const TemperatureMatrix &m = *currentPhotoRecord().matrix;
        QCOMPARE(proxy->itemAt(3, 5)->position(), QVector3D(5, m[5][3], 3));
        QCOMPARE(window.series()->drawMode(), QSurface3DSeries::DrawSurface);
        QCOMPARE(window.series()->itemLabelFormat(), QString("(@xLabel, @zLabel): @yLabel"));
        QCOMPARE(window.graph()->axisY()->labelFormat(), QString::fromUtf8("%.1f ℃"));
        QCOMPARE(window.legend()->ticks().size(), 8);
        // The gradient runs from the picture's colour at the coldest pixel to the hottest one's.
        const QImage picture(path);
        const QGradientStops stops = window.series()->baseGradient().stops();
        QCOMPARE(stops.first().second, picture.pixelColor(0, 0));
        QCOMPARE(stops.last().second, picture.pixelColor(7, 5));

        // A matrix smaller than the picture: an empty graph, nothing read past it.
        currentPhotoRecord().width = 9;
        My3DWdg empty;
        QCOMPARE(empty.series()->dataProxy()->rowCount(), 0);
        QVERIFY(!empty.legend());
    }

    // Ticks and their texts inside the legend, the legend inside the window: at the default
    // size and at the smallest the window can be made, with texts wider than "20.0℃".
    void legendStaysWhole()
    {
        currentPhotoRecord().width = 8;
        currentPhotoRecord().stats.max = 1234.5f;
        currentPhotoRecord().stats.min = -123.4f;
        My3DWdg window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        HeatMapLegend *legend = window.legend();
        QCOMPARE(legend->ticks().size(), 19);
        for (const QSize &size : {window.size(), QSize(200, 150)}) {
            window.resize(size);
            QCoreApplication::processEvents();
            QVERIFY(window.rect().contains(legend->geometry()));
            QVERIFY(legend->rect().contains(legend->barRect()));
            const QFontMetrics metrics = legend->fontMetrics();
            int above = legend->barRect().top() - 1;
            for (int i = 0; i < legend->ticks().size(); ++i) {
                const QRect text = legend->tickTextRect(i);
                QVERIFY2(legend->rect().contains(text), qPrintable(legend->ticks()[i].text));
                QVERIFY(text.width() >= metrics.horizontalAdvance(legend->ticks()[i].text));
                QVERIFY(text.top() > above - metrics.height()); // texts do not overlap
                above = text.top() + metrics.height();
            }
        }
    }

    // Centred on the page under the program's title bar, whole on the screen.
    void opensOverThePage()
    {
        QWidget program;
        program.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        auto *titleBar = new QWidget(&program);
        titleBar->setGeometry(0, 0, program.width(), 70);
        auto *page = new QWidget(&program);
        page->setGeometry(0, 70, program.width(), program.height() - 70);
        program.show();
        QVERIFY(QTest::qWaitForWindowExposed(&program));

        My3DWdg window;
        window.showOver(page);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect pageOnScreen(page->mapToGlobal(QPoint(0, 0)), page->size());
        QVERIFY(window.frameGeometry().top() >= pageOnScreen.top());
        QVERIFY((window.frameGeometry().center() - pageOnScreen.center()).manhattanLength() <= 4);
        QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
    }

    void placedInsideTheScreen()
    {
        const QRect screen(0, 0, 1280, 1024);
        // A page near the bottom right corner: the window slides back onto the screen.
        QCOMPARE(placedWindow(QSize(741, 560), QRect(1000, 900, 200, 100), screen), QRect(539, 464, 741, 560));
        // A page shorter than the window: its top edge stays at the page's top.
        QCOMPARE(placedWindow(QSize(741, 560), QRect(0, 70, 1280, 300), screen).top(), 70);
        // Taller than the screen: its title bar stays on screen.
        QCOMPARE(placedWindow(QSize(741, 1100), QRect(0, 70, 1280, 954), screen).top(), 0);
    }
};

QTEST_MAIN(TestHeatMap3d)
#include "tst_heatmap3d.moc"
