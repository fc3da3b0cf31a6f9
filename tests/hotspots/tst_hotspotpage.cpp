#include "appsettings.h"
#include "hotspotpage.h"
#include "photogenerator.h"
#include "photohotspots.h"
#include "photostore.h"
#include "sidecar.h"
#include "plantedanomalies.h"

#include <QComboBox>
#include <QAbstractSpinBox>
#include <QAbstractButton>
#include <QVBoxLayout>
#include <QProgressBar>
#include <QLabel>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

constexpr int kWidth = 160, kHeight = 120;

// A scene photograph with the anomalies planted; with or without GPS.
QString writeScene(const QString &path, const std::vector<PlantedAnomaly> &anomalies, bool gps = true,
                   ContainerKind kind = ContainerKind::InfoBlockDirect)
{
    PhotoSpec shot;
    shot.kind = kind;
    if (kind == ContainerKind::InfoBlockCalibrated)
        shot.camera.gimbalType = "PV245"; // a camera model converted through the calibration block
    shot.width = kWidth;
    shot.height = kHeight;
    shot.temperatures = inspectionScene(kWidth, kHeight, 1);
    plantAnomalies(shot.temperatures, kWidth, kHeight, anomalies);
    shot.exif.hasGps = gps;
    writePhoto(path, shot);
    return path;
}

// Each row's photograph with its ΔT, maximum and reference, in the order of the model.
QStringList rowValues(const HotSpotModel &model)
{
    QStringList rows;
    for (const FoundHotSpot &row : model.rows())
        rows << QString("%1 %2 %3 %4").arg(QFileInfo(row.path).fileName()).arg(row.spot.deltaT).arg(row.spot.max).arg(row.reference);
    return rows;
}

bool waitForScan(HotSpotPage &page)
{
    QSignalSpy finished(page.scanner(), &HotSpotScan::finished);
    return finished.wait(20000);
}

} // namespace

