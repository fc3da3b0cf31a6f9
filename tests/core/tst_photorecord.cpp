#include "diagnostics.h"
#include "photofixtures.h"
#include "photoloader.h"
#include "photostore.h"
#include "temperatureformat.h"

#include <QtTest>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace {
const QString C = QString::fromUtf8("℃");
}

class TestPhotoRecord : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const PhotoSpec &shot)
    {
        const QString file = m_dir.filePath(name);
        writePhoto(file, shot);
        return file;
    }

private slots:
    void initTestCase() { setDiagnosticStream(nullptr); }

    void infoBlockTexts()
    {
        PhotoSpec shot = specOf(ContainerKind::InfoBlockDirect);
        shot.camera.tempUnit = 1;
        shot.camera.airTemp = 235;
        shot.camera.reflectTemp = 1001; // out of range: NA, shown as 0.0 with its unit
        shot.camera.humidity = 55;
        shot.camera.emissivity = 97;
        shot.camera.transRate = 88;
        shot.camera.distance = 12;
        shot.camera.gimbalType = "QT640";
        shot.camera.version = "V3.0";
        shot.camera.cavityTemp = 412;
        shot.camera.focalPlaneTemp = 0;
        shot.camera.lastFlatField = "2024-06-01 09:29:58";
        shot.camera.gainMode = 1;
        shot.exif.hasGps = true;
        shot.exif.gps.latitudeRef = 'S';
        shot.exif.gps.latitude[0] = {22, 1};
        shot.exif.gps.latitude[1] = {30, 1};
        shot.exif.gps.longitudeRef = 'E';
        shot.exif.gps.longitude[0] = {113, 1};
        shot.exif.gps.altitudeRef = 1;
        shot.exif.gps.altitude = {100, 1};
        const QString file = write("texts.jpg", shot);
        QCOMPARE(PhotoStore::program().load(file), 0);
        const PhotoRecord r = PhotoStore::program().snapshot(file);
        const QStringList expected = {
            "0.0K", "23.5K", "55%rh", "97%", "88%", "12.0m", "QT640", "V3.0", "2023/05/01 10:20:30",
            "2023/05/02 11:21:31", "64px * 48px", "41.2K", "0.0K", "2024/06/01 09:29:58",
            QString::fromUtf8("低增益"), "E113.000000,S-22.500000", "-100.0m"};
        QCOMPARE(r.texts, expected);
        QCOMPARE(r.path, file);
        QVERIFY(r.hasTemperature);
        QCOMPARE(r.width, 64);
        QCOMPARE(r.height, 48);
        QCOMPARE(r.paletteIndex, -1);
        QCOMPARE(r.alarmMode, -1);
        QCOMPARE(r.stats.max, 95.5f);
        QCOMPARE(r.unit, TemperatureUnit::Kelvin);

        // Units: 2 is Fahrenheit, anything else Celsius, including a unit that reads NA.
        for (std::uint16_t unit : {2, 0, 7, 1001}) {
            shot.camera.tempUnit = unit;
            const QString f = write(QString("unit%1.jpg").arg(unit), shot);
            QCOMPARE(PhotoStore::program().load(f), 0);
            QCOMPARE(PhotoStore::program().snapshot(f).texts[TextAirTemp], "23.5" + (unit == 2 ? QString::fromUtf8("℉") : C));
            QCOMPARE(PhotoStore::program().snapshot(f).unit, unit == 2 ? TemperatureUnit::Fahrenheit : TemperatureUnit::Celsius);
        }
    }

    void missingValues()
    {
        // No dates and no GPS.
        PhotoSpec shot = specOf(ContainerKind::InfoBlockCalibrated);
        shot.exif = ExifFields();
        shot.camera.gainMode = 0;
        const QString file = write("bare.jpg", shot);
        QCOMPARE(PhotoStore::program().load(file), 0);
        PhotoRecord r = PhotoStore::program().snapshot(file);
        QCOMPARE(r.texts[TextCreated], QString("NA"));
        QCOMPARE(r.texts[TextModified], QString("NA"));
        QCOMPARE(r.texts[TextGps], QString("NA"));
        QCOMPARE(r.texts[TextAltitude], QString("NA"));
        QCOMPARE(r.texts[TextGainMode], QString::fromUtf8("高增益"));
        QCOMPARE(r.texts[TextGimbalType], QString("PV245"));

        // A companion photograph has no information at all: nothing reads as a setting.
        const QString irg = write("companion.jpg", specOf(ContainerKind::CompanionIrg));
        QCOMPARE(PhotoStore::program().load(irg), 0);
        r = PhotoStore::program().snapshot(irg);
        QCOMPARE(r.texts[TextGimbalType], QString("NA"));
        QCOMPARE(r.texts[TextVersion], QString("NA"));
        QCOMPARE(r.texts[TextHumidity], QString("NA"));
        for (DisplayText t : {TextEmissivity, TextTransmittance, TextDistance, TextAirTemp, TextFocalPlaneTemp, TextLastFlatField})
            QCOMPARE(r.texts[t], QString("NA"));
        QCOMPARE(r.texts[TextReflectedTemp], QString("NA"));
        QCOMPARE(r.texts[TextCavityTemp], QString("NA"));
        QCOMPARE(r.texts[TextGainMode], QString("NA"));
        QCOMPARE(r.texts[TextGps], QString("NA"));

        // Unprintable text tags read as NA and show so in the plain forms.
        shot = specOf(ContainerKind::InfoBlockDirect);
        shot.camera.version = "V\xE4";
        const QString odd = write("odd.jpg", shot);
        QCOMPARE(PhotoStore::program().load(odd), 0);
        QCOMPARE(PhotoStore::program().snapshot(odd).texts[TextVersion], QString("NA"));
    }

    void recordLifecycle()
    {
        const PhotoSpec shot = specOf(ContainerKind::InfoBlockDirect, 160, 120);
        const QString file = write("life.jpg", shot);
        const std::vector<float> expected = expectedTemperatures(shot);
        QCOMPARE(PhotoStore::program().load(file), 0);
        {
            const PhotoRecord r = PhotoStore::program().snapshot(file);
            QCOMPARE(r.matrix->height(), 120);
            QCOMPARE(r.matrix->width(), 160);
            QCOMPARE((*r.matrix)[119][159], expected.back());
            // The record and its unturned matrix share one block.
            QCOMPARE(PhotoStore::program().turnedMatrix(file).get(), r.matrix.get());
            QCOMPARE(PhotoStore::program().rotationState(file), 0);
            PhotoStore::program().update(file, [](PhotoRecord &record) {
                record.paletteIndex = 3;
                record.alarmMode = 1;
            });
            PhotoStore::program().setRotationState(file, 2);
        }
        const QStringList texts = PhotoStore::program().snapshot(file).texts;

        // The file disappears: the next load fails, keeps the texts, drops the statistics.
        QVERIFY(QFile::remove(file));
        QVERIFY(PhotoStore::program().load(file) != 0);
        const PhotoRecord failed = PhotoStore::program().snapshot(file);
        QVERIFY(!failed.hasTemperature);
        QCOMPARE(failed.texts, texts);
        QCOMPARE(failed.stats.max, NA_TEMPERATURE);
        QCOMPARE(failed.stats.min, NA_TEMPERATURE);
        QCOMPARE(failed.stats.avg, NA_TEMPERATURE);
        QCOMPARE(failed.paletteIndex, 3); // display state is never touched by a load
        QCOMPARE(failed.alarmMode, 1);
        QCOMPARE(PhotoStore::program().snapshot(file).matrix->height(), 120);
        // A reload keeps the turn the user gave the photograph (its measurements are turned).
        QCOMPARE(PhotoStore::program().rotationState(file), 2);

        // A photograph that never loaded: a new record with one no-reading value.
        const QString never = m_dir.filePath("never.jpg");
        QVERIFY(PhotoStore::program().load(never) != 0);
        const PhotoRecord fresh = PhotoStore::program().snapshot(never);
        QCOMPARE(fresh.texts, unknownDisplayTexts());
        QCOMPARE(*fresh.matrix, TemperatureMatrix(1, 1, NA_TEMPERATURE));
        QCOMPARE(fresh.width, 0);
    }

    // The batch tools load into a record of their own: the program's photograph store stays empty, and a
    // name the locale cannot spell (byte 0xff) is opened by its bytes.
    void recordWithoutTables()
    {
        const PhotoSpec shot = specOf(ContainerKind::InfoBlockCalibrated, 160, 120);
        const QString file = write("own.jpg", shot);
        const QByteArray odd = QFile::encodeName(m_dir.path()) + "/IR_\xff.jpg";
        QCOMPARE(::rename(QFile::encodeName(file).constData(), odd.constData()), 0);
        QVERIFY(QFile::encodeName(QFile::decodeName(odd)) != odd); // the name does not survive a QString

        PhotoRecord record;
        record.paletteIndex = 7; // a new record: nothing of an earlier one stays
        PhotoType type = UnsupportedPhoto;
        QCOMPARE(loadNewPhoto(odd, record, &type), 0);
        QCOMPARE(int(type), int(InfoBlockCalibrated));
        QCOMPARE(record.paletteIndex, -1);
        QVERIFY(record.hasTemperature && record.calibrated);
        QCOMPARE(record.width, 160);
        QCOMPARE(record.texts[TextGimbalType], QString("PV245"));
        const std::vector<float> expected = expectedTemperatures(shot);
        QCOMPARE(record.matrix->height(), 120);
        QVERIFY(std::equal(record.matrix->begin(), record.matrix->end(), expected.begin()));
        QCOMPARE(record.stats.max, statsOf(expected, 160).max);
        QVERIFY(!PhotoStore::program().contains(record.path));

        // The same as the table's record of the same file.
        QCOMPARE(::link(odd.constData(), QFile::encodeName(file).constData()), 0);
        QCOMPARE(PhotoStore::program().load(file), 0);
        const PhotoRecord table = PhotoStore::program().snapshot(file);
        QCOMPARE(table.texts, record.texts);
        QCOMPARE(*table.matrix, *record.matrix);
        QCOMPARE(table.stats.avg, record.stats.avg);
        PhotoStore::program().forget(file);

        // A load that skips the whole-frame statistics builds the same matrix and texts, and
        // its record holds the statistics of no reading.
        PhotoRecord bare;
        QCOMPARE(loadNewPhoto(odd, bare, nullptr, CameraCorrection(), FrameStatistics::Skipped), 0);
        QCOMPARE(*bare.matrix, *record.matrix);
        QCOMPARE(bare.texts, record.texts);
        QCOMPARE(bare.stats.max, NA_TEMPERATURE);
        QCOMPARE(bare.stats.avg, NA_TEMPERATURE);

        // Loaded again, the record fills its matrix's block in place; a block someone else
        // holds is left as it is, and the load makes a new one.
        const float *block = record.matrix->begin();
        const PhotoSpec other = specOf(ContainerKind::InfoBlockDirect, 160, 120);
        const QString second = write("second.jpg", other);
        QCOMPARE(loadNewPhoto(QFile::encodeName(second), record), 0);
        QCOMPARE(record.matrix->begin(), block);
        const std::vector<float> secondExpected = expectedTemperatures(other);
        QVERIFY(std::equal(record.matrix->begin(), record.matrix->end(), secondExpected.begin()));
        const SharedMatrix held = record.matrix;
        QCOMPARE(loadNewPhoto(odd, record), 0);
        QVERIFY(record.matrix->begin() != block);
        QVERIFY(std::equal(held->begin(), held->end(), secondExpected.begin()));
        QVERIFY(std::equal(record.matrix->begin(), record.matrix->end(), expected.begin()));

        // A failed load into a used record leaves no temperatures in it.
        QCOMPARE(loadNewPhoto(QFile::encodeName(m_dir.filePath("absent.jpg")), record), int(LoadCannotOpen));
        QVERIFY(!record.hasTemperature);
        QCOMPARE(record.stats.max, NA_TEMPERATURE);
        QCOMPARE(*record.matrix, TemperatureMatrix(1, 1, NA_TEMPERATURE));
    }

    void temperatureFormat()
    {
        QCOMPARE(formatTemperature(23.5f), QString("23.5"));
        QCOMPARE(formatTemperature(-4.25f), QString("-4.25"));
        QCOMPARE(formatTemperature(NA_TEMPERATURE), QString("65536"));
        QCOMPARE(formatTemperature(1234567.0f), QString("1.23457e+06"));
        QCOMPARE(formatTemperature(0.0001f), QString("0.0001"));
        QCOMPARE(formatTemperature(0.00001f), QString("1e-05"));
        QCOMPARE(formatTemperature(-0.1f), QString("-0.1"));
        QCOMPARE(formatTemperature(20.0f), QString("20"));
    }
};

QTEST_GUILESS_MAIN(TestPhotoRecord)
#include "tst_photorecord.moc"
