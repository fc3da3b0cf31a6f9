// The matrices kept in the tables stay within the memory budget, and a dropped one comes back
// from the file with the same values (and the record's correction).
#include "diagnostics.h"
#include "matrixbudget.h"
#include "photofixtures.h"
#include "photorecord.h"
#include "phototables.h"

#include <QtTest>

class TestMatrixBudget : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_photos;
    static constexpr qint64 kPhotoBytes = 64 * 48 * 4;

    bool resident(const QString &path)
    {
        QMutexLocker lock(&photoTablesMutex());
        return bool(photoRecords().value(path).matrix) && rotatedMatrices().value(path).value(0);
    }

private slots:
    void initTestCase()
    {
        setDiagnosticStream(nullptr);
        for (int i = 0; i < 8; ++i) {
            PhotoSpec shot = specOf(i % 2 ? ContainerKind::InfoBlockCalibrated : ContainerKind::InfoBlockDirect);
            for (float &t : shot.temperatures)
                t += float(i);
            m_photos << m_dir.filePath(QString("IR_%1.jpg").arg(i));
            writePhoto(m_photos.last(), shot);
        }
    }

    void init()
    {
        for (const QString &p : m_photos)
            forgetPhotoRecord(p);
        setKeptPhotos({});
        setMatrixBudget(3 * kPhotoBytes);
    }

    void cleanupTestCase() { setMatrixBudget(kDefaultMatrixBudget); }

    void leastRecentlyUsedGoFirstKeptLast()
    {
        setKeptPhotos({m_photos[0]});
        for (const QString &p : m_photos)
            QCOMPARE(loadPhotoRecord(p), 0);
        QVERIFY(residentMatrixBytes() <= 3 * kPhotoBytes);
        // The kept one and the two loaded last stay; the others keep their small part.
        QVERIFY(resident(m_photos[0]));
        QVERIFY(resident(m_photos[6]));
        QVERIFY(resident(m_photos[7]));
        for (int i = 1; i < 6; ++i) {
            QVERIFY(!resident(m_photos[i]));
            const PhotoRecord r = [&] {
                QMutexLocker lock(&photoTablesMutex());
                return photoRecords().value(m_photos[i]);
            }();
            QVERIFY(r.hasTemperature);
            QVERIFY(r.stats.max != NA_TEMPERATURE);
            QCOMPARE(r.texts.size(), int(DisplayTextCount));
        }
    }

    void droppedMatricesComeBackUnchanged()
    {
        std::vector<TemperatureMatrix> first;
        std::vector<TempStats> stats;
        setMatrixBudget(kDefaultMatrixBudget);
        for (const QString &p : m_photos) {
            QCOMPARE(loadPhotoRecord(p), 0);
            first.push_back(*copyPhotoRecord(p).matrix);
            stats.push_back(copyPhotoRecord(p).stats);
        }
        // A correction set before the matrix is dropped is honoured when it comes back.
        CameraCorrection c;
        c.emissivity = 77;
        QString error;
        QVERIFY(correctCamera(m_photos[1], c, &error));
        first[1] = *copyPhotoRecord(m_photos[1]).matrix;
        stats[1] = copyPhotoRecord(m_photos[1]).stats;
        QFile::remove(m_photos[1] + ".qct.json");
        {
            QMutexLocker lock(&photoTablesMutex());
            photoRecords()[m_photos[1]].correction = c; // the sidecar is gone, the record keeps it
        }

        setMatrixBudget(kPhotoBytes);
        QCOMPARE(loadPhotoRecord(m_photos[7]), 0);
        QVERIFY(residentMatrixBytes() <= kPhotoBytes);
        for (int i = 0; i < m_photos.size(); ++i) {
            // Copies and grids read the matrix again; only one stays.
            const PhotoRecord r = copyPhotoRecord(m_photos[i]);
            QCOMPARE(*r.matrix, first[std::size_t(i)]);
            QCOMPARE(r.stats.max, stats[std::size_t(i)].max);
            QVERIFY(residentMatrixBytes() <= kPhotoBytes);
        }
        QCOMPARE(*residentMatrix(m_photos[1]), first[1]);
    }

    void aDroppedPhotographWhoseFileWentAwayHasNoTemperatures()
    {
        const QString path = m_dir.filePath("gone.jpg");
        writePhoto(path, specOf(ContainerKind::InfoBlockDirect));
        QCOMPARE(loadPhotoRecord(path), 0);
        setMatrixBudget(0);
        QCOMPARE(loadPhotoRecord(m_photos[0]), 0); // drops the other one
        QVERIFY(!resident(path));
        QVERIFY(QFile::remove(path));
        const PhotoRecord r = copyPhotoRecord(path);
        QVERIFY(!r.hasTemperature);
        QVERIFY(r.matrix);
        QVERIFY(!residentMatrix(path));
    }
};

QTEST_GUILESS_MAIN(TestMatrixBudget)
#include "tst_matrixbudget.moc"
