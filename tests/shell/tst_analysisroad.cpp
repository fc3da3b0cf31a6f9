#include "homepage.h"
#include "hotspotpage.h"
#include "photohotspots.h"
#include "sidecar.h"
#include "layouthistory.h"
#include "plantedanomalies.h"
#include "mygraphicsscene.h"
#include "itemtables.h"
#include "myitemtemp.h"
#include "mytitlebar.h"
#include "pagetables.h"
#include "snapshottables.h"
#include "photogenerator.h"
#include "openedphotos.h"
#include "photostore.h"
#include "qgraphicspaint.h"
#include "quorvicameratool.h"
#include "screenlayout.h"
#include "settingpage.h"
#include "snapshotwriter.h"
#include "rangeslider.h"
#include "tempalertdlg.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QDir>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QScreen>
#include <QTableView>
#include <QUndoStack>
#include <QtTest>

namespace {

// t = x / 10 + 10 y + shift, with the camera's tags and EXIF dates.
void writeFlight(const QString &dir, float shift)
{
    QDir().mkpath(dir);
    for (int i = 1; i <= 3; ++i) {
        PhotoSpec shot;
        shot.width = 64;
        shot.height = 48;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                shot.temperatures.push_back(shift + 100.0f * i + 0.1f * float(x) + 10.0f * float(y));
        shot.camera.gimbalType = "QT640";
        shot.camera.emissivity = 95;
        shot.camera.distance = 12;
        shot.exif.dateTimeOriginal = "2023:05:01 10:20:30";
        writePhoto(dir + QString("/IR_%1.jpg").arg(i, 4, 10, QChar('0')), shot);
    }
    QFile junk(dir + "/IR_9999.jpg");
    junk.open(QIODevice::WriteOnly);
    junk.write(QByteArray(4000, 'x'));
}

QString edit(SettingPage *page, const char *name)
{
    return page->findChild<QLineEdit *>(name)->text();
}

float matrixAt(const QString &path, int x, int y)
{
    return PhotoStore::program().snapshot(path).matrix->at(x, y);
}

} // namespace

class TestAnalysisRoad : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    void open(QuorviCameraTool &window, const QString &folder, int row)
    {
        window.homePage()->importFolder(folder);
        QListView *grid = window.homePage()->findChild<QListView *>("listWidget_photo");
        emit grid->doubleClicked(grid->model()->index(row, 0));
        QTRY_COMPARE_WITH_TIMEOUT(window.pages()->currentWidget(), static_cast<QWidget *>(window.settingPage()), 5000);
    }

