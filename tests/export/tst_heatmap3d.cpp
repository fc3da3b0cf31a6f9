#include "my3dwdg.h"
#include "photogenerator.h"
#include "phototables.h"

#include <QLabel>
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
        QCOMPARE(loadPhotoRecord(path), 0);
        currentPhotoPath() = path;
        currentPhotoRecord() = copyPhotoRecord(path);

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
        QCOMPARE(window.legend()->pixmap(Qt::ReturnByValue).size(), QSize(100, 400));
        // The gradient runs from the picture's colour at the coldest pixel to the hottest one's.
        const QImage picture(path);
        const QGradientStops stops = window.series()->baseGradient().stops();
        QCOMPARE(stops.first().second, picture.pixelColor(0, 0));
        QCOMPARE(stops.last().second, picture.pixelColor(7, 5));

        // A matrix smaller than the picture: an empty graph, nothing read past it.
        currentPhotoRecord().width = 9;
        My3DWdg empty;
        QCOMPARE(empty.series()->dataProxy()->rowCount(), 0);
    }
};

QTEST_MAIN(TestHeatMap3d)
#include "tst_heatmap3d.moc"
