// The store's matrices stay within the memory budget, a dropped one comes back from the file with
// the same values (and the record's correction), and what a reader took out stays as it was.
#include "diagnostics.h"
#include "photofixtures.h"
#include "photorecord.h"
#include "photostore.h"

#include <QtTest>

class TestPhotoStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    PhotoStore m_store;
    QStringList m_photos;
    static constexpr qint64 kPhotoBytes = 64 * 48 * 4;

    bool resident(const QString &path) { return m_store.isResident(path); }

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
            m_store.forget(p);
        m_store.setKeptPhotos({});
        m_store.setMatrixBudget(3 * kPhotoBytes);
    }

    void aSnapshotStaysWhateverTheStoreDoesAfterwards()
    {
        m_store.setMatrixBudget(kDefaultMatrixBudget);
        QCOMPARE(m_store.load(m_photos[0]), 0);
        const PhotoRecord before = m_store.snapshot(m_photos[0]);
        const TemperatureMatrix values = *before.matrix;
        // Turned copies are made on demand from the record's own block and count in the budget.
        m_store.setRotationState(m_photos[0], 1);
        const SharedMatrix turned = m_store.turnedMatrix(m_photos[0]);
        QCOMPARE(*turned, quarterTurned(values));
        QCOMPARE(m_store.residentMatrixBytes(), 2 * kPhotoBytes);
        QCOMPARE(m_store.turnedMatrix(m_photos[0]).get(), turned.get());
        // A reload keeps the turn and makes the copy again from the new block.
        QCOMPARE(m_store.load(m_photos[0]), 0);
        QCOMPARE(m_store.rotationState(m_photos[0]), 1);
        QVERIFY(m_store.turnedMatrix(m_photos[0]).get() != turned.get());
        QCOMPARE(*m_store.turnedMatrix(m_photos[0]), *turned);
        // Edits and forgetting reach the store, never what was taken out of it.
        QVERIFY(m_store.update(m_photos[0], [](PhotoRecord &r) { r.paletteIndex = 4; }));
        m_store.forget(m_photos[0]);
        QVERIFY(!m_store.contains(m_photos[0]));
        QVERIFY(!m_store.update(m_photos[0], [](PhotoRecord &r) { r.paletteIndex = 5; }));
        QVERIFY(!m_store.turnedMatrix(m_photos[0]));
        QCOMPARE(before.paletteIndex, -1);
        QCOMPARE(*before.matrix, values);
        QCOMPARE(*turned, quarterTurned(values));
        QCOMPARE(m_store.residentMatrixBytes(), 0);
        // The program's own store never saw any of it.
        QVERIFY(!PhotoStore::program().contains(m_photos[0]));
    }

    void aTurnedCopyIsDroppedByTheBudgetAndMadeAgain()
    {
        m_store.setMatrixBudget(2 * kPhotoBytes);
        QCOMPARE(m_store.load(m_photos[0]), 0);
        QCOMPARE(m_store.load(m_photos[1]), 0);
        m_store.setRotationState(m_photos[0], 3);
        const SharedMatrix turned = m_store.turnedMatrix(m_photos[0]); // over the budget: 1 goes
        QVERIFY(m_store.residentMatrixBytes() <= 2 * kPhotoBytes);
        QVERIFY(!resident(m_photos[1]));
        m_store.setRotationState(m_photos[1], 2);
        const SharedMatrix other = m_store.turnedMatrix(m_photos[1]); // read again, turned; 0 goes
        QVERIFY(!resident(m_photos[0]));
        QVERIFY(m_store.residentMatrixBytes() <= 2 * kPhotoBytes);
        QCOMPARE(*other, quarterTurned(quarterTurned(*m_store.residentMatrix(m_photos[1]))));
        QCOMPARE(*m_store.turnedMatrix(m_photos[0]), *turned);
    }

    void leastRecentlyUsedGoFirstKeptLast()
    {
        m_store.setKeptPhotos({m_photos[0]});
        for (const QString &p : m_photos)
            QCOMPARE(m_store.load(p), 0);
        QVERIFY(m_store.residentMatrixBytes() <= 3 * kPhotoBytes);
        // The kept one and the two loaded last stay; the others keep their small part.
        QVERIFY(resident(m_photos[0]));
        QVERIFY(resident(m_photos[6]));
        QVERIFY(resident(m_photos[7]));
        for (int i = 1; i < 6; ++i) {
            QVERIFY(!resident(m_photos[i]));
            PhotoRecord r;
            QVERIFY(m_store.summary(m_photos[i], r));
            QVERIFY(!r.matrix); // nothing was read again
            QVERIFY(r.hasTemperature);
            QVERIFY(r.stats.max != NA_TEMPERATURE);
            QCOMPARE(r.texts.size(), int(DisplayTextCount));
        }
    }

    void droppedMatricesComeBackUnchanged()
    {
        std::vector<TemperatureMatrix> first;
        std::vector<TempStats> stats;
        m_store.setMatrixBudget(kDefaultMatrixBudget);
        for (const QString &p : m_photos) {
            QCOMPARE(m_store.load(p), 0);
            first.push_back(*m_store.snapshot(p).matrix);
            stats.push_back(m_store.snapshot(p).stats);
        }
        // A correction set before the matrix is dropped is honoured when it comes back.
        CameraCorrection c;
        c.emissivity = 77;
        QString error;
        QVERIFY(m_store.correctCamera(m_photos[1], c, &error));
        first[1] = *m_store.snapshot(m_photos[1]).matrix;
        stats[1] = m_store.snapshot(m_photos[1]).stats;
        QFile::remove(m_photos[1] + ".qct.json");
        // The sidecar is gone, the record keeps it.
        m_store.update(m_photos[1], [&c](PhotoRecord &record) { record.correction = c; });

        m_store.setMatrixBudget(kPhotoBytes);
        QCOMPARE(m_store.load(m_photos[7]), 0);
        QVERIFY(m_store.residentMatrixBytes() <= kPhotoBytes);
        for (int i = 0; i < m_photos.size(); ++i) {
            // Copies and grids read the matrix again; only one stays.
            const PhotoRecord r = m_store.snapshot(m_photos[i]);
            QCOMPARE(*r.matrix, first[std::size_t(i)]);
            QCOMPARE(r.stats.max, stats[std::size_t(i)].max);
            QVERIFY(m_store.residentMatrixBytes() <= kPhotoBytes);
        }
        QCOMPARE(*m_store.residentMatrix(m_photos[1]), first[1]);
    }

    void aDroppedPhotographWhoseFileWentAwayHasNoTemperatures()
    {
        const QString path = m_dir.filePath("gone.jpg");
        writePhoto(path, specOf(ContainerKind::InfoBlockDirect));
        QCOMPARE(m_store.load(path), 0);
        m_store.setMatrixBudget(0);
        QCOMPARE(m_store.load(m_photos[0]), 0); // drops the other one
        QVERIFY(!resident(path));
        QVERIFY(QFile::remove(path));
        const PhotoRecord r = m_store.snapshot(path);
        QVERIFY(!r.hasTemperature);
        QVERIFY(r.matrix);
        QVERIFY(!m_store.residentMatrix(path));
    }
};

QTEST_GUILESS_MAIN(TestPhotoStore)
#include "tst_photostore.moc"
