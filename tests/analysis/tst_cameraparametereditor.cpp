// Correcting camera parameters on the analysis page: the typed value converts the photograph
// again, and everything read from its matrix follows; refused values change nothing.
#include "../export/exporttesthelpers.h"
#include "cameraparametereditor.h"
#include "itemtables.h"
#include "mygraphicitem.h"
#include "mygraphicsscene.h"
#include "mymsgboxdlg.h"
#include "photogenerator.h"
#include "photorecord.h"
#include "openedphotos.h"
#include "photostore.h"
#include "qgraphicspaint.h"
#include "screenlayout.h"
#include "settingpage.h"
#include "sidecar.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

PhotoSpec calibratedShot(float shift)
{
    PhotoSpec shot;
    shot.kind = ContainerKind::InfoBlockCalibrated;
    shot.width = 64;
    shot.height = 48;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            shot.temperatures.push_back(shift + 0.2f * float(x) + 0.5f * float(y));
    shot.camera.gimbalType = "PV245";
    return shot;
}

void type(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

} // namespace

class TestCameraParameterEditor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_list;

    QString write(const QString &name, const PhotoSpec &shot)
    {
        const QString path = m_dir.filePath(name);
        writePhoto(path, shot);
        return path;
    }

private slots:
    void initTestCase()
    {
        
        m_list << write("IR_0001.jpg", calibratedShot(20)) << write("IR_0002.jpg", calibratedShot(30));
        PhotoSpec direct = calibratedShot(40);
        direct.kind = ContainerKind::InfoBlockDirect;
        direct.camera.gimbalType = "QT640";
        m_list << write("IR_0003.jpg", direct);
    }

    void correctionMovesEveryReading()
    {
        SettingPage page;
        page.setupView(480, 640);
        page.resize(1400, 800);
        page.show();
        page.slot_selectImg(m_list, 0);
        QTRY_COMPARE(currentPhotoRecord().path, m_list[0]);
        const QString photo = m_list[0];

        // A rectangle over the whole left half, drawn with the mouse.
        page.on_drawButtonClick(ToolRect);
        QWidget *viewport = page.view()->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        QMouseEvent move(QEvent::MouseMove, QPointF(viewport->width() / 2, viewport->height() - 3), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(viewport->width() / 2, viewport->height() - 3));
        QTRY_VERIFY(itemTables()[photo].contains("Re1"));
        const float before = itemTables()[photo]["Re1"]->stats().max;

        QLineEdit *emissivity = page.findChild<QLineEdit *>("lineEdit_emissivity");
        QVERIFY(!emissivity->isReadOnly());
        type(emissivity, "70");

        // The engine's matrix for the new emissivity, and the rectangle reads from it.
        PhotoSpec expectedShot = calibratedShot(20);
        expectedShot.calibration.emissivity = 70;
        const std::vector<float> expected = expectedTemperatures(expectedShot);
        const PhotoRecord record = PhotoStore::program().snapshot(photo);
        QVERIFY(std::equal(record.matrix->begin(), record.matrix->end(), expected.begin()));
        QCOMPARE(currentPhotoRecord().stats.max, record.stats.max);
        const float after = itemTables()[photo]["Re1"]->stats().max;
        QVERIFY(after != before);
        QVERIFY(std::find(expected.begin(), expected.end(), after) != expected.end());
        QCOMPARE(emissivity->text(), QString("70%"));
        QVERIFY(QFileInfo::exists(sidecarPath(photo)));

        // Out of range: refused with the range named, nothing changes.
        {
            MessageBoxCloser closer;
            type(page.findChild<QLineEdit *>("lineEdit_distance"), "0.2");
            QTRY_COMPARE(closer.texts.size(), 1);
            QVERIFY(closer.texts[0].contains("0.5"));
        }
        QCOMPARE(PhotoStore::program().snapshot(photo).matrix, record.matrix);
        QVERIFY(!PhotoStore::program().snapshot(photo).correction.distance);
        QCOMPARE(itemTables()[photo]["Re1"]->stats().max, after);

        // "Apply to all" gives the other calibrated photograph the same values and leaves the
        // direct one alone.
        page.findChild<QPushButton *>("btn_applyParametersToAll")->click();
        page.waitForLoad();
        QTRY_COMPARE(PhotoStore::program().snapshot(m_list[1]).correction.emissivity.value_or(0), 70.0);
        PhotoSpec second = calibratedShot(30);
        second.calibration.emissivity = 70;
        const std::vector<float> secondExpected = expectedTemperatures(second);
        const PhotoRecord secondRecord = PhotoStore::program().snapshot(m_list[1]);
        QVERIFY(std::equal(secondRecord.matrix->begin(), secondRecord.matrix->end(), secondExpected.begin()));
        QVERIFY(PhotoStore::program().snapshot(m_list[2]).correction.isEmpty());

        // The direct photograph's fields are read-only and say why.
        page.findChild<QPushButton *>("btn_nextImg")->click();
        page.findChild<QPushButton *>("btn_nextImg")->click();
        QTRY_COMPARE(currentPhotoRecord().path, m_list[2]);
        QVERIFY(emissivity->isReadOnly());
        QVERIFY(!emissivity->toolTip().isEmpty());
        QVERIFY(!page.findChild<QPushButton *>("btn_applyParametersToAll")->isEnabled());
        page.cancelLoad();
        page.waitForLoad();
    }

    void settingsReturnInALaterRun()
    {
        const QString photo = m_list[1];
        {
            SettingPage page;
            page.setupView(480, 640);
            page.show();
            currentPhotoRecord() = PhotoRecord();
            page.slot_selectImg(m_list, 1);
            QTRY_COMPARE(currentPhotoRecord().path, photo);
            auto *palettes = page.findChild<QListWidget *>("listWidget");
            emit palettes->itemClicked(palettes->item(1));
            QCOMPARE(PhotoStore::program().snapshot(photo).paletteIndex, 5);
            page.cancelLoad();
            currentPhotoRecord() = PhotoRecord();
            page.waitForLoad();
        }
        // A new run knows nothing but the files.
        for (const QString &p : m_list)
            PhotoStore::program().forget(p);
        currentPhotoRecord() = PhotoRecord();
        SettingPage page;
        page.setupView(480, 640);
        page.show();
        page.slot_selectImg(m_list, 1);
        QTRY_COMPARE(currentPhotoRecord().path, photo);
        QCOMPARE(currentPhotoRecord().paletteIndex, 5);
        QCOMPARE(currentPhotoRecord().correction.emissivity.value_or(0), 70.0); // from "apply to all"
        QCOMPARE(page.findChild<QListWidget *>("listWidget")->currentItem()->data(Qt::UserRole).toInt(), 5);
        QCOMPARE(page.findChild<QLineEdit *>("lineEdit_emissivity")->text(), QString("70%"));
        page.cancelLoad();
        page.waitForLoad();
    }

    void typedValuesWithTheirUnits()
    {
        double v = 0;
        QVERIFY(CameraParameterEditor::parseTyped("95%", v) && v == 95);
        QVERIFY(CameraParameterEditor::parseTyped(" 12,5m ", v) && v == 12.5);
        QVERIFY(CameraParameterEditor::parseTyped(QString::fromUtf8("-3.5℃"), v) && v == -3.5);
        QVERIFY(CameraParameterEditor::parseTyped("60%rh", v) && v == 60);
        QVERIFY(!CameraParameterEditor::parseTyped("abc", v));
        QVERIFY(!CameraParameterEditor::parseTyped("5 5", v));
        QVERIFY(!CameraParameterEditor::parseTyped("", v));
    }
};

QTEST_MAIN(TestCameraParameterEditor)
#include "tst_cameraparametereditor.moc"
