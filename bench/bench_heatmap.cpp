// How long the 3D heat map of a 640 x 512 photograph takes to appear (construction and the
// first frame), run under a real X server: xvfb-run -a build/bin/bench_heatmap
#include "benchphoto.h"
#include "demoscene.h"
#include "diagnostics.h"
#include "heatmapdata.h"
#include "my3dwdg.h"
#include "photogenerator.h"
#include "openedphotos.h"
#include "photostore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    setDiagnosticStream(nullptr);
    QTemporaryDir dir;
    const QString path = loadedBenchPhoto(dir, 5);
    currentPhotoPath() = path;
    currentPhotoRecord() = PhotoStore::program().snapshot(path);

    QElapsedTimer data;
    data.start();
    QtDataVisualization::QSurfaceDataArray *rows = surfaceDataArray(*currentPhotoRecord().matrix, 640, 512);
    const double dataMs = data.nsecsElapsed() / 1e6;
    for (auto *row : *rows)
        delete row;
    delete rows;

    QElapsedTimer timer;
    timer.start();
    My3DWdg window;
    const double built = timer.nsecsElapsed() / 1e6;
    window.show();
    const bool exposed = QTest::qWaitForWindowExposed(&window, 10000);
    app.processEvents();
    const double shown = timer.nsecsElapsed() / 1e6;
    std::printf("640 x 512 heat map: data array %.1f ms, window built %.1f ms, shown %.1f ms%s\n", dataMs, built, shown,
                exposed ? "" : " (not exposed)");
    return 0;
}
