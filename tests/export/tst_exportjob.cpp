#include "exportjob.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <random>
#include <thread>

namespace {

QVector<ExportJob::Item> itemsNamed(int count)
{
    QVector<ExportJob::Item> items;
    for (int i = 0; i < count; ++i)
        items.append({QString("/photos/IR_%1.jpg").arg(i, 4, 10, QChar('0')), QString("IR_%1").arg(i, 4, 10, QChar('0'))});
    return items;
}

// A writer of small files that takes a random while, so later photographs often finish first.
bool writeSlowly(const QString &folder, int index, const ExportJob::Item &item, ExportFailure &failure)
{
    thread_local std::mt19937 random(std::random_device{}());
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    if (index % 7 == 3) {
        failure.kind = ExportFailure::PhotoUnreadable;
        failure.reason = QString("photograph %1 unreadable").arg(index);
        return false;
    }
    QSaveFile file(folder + "/" + item.name + ".txt");
    return file.open(QIODevice::WriteOnly) && file.write(item.photo.toUtf8()) > 0 && file.commit();
}

} // namespace

class TestExportJob : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // Photographs finish in any order on several threads; they are handed on in the order given,
    // failures too, each with its photograph and reason.
    void handsOnInTheOrderGiven()
    {
        const QVector<ExportJob::Item> items = itemsNamed(60);
        ExportJob job(items, writeSlowly);
        QVector<int> order;
        QStringList failed;
        const int written = job.run(m_dir.path(), [&](int index, const ExportFailure *failure) {
            order << index;
            if (failure)
                failed << failure->photo + ": " + failure->reason;
        }, 3);
        QVector<int> expected(60);
        std::iota(expected.begin(), expected.end(), 0);
        QCOMPARE(order, expected);
        QCOMPARE(written, 60 - 9);
        QCOMPARE(job.done(), 60);
        QCOMPARE(job.failures().size(), 9);
        QCOMPARE(failed.first(), QString("/photos/IR_0003.jpg: photograph 3 unreadable"));
        for (int i = 0; i < job.failures().size(); ++i) {
            QCOMPARE(job.failures()[i].photo, items[3 + 7 * i].photo);
            QCOMPARE(job.failures()[i].kind, ExportFailure::PhotoUnreadable);
        }
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files).size(), 51);
    }

    // Two photographs are written at the same time: each of the first two waits until the
    // other has started (one at a time, both would wait in vain).
    void writesOnSeveralThreadsAtOnce()
    {
        std::mutex mutex;
        std::condition_variable started;
        int running = 0;
        bool together = true;
        ExportJob job(itemsNamed(2), [&](const QString &, int, const ExportJob::Item &, ExportFailure &) {
            std::unique_lock<std::mutex> lock(mutex);
            ++running;
            started.notify_all();
            together = together && started.wait_for(lock, std::chrono::seconds(10), [&] { return running == 2; });
            return true;
        });
        QCOMPARE(job.run(m_dir.path(), {}, 2), 2);
        QVERIFY(together);
    }

    // A cancel stops the job between photographs: what was started is finished and handed on,
    // so the photographs handed on are the first ones of the list, and only they have a file;
    // the work never runs far ahead of the photograph handed on.
    void cancelLeavesThePhotographsBefore()
    {
        const QString folder = m_dir.filePath("cancelled");
        QVERIFY(QDir().mkpath(folder));
        const QVector<ExportJob::Item> items = itemsNamed(200);
        std::atomic<int> started{0};
        ExportJob job(items, [&](const QString &out, int, const ExportJob::Item &item, ExportFailure &) {
            ++started;
            QSaveFile file(out + "/" + item.name + ".txt");
            return file.open(QIODevice::WriteOnly) && file.write("x") == 1 && file.commit();
        });
        QVector<int> order;
        const int written = job.run(folder, [&](int index, const ExportFailure *) {
            order << index;
            if (index == 4)
                job.cancel();
        }, 2);
        QVERIFY(job.cancelled());
        QVERIFY2(job.done() >= 5 && job.done() <= 5 + 2 * 4, qPrintable(QString::number(job.done())));
        QCOMPARE(written, job.done());
        QCOMPARE(started.load(), job.done());
        QCOMPARE(order.size(), job.done());
        QStringList expected;
        for (int i = 0; i < job.done(); ++i)
            expected << items[i].name + ".txt";
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);

        // Cancelled before it starts: nothing is written.
        ExportJob early(items, writeSlowly);
        early.cancel();
        QCOMPARE(early.run(folder), 0);
        QCOMPARE(early.done(), 0);
    }
};

QTEST_GUILESS_MAIN(TestExportJob)
#include "tst_exportjob.moc"
