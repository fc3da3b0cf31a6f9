#include "csvwriter.h"
#include "exportfilethread.h"
#include "exporttesthelpers.h"
#include "snapshottables.h"
#include "photogenerator.h"
#include "photostore.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString generated(const QString &name, float shift = 0)
    {
        const QString path = m_dir.filePath(name);
        PhotoSpec shot;
        shot.width = 64;
        shot.height = 48;
        for (int i = 0; i < 64 * 48; ++i)
            shot.temperatures.push_back(shift - 20.0f + 0.37f * float(i % 997) + (i % 31 == 0 ? 1000.0f : 0.0f));
        shot.temperatures[5] = NA_TEMPERATURE;
        writePhoto(path, shot);
        return path;
    }

private slots:
    void exampleTableByteForByte()
    {
        PhotoRecord record;
        record.hasTemperature = true;
        record.matrix = sharedMatrix({{20.5f, 21.0f, 22.25f}, {19.0f, NA_TEMPERATURE, 18.5f}});
        record.texts[TextTransmittance] = "A";
        record.texts[TextEmissivity] = "B";
        record.texts[TextDistance] = "C";
        record.texts[TextAirTemp] = "D";
        record.texts[TextReflectedTemp] = "E";
        QVERIFY(writeCsvFile(m_dir.path(), "example", &record));
        const QString expected = QString::fromUtf8("参数,大气透过率,A\n,发射率,B\n,距离,C\n,大气温度,D\n,反射温度,E\n\n"
                                                   ",,0,1,2,\n帧温度,0,20.5,21,22.25,\n,1,19,65536,18.5,\n");
        QCOMPARE(readAll(m_dir.filePath("example.csv")), expected.toLocal8Bit());

        // Without temperatures: the parameter lines only. Without a record: empty values.
        record.hasTemperature = false;
        QVERIFY(writeCsvFile(m_dir.path(), "example", &record));
        QCOMPARE(readAll(m_dir.filePath("example.csv")), expected.left(expected.indexOf("\n\n") + 1).toLocal8Bit());
        QVERIFY(writeCsvFile(m_dir.path(), "bare", nullptr));
        QCOMPARE(readAll(m_dir.filePath("bare.csv")),
                 QString::fromUtf8("参数,大气透过率,\n,发射率,\n,距离,\n,大气温度,\n,反射温度,\n").toLocal8Bit());

        // A row wider than the writer's block, after a table that filled the block to its end.
        record.hasTemperature = true;
        record.matrix = sharedMatrix(TemperatureMatrix(kRawFramePixels, 1, -12.3456f));
        QVERIFY(writeCsvFile(m_dir.path(), "wide", &record));
        const QList<QByteArray> wide = readAll(m_dir.filePath("wide.csv")).split('\n');
        QCOMPARE(wide.size(), 9);
        QCOMPARE(wide[7].count(','), 2 + kRawFramePixels);
        QVERIFY(wide[7].startsWith(QString::fromUtf8("帧温度,0,-12.3456,-12.3456,").toLocal8Bit()));
    }

    void tablesForSpreadsheets()
    {
        // A byte-order mark, UTF-8 labels whatever the system's encoding, and an empty cell
        // where a pixel has no reading; the numbers are those of the plain table.
        PhotoRecord record;
        record.hasTemperature = true;
        record.matrix = sharedMatrix({{20.5f, 21.0f, 22.25f}, {19.0f, NA_TEMPERATURE, 18.5f}});
        for (DisplayText t : {TextTransmittance, TextEmissivity, TextDistance, TextAirTemp, TextReflectedTemp})
            record.texts[t] = "NA";
        QVERIFY(writeCsvFile(m_dir.path(), "excel", &record, nullptr, CsvStyle::Spreadsheet));
        const QByteArray expected = "\xEF\xBB\xBF"
            + QString::fromUtf8("参数,大气透过率,NA\n,发射率,NA\n,距离,NA\n,大气温度,NA\n,反射温度,NA\n\n"
                                ",,0,1,2,\n帧温度,0,20.5,21,22.25,\n,1,19,,18.5,\n").toUtf8();
        QCOMPARE(readAll(m_dir.filePath("excel.csv")), expected);
        // The plain table right after, on the same thread's scratch, keeps 65536.
        QVERIFY(writeCsvFile(m_dir.path(), "plain", &record));
        QVERIFY(readAll(m_dir.filePath("plain.csv")).endsWith(",1,19,65536,18.5,\n"));
    }

    void generatedPhotographReadsBack()
    {
        const QString photo = generated("field.jpg");
        QCOMPARE(PhotoStore::program().load(photo), 0);
        const PhotoRecord record = PhotoStore::program().snapshot(photo);
        QVERIFY(writeCsvFile(m_dir.path(), "field", &record));
        const QList<QByteArray> lines = readAll(m_dir.filePath("field.csv")).split('\n');
        QCOMPARE(lines.size(), 5 + 1 + 1 + 48 + 1);
        QCOMPARE(lines[6], QByteArray(",,") + [] { QByteArray h; for (int c = 0; c < 64; ++c) h += QByteArray::number(c) + ','; return h; }());
        for (int r = 0; r < 48; ++r) {
            const QList<QByteArray> fields = lines[7 + r].split(',');
            QCOMPARE(fields.size(), 2 + 64 + 1);
            QCOMPARE(fields[1].toInt(), r);
            for (int c = 0; c < 64; ++c) {
                const float t = (*record.matrix)[std::size_t(r)][std::size_t(c)];
                if (fields[2 + c] != QByteArray::number(double(t), 'g', 6))
                    QFAIL(qPrintable(QString("row %1 column %2: %3").arg(r).arg(c).arg(QString(fields[2 + c]))));
            }
        }
        QCOMPARE(lines[7].split(',')[2 + 5], QByteArray("65536"));
    }

    void labelsFollowTheLanguage()
    {
        const QString photo = generated("labels.jpg");
        QCOMPARE(PhotoStore::program().load(photo), 0);
        const PhotoRecord record = PhotoStore::program().snapshot(photo);
        for (auto [qm, first, frame] : {std::tuple<const char *, const char *, const char *>{"english", "Parameters,Atm. Transmittance,", "Frame Temperatures,0,"},
                                        {"japanese", "パラメータ,大気透過率,", "フレーム温度,0,"}}) {
            QTranslator translator;
            QVERIFY(translator.load(QString(":/res/language/%1.qm").arg(qm)));
            QCoreApplication::installTranslator(&translator);
            QVERIFY(writeCsvFile(m_dir.path(), "labels", &record));
            QCoreApplication::removeTranslator(&translator);
            const QList<QByteArray> lines = readAll(m_dir.filePath("labels.csv")).split('\n');
            QVERIFY(lines[0].startsWith(QString::fromUtf8(first).toLocal8Bit()));
            QVERIFY(lines[7].startsWith(QString::fromUtf8(frame).toLocal8Bit()));
        }
    }

    void progressValues()
    {
        QCOMPARE(ExportFileThread::progressValue(1, 3), 33);
        QCOMPARE(ExportFileThread::progressValue(2, 3), 66);
        QCOMPARE(ExportFileThread::progressValue(3, 3), 100);
        QCOMPARE(ExportFileThread::progressValue(1, 1), 100);
        // More photographs than percent: the value still moves, one percent per four.
        QCOMPARE(ExportFileThread::progressValue(3, 400), 0);
        QCOMPARE(ExportFileThread::progressValue(4, 400), 1);
        QCOMPARE(ExportFileThread::progressValue(200, 400), 50);
        QCOMPARE(ExportFileThread::progressValue(399, 400), 99);
        QCOMPARE(ExportFileThread::progressValue(400, 400), 100);
        QCOMPARE(ExportFileThread::progressValue(149, 150), 99);
    }

    void progressOfFourHundredPhotographs()
    {
        QDir().mkpath(m_dir.filePath("many"));
        QStringList snapshots;
        for (int i = 1; i <= 400; ++i) {
            const QString photo = m_dir.filePath(QString("many/IR_%1.jpg").arg(i, 4, 10, QChar('0')));
            touch(photo);
            snapshots << photo;
        }
        ExportFileThread job(m_dir.filePath("manyout"), snapshots, ExportFileThread::CsvTables);
        QSignalSpy progress(&job, &ExportFileThread::OnUpdateExportProgress);
        QSignalSpy finished(&job, &ExportFileThread::OnExportFinished);
        job.start();
        QVERIFY(job.wait(60000));
        QCOMPARE(finished.first(), (QList<QVariant>{400, 400}));
        QCOMPARE(progress.size(), 400);
        int previous = 0;
        for (int i = 0; i < progress.size(); ++i) {
            const int value = progress.at(i).at(0).toInt();
            QVERIFY2(value >= previous, qPrintable(QString("photograph %1: %2 after %3").arg(i + 1).arg(value).arg(previous)));
            previous = value;
        }
        QCOMPARE(progress.at(99).at(0).toInt(), 25);
        QCOMPARE(progress.at(199).at(0).toInt(), 50);
        QCOMPARE(progress.at(398).at(0).toInt(), 99);
        QCOMPARE(progress.last().at(0).toInt(), 100);
    }

    // A write that fails half way (as on a full disk) leaves neither the truncated table nor
    // a temporary file, and says why.
    void failedWriteLeavesNothing()
    {
        const QString photo = generated("full.jpg");
        QCOMPARE(PhotoStore::program().load(photo), 0);
        const PhotoRecord record = PhotoStore::program().snapshot(photo);
        const QString folder = m_dir.filePath("fulldisk");
        QVERIFY(QDir().mkpath(folder));
        QString error;
        {
            FileSizeLimit limit(4096);
            QVERIFY(!writeCsvFile(folder, "full", &record, &error));
        }
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), QStringList());
        QVERIFY2(error.contains("full.csv"), qPrintable(error));
        QVERIFY2(error.contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(error));
        // Written again with room, the whole table is there.
        QVERIFY(writeCsvFile(folder, "full", &record, &error));
        QVERIFY(QFileInfo(folder + "/full.csv").size() > 4096);

        // The name taken by a folder: the folder stays, nothing else appears.
        const QString blocked = m_dir.filePath("blocked");
        QVERIFY(QDir().mkpath(blocked + "/full.csv"));
        error.clear();
        QVERIFY(!writeCsvFile(blocked, "full", &record, &error));
        QVERIFY(QFileInfo(blocked + "/full.csv").isDir());
        QCOMPARE(QDir(blocked).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{"full.csv"});
        QVERIFY2(error.contains("full.csv"), qPrintable(error));

        // The job names each photograph that failed, why, and the folder.
        const QString other = generated("full2.jpg");
        QCOMPARE(PhotoStore::program().load(other), 0);
        const QString gone = m_dir.filePath("fullgone.jpg");
        ExportFileThread job(m_dir.filePath("fullout"), {photo, gone, other}, ExportFileThread::CsvTables);
        QSignalSpy finished(&job, &ExportFileThread::OnExportFinished);
        QSignalSpy failures(&job, &ExportFileThread::OnExportSummary);
        {
            FileSizeLimit limit(4096);
            job.start();
            QVERIFY(job.wait(30000));
        }
        QCOMPARE(finished.first(), (QList<QVariant>{0, 3}));
        QCOMPARE(QDir(job.exportFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList());
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures.first().at(0).toString(), job.exportFolder());
        const QStringList lines = failures.first().at(1).toStringList();
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith("full.jpg") && lines[0].contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith("fullgone.jpg") && lines[1].contains(gone), qPrintable(lines[1]));
        QVERIFY2(lines[2].startsWith("full2.jpg"), qPrintable(lines[2]));
        const QList<ExportFileThread::Failure> list = job.failures();
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[0].photo, photo);
        QCOMPARE(list[0].kind, ExportFileThread::Failure::WriteFailed);
        QCOMPARE(list[1].photo, gone);
        QCOMPARE(list[1].kind, ExportFileThread::Failure::PhotoUnreadable);
    }

    void readOnlyFolder()
    {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        const QString photo = generated("locked.jpg");
        QCOMPARE(PhotoStore::program().load(photo), 0);
        const PhotoRecord record = PhotoStore::program().snapshot(photo);
        const QString folder = m_dir.filePath("locked");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        QString error;
        const bool written = writeCsvFile(folder, "locked", &record, &error);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!written);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), QStringList());
        QVERIFY2(error.contains(QString::fromLocal8Bit(std::strerror(EACCES))), qPrintable(error));
    }

    void uniqueFolders()
    {
        const QString target = m_dir.filePath("target");
        const QString first = ExportFileThread::makeExportFolder(target);
        const QString second = ExportFileThread::makeExportFolder(target);
        QVERIFY(QFileInfo(first).isDir() && QFileInfo(second).isDir());
        QVERIFY(first != second);
        QVERIFY(QRegularExpression("/vexlo\\d{14}$").match(first).hasMatch());
        QVERIFY(second.startsWith(first.left(first.size() - 2)));
        touch(m_dir.filePath("plainfile"));
        QVERIFY(ExportFileThread::makeExportFolder(m_dir.filePath("plainfile")).isEmpty());
    }

    void jobsWriteCancelAndCount()
    {
        QStringList snapshots;
        for (const char *name : {"IR_0001", "IR_0002", "IR_0003"}) {
            const QString photo = generated(QString(name) + ".jpg");
            QCOMPARE(PhotoStore::program().load(photo), 0);
            snapshots << m_dir.filePath(QString("snapshots/%1.bmp").arg(name));
            snapshotSources()[snapshots.last()] = photo;
        }
        // Same file name in another flight: its own snapshot name, its own table.
        QDir().mkpath(m_dir.filePath("flightB"));
        const QString other = generated("flightB/IR_0001.jpg", 100.0f);
        QCOMPARE(PhotoStore::program().load(other), 0);
        snapshots << m_dir.filePath("snapshots/IR_0001-2.bmp");
        snapshotSources()[snapshots.last()] = other;

        ExportFileThread job(m_dir.filePath("out"), snapshots, ExportFileThread::CsvTables);
        QSignalSpy progress(&job, &ExportFileThread::OnUpdateExportProgress);
        QSignalSpy finished(&job, &ExportFileThread::OnExportFinished);
        job.start();
        QVERIFY(job.wait(30000));
        QCOMPARE(progress.size(), 4);
        QCOMPARE(progress.last().at(0).toInt(), 100);
        QCOMPARE(finished.first(), (QList<QVariant>{4, 4}));
        const QDir folder(job.exportFolder());
        QCOMPARE(folder.entryList(QDir::Files), (QStringList{"IR_0001-2.csv", "IR_0001.csv", "IR_0002.csv", "IR_0003.csv"}));
        QVERIFY(readAll(folder.filePath("IR_0001.csv")) != readAll(folder.filePath("IR_0001-2.csv")));

        // Cancelled during the first photograph: it and those being written with it are
        // finished, nothing after them. The tables are the first ones of the list.
        QStringList many;
        for (int i = 0; i < 40; ++i) {
            many << m_dir.filePath(QString("snapshots/many%1.bmp").arg(i, 2, 10, QChar('0')));
            snapshotSources()[many.last()] = snapshotSources()[snapshots[i % 4]];
        }
        ExportFileThread cancelled(m_dir.filePath("out"), many, ExportFileThread::CsvTables);
        connect(&cancelled, &ExportFileThread::OnUpdateExportProgress, &cancelled, &ExportFileThread::cancelExport,
                Qt::DirectConnection);
        QSignalSpy cancelledProgress(&cancelled, &ExportFileThread::OnUpdateExportProgress);
        QSignalSpy cancelledFinished(&cancelled, &ExportFileThread::OnExportFinished);
        cancelled.start();
        QVERIFY(cancelled.wait(30000));
        const int done = cancelledProgress.size();
        QVERIFY2(done >= 1 && done < 40, qPrintable(QString::number(done)));
        QCOMPARE(cancelledFinished.first(), (QList<QVariant>{done, done}));
        QStringList first;
        for (int i = 0; i < done; ++i)
            first << QString("many%1.csv").arg(i, 2, 10, QChar('0'));
        QCOMPARE(QDir(cancelled.exportFolder()).entryList(QDir::Files, QDir::Name), first);
        QVERIFY(cancelled.exportFolder() != job.exportFolder());

        // A photograph that is gone: counted, not written.
        QFile::remove(snapshotSources()[snapshots[1]]);
        ExportFileThread partly(m_dir.filePath("out"), snapshots.mid(0, 3), ExportFileThread::CsvTables);
        QSignalSpy partlyFinished(&partly, &ExportFileThread::OnExportFinished);
        partly.start();
        QVERIFY(partly.wait(30000));
        QCOMPARE(partlyFinished.first(), (QList<QVariant>{2, 3}));

        // Word reports without a template: the job says why instead of waiting for ever.
        ExportFileThread word(m_dir.filePath("out"), snapshots, ExportFileThread::WordReports);
        QSignalSpy failed(&word, &ExportFileThread::OnExportFailed);
        word.start();
        QVERIFY(word.wait(30000));
        QCOMPARE(failed.size(), 1);
        QVERIFY(failed.first().at(0).toString().contains("template"));
    }

    void qctWritesTheSameBytes()
    {
        const QString photo = generated("batch.jpg");
        QCOMPARE(PhotoStore::program().load(photo), 0);
        const PhotoRecord record = PhotoStore::program().snapshot(photo);
        QVERIFY(writeCsvFile(m_dir.path(), "batch", &record));
        QDir().mkpath(m_dir.filePath("twin"));
        QVERIFY(QFile::copy(photo, m_dir.filePath("twin/BATCH.JPG")));
        QProcess qct;
        qct.start(QCT_PATH, {"csv", "--lang", "zh", m_dir.filePath("qctout"), photo, m_dir.filePath("twin"),
                             m_dir.filePath("missing.jpg")});
        QVERIFY(qct.waitForFinished(60000));
        QCOMPARE(qct.exitCode(), 1);
        QVERIFY(qct.readAllStandardOutput().contains("missing.jpg"));
        QCOMPARE(readAll(m_dir.filePath("qctout/batch.csv")), readAll(m_dir.filePath("batch.csv")));
        QCOMPARE(readAll(m_dir.filePath("qctout/BATCH.csv")).size(), readAll(m_dir.filePath("batch.csv")).size());
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