private slots:
    void fromImportToMeasurement()
    {
        const QString flightA = m_dir.filePath("flightA"), flightB = m_dir.filePath("flightB");
        writeFlight(flightA, 0);
        writeFlight(flightB, 1000);
        QuorviCameraTool window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        SettingPage *page = window.settingPage();
        open(window, flightA, 1);
        const QString second = flightA + "/IR_0002.jpg";
        QCOMPARE(currentPhotoPath(), second);
        QCOMPARE(page->findChild<QLabel *>("lab_currPage")->text(), QString("2/4"));

        // The information panel shows what the generator wrote.
        QCOMPARE(edit(page, "lineEdit_emissivity"), QString("95%"));
        QCOMPARE(edit(page, "lineEdit_distance"), QString("12.0m"));
        QCOMPARE(edit(page, "lineEdit_imgSN"), QString("QT640"));
        QCOMPARE(edit(page, "lineEdit_createDate"), QString("2023/05/01 10:20:30"));
        QCOMPARE(edit(page, "lineEdit_imgWH"), QString("64px * 48px"));
        QCOMPARE(edit(page, "lineEdit_currentGainState"), QString::fromUtf8("高增益"));
        QCOMPARE(edit(page, "lineEdit_reflectTemp"), QString::fromUtf8("23.0℃"));
        QListWidget *palettes = page->findChild<QListWidget *>("listWidget");
        // The camera's own colours are shown: no palette is marked.
        QCOMPARE(palettes->currentItem(), nullptr);
        // A swatch's name shows just above it, on the screen.
        const QRect swatch = palettes->visualItemRect(palettes->item(3));
        QHelpEvent help(QEvent::ToolTip, swatch.center(), palettes->viewport()->mapToGlobal(swatch.center()));
        QCoreApplication::sendEvent(palettes->viewport(), &help);
        QWidget *tip = page->findChild<QWidget *>("MyToolTip");
        QVERIFY(tip && tip->isVisible());
        const QPoint swatchTop = palettes->viewport()->mapToGlobal(swatch.topLeft());
        QVERIFY2(tip->geometry().bottom() < swatchTop.y() && tip->geometry().bottom() > swatchTop.y() - 20,
                 qPrintable(QString("tip at y %1, swatch at %2").arg(tip->geometry().top()).arg(swatchTop.y())));
        QVERIFY(QGuiApplication::primaryScreen()->geometry().contains(tip->geometry()));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(palettes->viewport(), &leave);
        QVERIFY(!tip->isVisible());

        emit palettes->itemClicked(palettes->item(1));
        QCOMPARE(PhotoStore::program().snapshot(second).paletteIndex, 5);

        // A point placed through the title bar's tool and the mouse.
        window.titleBar()->findChild<QToolButton *>("btn_point")->click();
        QGraphicsPaint *view = page->view();
        const QSize area = view->viewport()->size();
        const QPoint at(int(10.5 * area.width() / 64), int(20.5 * area.height() / 48)); // pixel (10, 20)
        QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        const float t = matrixAt(second, 10, 20);
        QTRY_VERIFY(itemRowTables()[second].contains("P1"));
        const QString shown = QString::number(t, 'f', 1) + QString::fromUtf8("℃");
        QCOMPARE(itemRowTables()[second]["P1"]->valueTexts(), (QStringList{shown, shown, shown}));

        // Next and back: the point is still there.
        page->findChild<QPushButton *>("btn_nextImg")->click();
        QCOMPARE(currentPhotoPath(), flightA + "/IR_0003.jpg");
        QCOMPARE(page->findChild<QLabel *>("lab_currPage")->text(), QString("3/4"));
        page->findChild<QPushButton *>("btn_prevImg")->click();
        QCOMPARE(currentPhotoPath(), second);
        QVERIFY(itemTables()[second].contains("P1"));
        QCOMPARE(itemTables()[second]["P1"]->stats().avg, t);

        // A quarter turn keeps the reading.
        page->on_rotateButtonClick(0);
        QCOMPARE(PhotoStore::program().rotationState(second), 1);
        QCOMPARE(itemTables()[second]["P1"]->stats().avg, t);
        QCOMPARE(itemRowTables()[second]["P1"]->valueTexts().at(2), shown);
        // The turned photograph's snapshot is as high as the photograph is wide (its colour
        // scale beside the picture).
        page->saveCurrentState();
        const QImage turned(shellValues().tempImageDir + "/IR_0002.bmp");
        QCOMPARE(turned.size(), withColourScale(QImage(48, 64, QImage::Format_RGB32), PhotoRecord(), Palette()).size());

        // The photograph that cannot be loaded shows NA and the page stays usable.
        page->findChild<QPushButton *>("btn_nextImg")->click();
        page->findChild<QPushButton *>("btn_nextImg")->click();
        QCOMPARE(currentPhotoPath(), flightA + "/IR_9999.jpg");
        QVERIFY(!page->findChild<QPushButton *>("btn_nextImg")->isEnabled());
        QCOMPARE(edit(page, "lineEdit_emissivity"), QString("NA"));
        QCOMPARE(edit(page, "lineEdit_imgSN"), QString("NA"));

        // Snapshots: one per analysed photograph.
        const QString temp = shellValues().tempImageDir;
        for (const char *name : {"IR_0002.bmp", "IR_0003.bmp"}) {
            QVERIFY2(QFile::exists(temp + "/" + name), name);
            QCOMPARE(snapshotSources().value(temp + "/" + name), flightA + "/" + QString(name).replace(".bmp", ".jpg"));
        }

        // A second flight with the same names gets snapshots of its own.
        window.titleBar()->findChild<QToolButton *>("btn_homePage")->click();
        QCOMPARE(window.pages()->currentWidget(), static_cast<QWidget *>(window.homePage()));
        open(window, flightB, 1);
        QCOMPARE(currentPhotoPath(), flightB + "/IR_0002.jpg");
        page->saveCurrentState();
        QCOMPARE(snapshotSources().value(temp + "/IR_0002-2.bmp"), flightB + "/IR_0002.jpg");
        QCOMPARE(snapshotSources().value(temp + "/IR_0002.bmp"), second);

        // Deleting the last measurement item brings the placeholder back.
        QLabel *placeholder = nullptr;
        for (QLabel *label : page->findChildren<QLabel *>())
            if (label->text() == QString::fromUtf8("暂无数据~"))
                placeholder = label;
        QVERIFY(placeholder && !placeholder->isHidden());
        QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTRY_VERIFY(placeholder->isHidden());
        itemTables()[currentPhotoPath()].value("P1")->setSelected(true);
        window.titleBar()->findChild<QToolButton *>("btn_delete")->click();
        QVERIFY(!itemRowTables()[currentPhotoPath()].contains("P1"));
        QVERIFY(!placeholder->isHidden());

        // The slider follows the photograph's span in whole degrees.
        const PhotoRecord shownRecord = PhotoStore::program().snapshot(currentPhotoPath());
        QCOMPARE(page->rangeSlider()->minimum(), int(shownRecord.stats.min));
        QCOMPARE(page->rangeSlider()->maximum(), int(shownRecord.stats.max));

        // Alarm buttons: the dialog asks for a threshold; the same button again switches off,
        // the other one replaces the alarm.
        QSignalSpy buttons(page, &SettingPage::sig_updateBtnStatus);
        auto answer = [](const QString &threshold) {
            QTimer::singleShot(50, [threshold] {
                if (auto *dialog = qobject_cast<TempAlertDlg *>(QApplication::activeModalWidget())) {
                    dialog->findChild<QLineEdit *>("edit_temp")->setText(threshold);
                    dialog->findChild<QPushButton *>("btn_ok")->click();
                }
            });
        };
        answer("1050");
        page->on_buttonClick(9);
        QCOMPARE(PhotoStore::program().snapshot(currentPhotoPath()).alarmMode, 0);
        QCOMPARE(PhotoStore::program().snapshot(currentPhotoPath()).alarmThreshold, 1050.0f);
        QCOMPARE(buttons.takeFirst(), (QList<QVariant>{9, true}));
        QCOMPARE(buttons.takeFirst(), (QList<QVariant>{10, false}));
        QVERIFY(!page->findChild<QListWidget *>("listWidget")->currentItem()); // no palette with an alarm
        page->on_buttonClick(9);
        QCOMPARE(PhotoStore::program().snapshot(currentPhotoPath()).alarmMode, -1);
        QCOMPARE(buttons.takeFirst(), (QList<QVariant>{9, false}));
        answer("1200");
        page->on_buttonClick(9);
        answer("1300");
        page->on_buttonClick(10);
        QCOMPARE(PhotoStore::program().snapshot(currentPhotoPath()).alarmMode, 1);
        QCOMPARE(PhotoStore::program().snapshot(currentPhotoPath()).alarmThreshold, 1300.0f);

        // The large font: 18-pixel texts in the panel, size level 6 for the items.
        page->on_setFontSize(6);
        QCOMPARE(page->findChild<QLineEdit *>("lineEdit_emissivity")->styleSheet(), QString("font-size: 18px;"));
        QCOMPARE(view->measurementScene()->sizeLevel(), 6);
        page->waitForLoad();
    }

    // The hot-spot finder lists a photograph's anomaly; opening it marks the anomaly with a
    // rectangle measurement that reads the anomaly's hottest pixel and is undone as a drawn one.
    void fromHotSpotToMeasurement()
    {
        const QString folder = m_dir.filePath("hotspots");
        QDir().mkpath(folder);
        for (int i = 1; i <= 2; ++i) {
            PhotoSpec shot;
            shot.width = 160;
            shot.height = 120;
            shot.temperatures = inspectionScene(160, 120, i);
            if (i == 2)
                plantAnomalies(shot.temperatures, 160, 120, {hotCell({30, 20}, 4, 22.0f)});
            writePhoto(folder + QString("/IR_%1.jpg").arg(i, 4, 10, QChar('0')), shot);
        }
        QuorviCameraTool window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPushButton *find = window.homePage()->findChild<QPushButton *>("btn_findHotSpots");
        QVERIFY(!find->isEnabled()); // nothing listed yet
        window.homePage()->importFolder(folder);
        QTRY_VERIFY(find->isEnabled());
        find->click();
        HotSpotPage *spots = window.hotSpotPage();
        QCOMPARE(window.pages()->currentWidget(), static_cast<QWidget *>(spots));
        QTRY_VERIFY_WITH_TIMEOUT(!spots->scanner()->running(), 10000);
        QCOMPARE(spots->model()->rowCount(), 1);
        const FoundHotSpot found = spots->model()->at(0);
        QCOMPARE(found.spot.bounds, QRect(30, 20, 4, 4));

        emit spots->table()->doubleClicked(spots->table()->model()->index(0, HotSpotModel::File));
        QTRY_COMPARE_WITH_TIMEOUT(window.pages()->currentWidget(), static_cast<QWidget *>(window.settingPage()), 5000);
        const QString path = folder + "/IR_0002.jpg";
        QCOMPARE(currentPhotoPath(), path);
        QVERIFY(itemTables()[path].contains("Re1"));
        QTRY_COMPARE(itemTables()[path]["Re1"]->stats().max, found.spot.max);
        // The rectangle marked as the photograph's reference: the median under it (the hot cell's
        // own) leaves no anomaly; the mark removed, the anomaly is back.
        const auto spotsNow = [&] {
            PhotoRecord record;
            return scanPhotoHotSpots(QFile::encodeName(path), HotSpotSettings(), record).found.spots.size();
        };
        QCOMPARE(window.settingPage()->markHotSpotReference(true), QCoreApplication::translate("SettingPage", "请先选择一个矩形。"));
        itemTables()[path]["Re1"]->setSelected(true);
        window.settingPage()->markHotSpotReference(true);
        QCOMPARE(sidecarHotSpotReference(path), std::optional<QRect>(QRect(30, 20, 4, 4)));
        QCOMPARE(spotsNow(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(spots->model()->rowCount(), 0, 5000); // the finder's table follows
        window.settingPage()->markHotSpotReference(false);
        QCOMPARE(sidecarHotSpotReference(path), std::optional<QRect>());
        QCOMPARE(spotsNow(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(spots->model()->rowCount(), 1, 5000);

        window.settingPage()->layoutHistory()->stackOf(path)->undo();
        QVERIFY(!itemTables()[path].contains("Re1"));

        // The finder of the list opened on the analysis page, from its more menu.
        QAction *inList = nullptr;
        for (QAction *action : window.titleBar()->moreMenu()->actions())
            if (action->text() == QCoreApplication::translate("QuorviCameraTool", "在打开的照片中查找热点"))
                inList = action;
        QVERIFY(inList);
        inList->trigger();
        QCOMPARE(window.pages()->currentWidget(), static_cast<QWidget *>(spots));
        QVERIFY(!window.titleBar()->findChild<QToolButton *>("btn_point")->isVisible()); // the page's tools went with it
        QVERIFY(!spots->scanner()->running()); // the same photographs: the table is kept
        QCOMPARE(spots->model()->rowCount(), 1);
        emit spots->table()->doubleClicked(spots->table()->model()->index(0, HotSpotModel::File));
        QTRY_COMPARE_WITH_TIMEOUT(window.pages()->currentWidget(), static_cast<QWidget *>(window.settingPage()), 5000);
        // Opened again, the anomaly keeps its one rectangle.
        emit window.titleBar()->sig_homePage_clicked();
        find->click();
        emit spots->table()->doubleClicked(spots->table()->model()->index(0, HotSpotModel::File));
        QTRY_COMPARE_WITH_TIMEOUT(window.pages()->currentWidget(), static_cast<QWidget *>(window.settingPage()), 5000);
        QCOMPARE(itemTables()[path].keys(), QStringList{"Re1"});

        // Back from the photograph, the finder shows its table again without a new scan.
        emit window.titleBar()->sig_homePage_clicked();
        QCOMPARE(window.pages()->currentWidget(), static_cast<QWidget *>(window.homePage()));
        find->click();
        QCOMPARE(window.pages()->currentWidget(), static_cast<QWidget *>(spots));
        QVERIFY(!spots->scanner()->running());
        QCOMPARE(spots->model()->rowCount(), 1);
    }

    // Camera parameters corrected on the analysis page reach the finder's table: the corrected
    // photograph's anomaly is found again with its new temperatures, the other one's stays.
    void correctionReachesTheFinder()
    {
        const QString folder = m_dir.filePath("corrected");
        QDir().mkpath(folder);
        for (int i = 1; i <= 2; ++i) {
            PhotoSpec shot;
            shot.kind = ContainerKind::InfoBlockCalibrated;
            shot.camera.gimbalType = "PV245";
            shot.width = 160;
            shot.height = 120;
            shot.temperatures = inspectionScene(160, 120, i);
            plantAnomalies(shot.temperatures, 160, 120, {hotCell({30 * i, 20}, 4, 22.0f)});
            writePhoto(folder + QString("/IR_%1.jpg").arg(i, 4, 10, QChar('0')), shot);
        }
        const QString corrected = folder + "/IR_0001.jpg", other = folder + "/IR_0002.jpg";
        itemRowTables().clear(); // the rows went with the window of the test before
        QuorviCameraTool window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.homePage()->importFolder(folder);
        QPushButton *find = window.homePage()->findChild<QPushButton *>("btn_findHotSpots");
        QTRY_VERIFY(find->isEnabled());
        find->click();
        HotSpotPage *spots = window.hotSpotPage();
        QTRY_VERIFY_WITH_TIMEOUT(!spots->scanner()->running(), 10000);
        QCOMPARE(spots->model()->rowCount(), 2);
        const auto rowOf = [&](const QString &path) {
            for (const FoundHotSpot &row : spots->model()->rows())
                if (row.path == path)
                    return row;
            return FoundHotSpot();
        };
        const FoundHotSpot before = rowOf(corrected), otherBefore = rowOf(other);
        QCOMPARE(before.path, corrected);

        window.settingPage()->slot_selectImg({corrected, other}, 0);
        QTRY_COMPARE(currentPhotoRecord().path, corrected);
        QLineEdit *emissivity = window.settingPage()->findChild<QLineEdit *>("lineEdit_emissivity");
        QVERIFY(!emissivity->isReadOnly());
        emissivity->selectAll();
        QTest::keyClicks(emissivity, "60");
        QTest::keyClick(emissivity, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(corrected).spot.max != before.spot.max, 10000);
        QVERIFY(!spots->scanner()->running()); // not a new scan of the list
        QCOMPARE(rowOf(corrected).spot.bounds, before.spot.bounds);
        QVERIFY(rowOf(corrected).spot.deltaT != before.spot.deltaT);
        QCOMPARE(rowOf(other).spot.max, otherBefore.spot.max);
        QCOMPARE(rowOf(other).reference, otherBefore.reference);
        QFile::remove(sidecarPath(corrected));
    }
};

QTEST_MAIN(TestAnalysisRoad)
#include "tst_analysisroad.moc"
