// Corrected camera parameters: the engine's ranges in the user's units, the reconversion of a
// calibrated photograph with them, and the sidecar that keeps them beside the photograph.
#include "diagnostics.h"
#include "photofixtures.h"
#include "photoloader.h"
#include "photorecord.h"
#include "photostore.h"
#include "sidecar.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtConcurrent>
#include <QtTest>

#include <atomic>

class TestCameraCorrection : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const PhotoSpec &shot)
    {
        const QString file = m_dir.filePath(name);
        writePhoto(file, shot);
        PhotoStore::program().forget(file);
        QFile::remove(sidecarPath(file));
        return file;
    }

    static void compareMatrix(const QString &file, const std::vector<float> &expected)
    {
        const PhotoRecord r = PhotoStore::program().snapshot(file);
        QCOMPARE(std::size_t(r.matrix->valueCount()), expected.size());
        QVERIFY(std::equal(r.matrix->begin(), r.matrix->end(), expected.begin()));
    }

private slots:
    void initTestCase() { setDiagnosticStream(nullptr); }

    void rangesAreTheEnginesInTheUsersUnits()
    {
        // Distance is tenths of a metre to the engine, the reflected temperature tenths of °C:
        // the ends of its ranges are accepted, one step beyond them refused with the range named.
        QVERIFY(cameraRangeError(CameraField::Distance, 0.5).isEmpty());
        QVERIFY(cameraRangeError(CameraField::Distance, 500).isEmpty());
        QVERIFY(cameraRangeError(CameraField::Distance, 0.4).contains("0.5"));
        QVERIFY(!cameraRangeError(CameraField::Distance, 500.1).isEmpty());
        QVERIFY(cameraRangeError(CameraField::Reflected, -40).isEmpty());
        QVERIFY(cameraRangeError(CameraField::Reflected, 550).isEmpty());
        QVERIFY(!cameraRangeError(CameraField::Reflected, -40.1).isEmpty());
        QVERIFY(cameraRangeError(CameraField::Emissivity, 1).isEmpty());
        QVERIFY(cameraRangeError(CameraField::Emissivity, 0).contains("100"));
        QVERIFY(!cameraRangeError(CameraField::Emissivity, 100.6).isEmpty());
        QVERIFY(cameraRangeError(CameraField::Humidity, 0).isEmpty());
        QVERIFY(!cameraRangeError(CameraField::Humidity, -1).isEmpty());
        QVERIFY(!cameraRangeError(CameraField::Humidity, qQNaN()).isEmpty());
        QVERIFY(!cameraRangeError(CameraField::Distance, 1e300).isEmpty());

        CameraCorrection c;
        c.distance = 12.5;
        c.reflected = -3.25;
        const MeasureParams p = correctedParams(MeasureParams(), c);
        QCOMPARE(int(p.distance), 125);
        QCOMPARE(int(p.reflectedTemp), -33); // rounded to the engine's step
        QCOMPARE(int(p.emissivity), 100);    // not corrected: the block's value stays
        QCOMPARE(correctedText(CameraField::Reflected, -0.04), QString::fromUtf8("0.0℃"));
        QCOMPARE(correctedText(CameraField::Distance, 12.5), QString("12.5m"));
    }

    void correctionReconvertsCalibratedPhotographs()
    {
        PhotoSpec shot = specOf(ContainerKind::InfoBlockCalibrated);
        const QString file = write("calibrated.jpg", shot);
        QCOMPARE(PhotoStore::program().load(file), 0);
        QVERIFY(PhotoStore::program().snapshot(file).calibrated);
        const float before = PhotoStore::program().snapshot(file).stats.max;

        CameraCorrection c;
        c.emissivity = 80;
        c.distance = 12.5;
        c.humidity = 30;
        c.reflected = 30.5;
        PhotoStore::program().update(file, [&c](PhotoRecord &record) { record.correction = c; });
        QCOMPARE(PhotoStore::program().load(file), 0);
        // The engine's matrix for exactly these parameters, and whole-frame statistics from it.
        PhotoSpec corrected = shot;
        corrected.calibration.emissivity = 80;
        corrected.calibration.distance = 125;
        corrected.calibration.humidity = 30;
        corrected.calibration.reflectedTemp = 305;
        const std::vector<float> expected = expectedTemperatures(corrected);
        compareMatrix(file, expected);
        const PhotoRecord r = PhotoStore::program().snapshot(file);
        QCOMPARE(r.stats.max, *std::max_element(expected.begin(), expected.end()));
        QVERIFY(r.stats.max != before);
        QCOMPARE(r.texts[TextEmissivity], QString("80%"));
        QCOMPARE(r.texts[TextDistance], QString("12.5m"));
        QCOMPARE(r.texts[TextHumidity], QString("30%rh"));
        QCOMPARE(r.texts[TextReflectedTemp], QString::fromUtf8("30.5℃"));
        QCOMPARE(*PhotoStore::program().turnedMatrix(file), *r.matrix);
    }

    void aLoadNeverKeepsAMatrixOfAReplacedCorrection()
    {
        // A background load that started before the user's correction must not leave its
        // matrix behind once the correction's own load has finished.
        PhotoSpec shot = specOf(ContainerKind::InfoBlockCalibrated, 160, 120);
        const QString file = write("raced.jpg", shot);
        QCOMPARE(PhotoStore::program().load(file), 0);
        std::atomic<bool> stop{false};
        QFuture<void> loads = QtConcurrent::run([&] {
            while (!stop)
                PhotoStore::program().load(file);
        });
        QString error;
        for (int i = 0; i < 150; ++i) {
            CameraCorrection c;
            c.emissivity = 50 + i % 40;
            QVERIFY(PhotoStore::program().correctCamera(file, c, &error));
        }
        stop = true;
        loads.waitForFinished();
        shot.calibration.emissivity = 50 + 149 % 40;
        compareMatrix(file, expectedTemperatures(shot));
        QFile::remove(sidecarPath(file));
    }

    void correctCameraRefusesWithoutChange()
    {
        const QString direct = write("refused-direct.jpg", specOf(ContainerKind::InfoBlockDirect));
        QCOMPARE(PhotoStore::program().load(direct), 0);
        CameraCorrection c;
        c.emissivity = 80;
        QString error;
        QVERIFY(!PhotoStore::program().correctCamera(direct, c, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(PhotoStore::program().snapshot(direct).correction.isEmpty());
        QVERIFY(!QFileInfo::exists(sidecarPath(direct)));

        const PhotoSpec shot = specOf(ContainerKind::InfoBlockCalibrated);
        const QString calibrated = write("refused-range.jpg", shot);
        QCOMPARE(PhotoStore::program().load(calibrated), 0);
        const PhotoRecord before = PhotoStore::program().snapshot(calibrated);
        c.emissivity = 0;
        QVERIFY(!PhotoStore::program().correctCamera(calibrated, c, &error));
        QVERIFY(error.contains("100"));
        const PhotoRecord after = PhotoStore::program().snapshot(calibrated);
        QVERIFY(after.correction.isEmpty());
        QCOMPARE(after.matrix, before.matrix); // the same block: nothing converted again
        QVERIFY(!QFileInfo::exists(sidecarPath(calibrated)));
    }

    void directPhotographsIgnoreACorrection()
    {
        const PhotoSpec shot = specOf(ContainerKind::InfoBlockDirect);
        const QString file = write("direct.jpg", shot);
        QCOMPARE(PhotoStore::program().load(file), 0);
        const QStringList texts = PhotoStore::program().snapshot(file).texts;
        QVERIFY(!PhotoStore::program().snapshot(file).calibrated);
        PhotoStore::program().update(file, [](PhotoRecord &record) { record.correction.emissivity = 50; });
        QCOMPARE(PhotoStore::program().load(file), 0);
        compareMatrix(file, expectedTemperatures(shot));
        QCOMPARE(PhotoStore::program().snapshot(file).texts, texts);
    }

    void sidecarRoundTripsAndIsReadOnFirstLoad()
    {
        const PhotoSpec shot = specOf(ContainerKind::InfoBlockCalibrated);
        const QString file = write("saved.jpg", shot);
        const QByteArray original = [&] {
            QFile f(file);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        PhotoSettings s;
        s.correction.emissivity = 90;
        s.paletteIndex = 4;
        s.rendering = Rendering::Temperatures;
        s.span = {false, 15.5f, 40.0f};
        QString error;
        QVERIFY(writeSidecar(file, s, &error));
        PhotoSettings back;
        QVERIFY(readSidecar(file, back, &error));
        QVERIFY(back == s);

        // A later version's keys survive a rewrite.
        {
            QFile f(sidecarPath(file));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QJsonObject root = QJsonDocument::fromJson(f.readAll()).object();
            f.close();
            root["layout"] = QJsonArray{QJsonObject{{"kind", "rect"}}};
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QJsonDocument(root).toJson());
        }
        s.paletteIndex = 2;
        QVERIFY(writeSidecar(file, s, &error));
        {
            QFile f(sidecarPath(file));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(QJsonDocument::fromJson(f.readAll()).object().contains("layout"));
        }

        QCOMPARE(PhotoStore::program().load(file), 0);
        const PhotoRecord r = PhotoStore::program().snapshot(file);
        QVERIFY(settingsOf(r) == s);
        QVERIFY(r.sidecarError.isEmpty());
        PhotoSpec corrected = shot;
        corrected.calibration.emissivity = 90;
        compareMatrix(file, expectedTemperatures(corrected));
        // The photograph itself is never written.
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), original);

        // Without sidecars (a command's choice) the stored values are used.
        PhotoStore::program().forget(file);
        setSidecarsRead(false);
        QCOMPARE(PhotoStore::program().load(file), 0);
        setSidecarsRead(true);
        compareMatrix(file, expectedTemperatures(shot));
    }

    void aCommandsValuesGoOverTheSidecars()
    {
        const PhotoSpec shot = specOf(ContainerKind::InfoBlockCalibrated);
        const QString file = write("overridden.jpg", shot);
        PhotoSettings s;
        s.correction.emissivity = 90;
        s.correction.humidity = 20;
        QString error;
        QVERIFY(writeSidecar(file, s, &error));
        CameraCorrection flags;
        flags.emissivity = 85;
        flags.distance = 12.5;
        PhotoRecord r;
        QCOMPARE(loadNewPhoto(QFile::encodeName(file), r, nullptr, flags), 0);
        PhotoSpec expected = shot;
        expected.calibration.emissivity = 85;
        expected.calibration.humidity = 20;
        expected.calibration.distance = 125;
        const std::vector<float> t = expectedTemperatures(expected);
        QVERIFY(std::equal(r.matrix->begin(), r.matrix->end(), t.begin()));
        QCOMPARE(r.texts[TextEmissivity], QString("85%"));
        QCOMPARE(r.texts[TextHumidity], QString("20%rh"));
    }

    void defaultsCreateNoFile()
    {
        const QString file = write("plain.jpg", specOf(ContainerKind::InfoBlockDirect));
        QString error;
        QVERIFY(writeSidecar(file, PhotoSettings(), &error));
        QVERIFY(!QFileInfo::exists(sidecarPath(file)));
    }

    void badSidecarsNeverStopAPhotograph_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not json") << QByteArray("{\"version\":1, \"camera\": ");
        QTest::newRow("array") << QByteArray("[1,2]");
        QTest::newRow("emissivity out of range") << QByteArray("{\"version\":1,\"camera\":{\"emissivity\":0}}");
        QTest::newRow("text for a number") << QByteArray("{\"version\":1,\"camera\":{\"distance\":\"far\"}}");
        QTest::newRow("reversed span")
            << QByteArray("{\"version\":1,\"span\":{\"automatic\":false,\"low\":40,\"high\":10}}");
        QTest::newRow("no version") << QByteArray("{\"palette\":3}");
    }

    void badSidecarsNeverStopAPhotograph()
    {
        QFETCH(QByteArray, content);
        const PhotoSpec shot = specOf(ContainerKind::InfoBlockCalibrated);
        const QString file = write("bad.jpg", shot);
        QFile f(sidecarPath(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        QCOMPARE(PhotoStore::program().load(file), 0);
        const PhotoRecord r = PhotoStore::program().snapshot(file);
        QVERIFY(r.sidecarError.contains("bad.jpg.qct.json"));
        QVERIFY(settingsOf(r) == PhotoSettings());
        compareMatrix(file, expectedTemperatures(shot));
    }

    void unwritableSidecarIsReported()
    {
        const QString file = write("locked.jpg", specOf(ContainerKind::InfoBlockDirect));
        // A directory in the sidecar's place cannot be replaced, even by root.
        QVERIFY(QDir().mkpath(sidecarPath(file)));
        PhotoSettings s;
        s.paletteIndex = 1;
        QString error;
        QVERIFY(!writeSidecar(file, s, &error));
        QVERIFY(error.contains("locked.jpg.qct.json"));
        PhotoSettings read;
        QVERIFY(!readSidecar(file, read, &error));
        QCOMPARE(PhotoStore::program().load(file), 0);
        QVERIFY(!PhotoStore::program().snapshot(file).sidecarError.isEmpty());
        QVERIFY(QDir(sidecarPath(file)).removeRecursively());
    }
};

QTEST_GUILESS_MAIN(TestCameraCorrection)
#include "tst_cameracorrection.moc"