class TestHotSpotPage : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QStringList m_photos;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_photos << writeScene(m_dir.filePath("a.jpg"), {hotCell({20, 60}, 5, 25.0f)})
                 << writeScene(m_dir.filePath("plain.jpg"), {})
                 << writeScene(m_dir.filePath("b.jpg"),
                               {hotConnector({100, 70}, 8.0f), diodeBand(QRect(40, 90, 30, 4), 15.0f)}, false);
        QFile notAPhoto(m_dir.filePath("broken.jpg"));
        QVERIFY(notAPhoto.open(QIODevice::WriteOnly));
        notAPhoto.write("not a photograph");
        notAPhoto.close();
        m_photos << notAPhoto.fileName();
    }

    // Labels, buttons and fields are readable on the window's dark background: drawn under the
    // window's style sheet, each shows text far lighter than the background.
    void textsAreLightOnTheDarkPage()
    {
        QWidget window;
        window.setStyleSheet("QWidget{background-color: #222222;}");
        auto *page = new HotSpotPage(&window);
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(page);
        window.resize(1600, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto lightest = [](QWidget *w) {
            const QImage image = w->grab().toImage();
            int most = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    most = std::max(most, QColor(image.pixel(x, y)).lightness());
            return most;
        };
        for (QWidget *w : page->findChildren<QWidget *>()) {
            if (!w->isVisible() || w->objectName() == "qt_scrollarea_viewport" || qobject_cast<QProgressBar *>(w))
                continue;
            const bool hasText = (qobject_cast<QLabel *>(w) && !qobject_cast<QLabel *>(w)->text().isEmpty())
                || qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w)
                || qobject_cast<QAbstractSpinBox *>(w);
            if (!hasText)
                continue;
            QVERIFY2(lightest(w) > (w->isEnabled() ? 180 : 120), qPrintable(w->metaObject()->className() + QString(" ") + w->objectName()));
        }
    }

    // Every anomaly of the list in one table, ranked and filtered by class; a photograph that
    // cannot be read is counted, not dropped silently.
    void scanRanksAndFilters()
    {
        HotSpotPage page;
        page.scan(m_photos);
        QVERIFY(waitForScan(page));
        HotSpotModel *model = page.model();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->classCounts(), (std::array<int, 3>{1, 1, 1}));
        QTableView *table = page.table();
        const auto cell = [&](int row, int column) { return table->model()->index(row, column).data().toString(); };
        QCOMPARE(cell(0, HotSpotModel::File), QString("a.jpg"));
        QCOMPARE(cell(0, HotSpotModel::Class), QString("3"));
        QCOMPARE(cell(0, HotSpotModel::Area), QString("25"));
        QCOMPARE(cell(1, HotSpotModel::Class), QString("2"));
        QCOMPARE(cell(2, HotSpotModel::Area), QString("4"));
        QCOMPARE(cell(2, HotSpotModel::Position), QString("NA"));
        // The hot cell's crop: the frame around it, its bounds outlined in white.
        const FoundHotSpot &hottest = model->at(0);
        QCOMPARE(hottest.spot.bounds, QRect(20, 60, 5, 5));
        const QRect area = cropAround(hottest.spot.bounds, QSize(kWidth, kHeight));
        QCOMPARE(hottest.crop.size(), area.size());
        QCOMPARE(hottest.crop.pixel(hottest.spot.bounds.topLeft() - area.topLeft()), qRgb(255, 255, 255));

        page.findChild<QComboBox *>("cmb_lowestClass")->setCurrentIndex(1);
        QCOMPARE(table->model()->rowCount(), 2);
        page.findChild<QComboBox *>("cmb_lowestClass")->setCurrentIndex(2);
        QCOMPARE(table->model()->rowCount(), 1);
        QCOMPARE(cell(0, HotSpotModel::File), QString("a.jpg"));

        // Sorting by another column keeps rows whole.
        table->sortByColumn(HotSpotModel::Area, Qt::AscendingOrder);
        page.findChild<QComboBox *>("cmb_lowestClass")->setCurrentIndex(0);
        QCOMPARE(cell(0, HotSpotModel::Area), QString("4"));
        QCOMPARE(cell(0, HotSpotModel::File), QString("b.jpg"));
    }

    // A scan started while another runs shows only its own photographs' anomalies.
    void newScanDropsTheOldOnesResults()
    {
        HotSpotPage page;
        QStringList many;
        for (int i = 0; i < 30; ++i)
            many << m_photos.first();
        page.scan(many);
        QSignalSpy progress(page.scanner(), &HotSpotScan::progress);
        QVERIFY(progress.wait(20000));
        page.scan({m_photos.at(1)});
        QVERIFY(waitForScan(page));
        QTest::qWait(50); // anything the first scan still had queued arrives now
        QCOMPARE(page.model()->rowCount(), 0);
    }

    void cancelStopsEarly()
    {
        HotSpotPage page;
        QStringList many;
        for (int i = 0; i < 200; ++i)
            many << m_photos.first();
        page.scan(many);
        QSignalSpy finished(page.scanner(), &HotSpotScan::finished);
        page.scanner()->cancel();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(page.model()->rowCount() < 200);
    }

    // The exports hold the rows shown: CSV every one, GeoJSON those with a position.
    void exportsHoldTheRowsShown()
    {
        HotSpotPage page;
        page.scan(m_photos);
        QVERIFY(waitForScan(page));
        QString error;
        const QString csvPath = m_dir.filePath("spots.csv");
        QVERIFY2(page.exportCsv(csvPath, &error), qPrintable(error));
        QFile csv(csvPath);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count('\n'), 1 + 3);

        page.findChild<QComboBox *>("cmb_lowestClass")->setCurrentIndex(1);
        int skipped = -1;
        const QString geoPath = m_dir.filePath("spots.geojson");
        QVERIFY2(page.exportGeoJson(geoPath, &skipped, &error), qPrintable(error));
        QCOMPARE(skipped, 1); // the diode band's photograph has no position
        QFile geo(geoPath);
        QVERIFY(geo.open(QIODevice::ReadOnly));
        const QJsonObject collection = QJsonDocument::fromJson(geo.readAll()).object();
        const QJsonArray features = collection.value("features").toArray();
        QCOMPARE(features.size(), 1);
        QCOMPARE(features.first().toObject().value("properties").toObject().value("class").toInt(), 3);

        QVERIFY(!page.exportCsv(m_dir.filePath("no/such/folder/spots.csv"), &error));
        QVERIFY(!error.isEmpty());
    }

    // What the page says of the scan follows a language switch.
    void stateFollowsTheLanguage()
    {
        HotSpotPage page;
        page.scan(m_photos);
        QVERIFY(waitForScan(page));
        QLabel *state = page.findChild<QLabel *>("lab_scanState");
        QVERIFY(state->text().contains(QString::fromUtf8("扫描完成")));
        QTranslator english;
        QVERIFY(english.load(":/res/language/english.qm"));
        QCoreApplication::installTranslator(&english);
        page.retranslate();
        QCoreApplication::removeTranslator(&english);
        QCOMPARE(state->text(), QString("Scan finished: 3 anomalies in 4 photographs. 1 photographs could not be read."));
    }

    // A photograph whose camera parameters were corrected after the scan has its rows found
    // again with the new temperatures, without a new scan; the other photographs' rows stay.
    void aChangedPhotographIsScannedAgain()
    {
        const QString a = writeScene(m_dir.filePath("calibrated-a.jpg"), {hotCell({20, 60}, 5, 25.0f)}, true,
                                     ContainerKind::InfoBlockCalibrated);
        const QString b = writeScene(m_dir.filePath("calibrated-b.jpg"), {hotCell({100, 30}, 4, 20.0f)}, true,
                                     ContainerKind::InfoBlockCalibrated);
        HotSpotPage page;
        page.scan({a, b});
        QVERIFY(waitForScan(page));
        const QStringList before = rowValues(*page.model());
        QCOMPARE(before.filter("calibrated-a").size(), 1);
        QCOMPARE(before.filter("calibrated-b").size(), 1);

        QCOMPARE(PhotoStore::program().load(a), 0);
        CameraCorrection correction;
        correction.emissivity = 60;
        QString error;
        QVERIFY2(PhotoStore::program().correctCamera(a, correction, &error), qPrintable(error));
        const auto selectedPath = [&] {
            const QModelIndex current = page.table()->currentIndex();
            return current.isValid() ? page.model()->at(page.filter()->mapToSource(current).row()).path : QString();
        };
        for (int row = 0; row < page.table()->model()->rowCount(); ++row)
            if (page.model()->at(page.filter()->mapToSource(page.table()->model()->index(row, 0)).row()).path == a)
                page.table()->setCurrentIndex(page.table()->model()->index(row, HotSpotModel::File));
        QCOMPARE(selectedPath(), a);
        page.photographChanged(a);
        page.photographChanged(m_photos.first()); // not among those scanned: nothing to do
        QVERIFY(!page.scanner()->running());
        QTRY_VERIFY_WITH_TIMEOUT(rowValues(*page.model()) != before, 10000);
        QTRY_VERIFY(!page.findChild<QLabel *>("lab_scanState")->text().contains(QString::fromUtf8("重新扫描")));

        const QStringList after = rowValues(*page.model());
        QCOMPARE(after.filter("calibrated-b"), before.filter("calibrated-b"));
        QCOMPARE(selectedPath(), a); // the selection stays on the photograph
        PhotoRecord record;
        const PhotoHotSpots fresh = scanPhotoHotSpots(QFile::encodeName(a), page.settings(), record);
        QCOMPARE(fresh.found.spots.size(), 1);
        const FoundHotSpot *row = nullptr;
        for (const FoundHotSpot &found : page.model()->rows())
            if (found.path == a)
                row = &found;
        QVERIFY(row);
        QCOMPARE(row->spot.max, fresh.found.spots.first().max);
        QCOMPARE(row->spot.deltaT, fresh.found.spots.first().deltaT);
        QCOMPARE(row->reference, fresh.found.reference);
        QVERIFY(after.filter("calibrated-a") != before.filter("calibrated-a"));
        QFile::remove(sidecarPath(a));
    }

    // A photograph that cannot be read when it is scanned again loses its rows and is counted
    // among those that could not be read, until it is read again.
    void aPhotographUnreadableOnRescanIsCounted()
    {
        const QString a = writeScene(m_dir.filePath("vanishing.jpg"), {hotCell({20, 60}, 5, 25.0f)}, true);
        HotSpotPage page;
        page.scan({a, m_photos.first()});
        QVERIFY(waitForScan(page));
        QCOMPARE(rowValues(*page.model()).filter("vanishing").size(), 1);
        const auto *state = page.findChild<QLabel *>("lab_scanState");
        const QString unreadableOne = QString::fromUtf8("1 张图片无法读取");
        QVERIFY(!state->text().contains(unreadableOne));

        const QByteArray kept = [&] { QFile f(a); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        {
            QFile f(a);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("not a photograph");
        }
        page.photographChanged(a);
        QTRY_VERIFY_WITH_TIMEOUT(rowValues(*page.model()).filter("vanishing").isEmpty(), 10000);
        QTRY_VERIFY(state->text().contains(unreadableOne));

        {
            QFile f(a);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(kept);
        }
        page.photographChanged(a);
        QTRY_VERIFY_WITH_TIMEOUT(rowValues(*page.model()).filter("vanishing").size() == 1, 10000);
        QTRY_VERIFY(!state->text().contains(unreadableOne));
    }

    // The fields are remembered for the next page.
    void settingsAreRemembered()
    {
        AppSettings::instance().load();
        {
            HotSpotPage page;
            page.findChildren<QDoubleSpinBox *>().first()->setValue(7.5);
            page.scan({m_photos.at(1)});
            QVERIFY(waitForScan(page));
        }
        HotSpotPage again;
        QCOMPARE(again.settings().threshold, 7.5f);
        AppSettings::instance().removeKey("HotSpots");
    }
};

QTEST_MAIN(TestHotSpotPage)
#include "tst_hotspotpage.moc"
