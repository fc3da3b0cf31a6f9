#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QElapsedTimer>
#include <QProcess>

#include <sys/stat.h>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int status;
    QByteArray out;
    QByteArray err;
};

Run qct(const QStringList &arguments)
{
    QProcess process;
    process.setProgram(QCT_PATH);
    process.setArguments(arguments);
    process.start();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {-2, process.readAllStandardOutput(), process.readAllStandardError()};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

} // namespace

class TestQct : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_photos;

private slots:
    void initTestCase()
    {
        const Run samples = qct({"samples", m_dir.filePath("demo")});
        QCOMPARE(samples.status, 0);
        m_photos = QString::fromUtf8(samples.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(m_photos.size(), 12);
    }

    void infoOnTheDemoFolder()
    {
        const Run run = qct(QStringList{"info"} + m_photos);
        QCOMPARE(run.status, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 13);
        QVERIFY(lines.last().isEmpty());
        QSet<int> types;
        QSet<QString> gimbals;
        for (int i = 0; i < 12; ++i) {
            QJsonParseError error;
            const QJsonObject o = QJsonDocument::fromJson(lines[i], &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            QCOMPARE(o.keys().size(), 12);
            QCOMPARE(o["path"].toString(), m_photos[i]);
            QCOMPARE(o["result"].toInt(), 0);
            QVERIFY(o["hasTemperature"].toBool());
            QVERIFY(o["max"].toDouble() > 60 && o["max"].toDouble() < 120); // the hot cell
            QVERIFY(o["min"].toDouble() < 0);                                // the sky
            QVERIFY(o["avg"].toDouble() > o["min"].toDouble() && o["avg"].toDouble() < o["max"].toDouble());
            QCOMPARE(o["maxPos"].toArray().size(), 2);
            QCOMPARE(o["texts"].toArray().size(), 17);
            QCOMPARE(o["texts"].toArray()[10].toString(),
                     QString("%1px * %2px").arg(o["width"].toInt()).arg(o["height"].toInt()));
            types << o["photoType"].toInt();
            gimbals << o["texts"].toArray()[6].toString();
        }
        QCOMPARE(types, (QSet<int>{0, 2, 3, 4}));
        QVERIFY(gimbals.contains("PV120") && gimbals.contains("PV258") && gimbals.contains("QT640"));
    }

    void floatsReadBackExactly()
    {
        const Run run = qct({"info", m_photos[1]});
        const QJsonObject o = QJsonDocument::fromJson(run.out).object();
        const Run matrix = qct({"matrix", m_photos[1]});
        QCOMPARE(matrix.status, 0);
        const QList<QByteArray> rows = matrix.out.split('\n');
        QCOMPARE(rows.size(), o["height"].toInt() + 1);
        const QPoint at(o["maxPos"].toArray()[0].toInt(), o["maxPos"].toArray()[1].toInt());
        const QList<QByteArray> values = rows[at.y()].split(',');
        QCOMPARE(values.size(), o["width"].toInt());
        QCOMPARE(values[at.x()].toFloat(), float(o["max"].toDouble()));
    }

    void measureShapes()
    {
        const QString photo = m_photos[0];
        const QJsonObject info = QJsonDocument::fromJson(qct({"info", photo}).out).object();
        const Run run = qct({"measure", photo, "--rect", "0,0,639,511", "--point", "224,278", "--line", "0,300,100,300",
                             "--circle", "100,100,0", "--polygon", "0,0,10,0,0,10", "--polygon", "5,5,5,5,5,5"});
        QCOMPARE(run.status, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 7);
        QVector<QJsonObject> shapes;
        for (int i = 0; i < 6; ++i)
            shapes.append(QJsonDocument::fromJson(lines[i]).object());
        // The whole picture gives the whole-frame statistics.
        QCOMPARE(shapes[0]["shape"].toString(), QString("rect"));
        QCOMPARE(shapes[0]["count"].toInt(), 640 * 512);
        QCOMPARE(shapes[0]["max"].toDouble(), info["max"].toDouble());
        QCOMPARE(shapes[0]["min"].toDouble(), info["min"].toDouble());
        QCOMPARE(shapes[0]["avg"].toDouble(), info["avg"].toDouble());
        QCOMPARE(shapes[0]["maxPos"].toArray(), info["maxPos"].toArray());
        QCOMPARE(shapes[1]["shape"].toString(), QString("point"));
        QCOMPARE(shapes[1]["max"].toDouble(), info["max"].toDouble());
        QCOMPARE(shapes[1]["count"].toInt(), 1);
        QCOMPARE(shapes[2]["count"].toInt(), 100);
        QCOMPARE(shapes[3]["count"].toInt(), 1);
        QCOMPARE(shapes[4]["count"].toInt(), 55); // x + y < 10: column 10, row 10 and the long edge stay out
        QCOMPARE(shapes[5]["count"].toInt(), 0);  // all vertices in one pixel: an empty set
        QCOMPARE(shapes[5]["avg"].toDouble(), 65536.0);

        QCOMPARE(qct({"measure", photo}).status, 2);
        QCOMPARE(qct({"measure", photo, "--rect", "1,2,3"}).status, 2);
        QCOMPARE(qct({"measure", photo, "--polygon", "1,2,3"}).status, 2);
        QCOMPARE(qct({"measure", photo, "--star", "1,2"}).status, 2);
        const Run missing = qct({"measure", m_dir.filePath("absent.jpg"), "--point", "1,1"});
        QCOMPARE(missing.status, 1);
        QCOMPARE(QJsonDocument::fromJson(missing.out).object()["max"].toDouble(), 65536.0);
    }

    void pathsAreNeverFormats()
    {
        // Names with "%1", "%2", ... were substituted by the later numbers of the line:
        // "a%2b.jpg" came out as "a3b.jpg".
        QStringList paths;
        for (const QString &name : {QString("a%2b.jpg"), QString("x%1%9 %L1y.jpg"), QString("q\"%%5\\.jpg")}) {
            const QString path = m_dir.filePath(name);
            QFile::remove(path);
            QVERIFY(QFile::copy(m_photos[0], path));
            paths << path;
        }
        const Run run = qct(QStringList{"info"} + paths);
        QCOMPARE(run.status, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), paths.size() + 1);
        const QJsonObject first = QJsonDocument::fromJson(qct({"info", m_photos[0]}).out).object();
        for (int i = 0; i < paths.size(); ++i) {
            QJsonParseError error;
            const QJsonObject o = QJsonDocument::fromJson(lines[i], &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            QCOMPARE(o["path"].toString(), paths[i]);
            QCOMPARE(o.keys().size(), 12);
            QCOMPARE(o["photoType"].toInt(), first["photoType"].toInt());
            QCOMPARE(o["width"].toInt(), first["width"].toInt());
            QCOMPARE(o["max"].toDouble(), first["max"].toDouble());
            QCOMPARE(o["texts"].toArray(), first["texts"].toArray());
        }
    }

    void cutOffPhotographsFail()
    {
        // The first 36,864 bytes of a demo photograph: the frame is cut off. It loaded as a
        // success whose missing pixels read as 65536 °C, the maximum.
        QByteArray whole;
        {
            QFile file(m_photos[0]);
            QVERIFY(file.open(QIODevice::ReadOnly));
            whole = file.readAll();
        }
        QVERIFY(whole.contains("IR_INFO_START"));
        const QString cut = m_dir.filePath("cut/IR_cut.jpg");
        QVERIFY(QDir().mkpath(m_dir.filePath("cut")));
        QFile file(cut);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(whole.left(36864));
        file.close();
        const Run run = qct({"info", cut});
        QCOMPARE(run.status, 1);
        const QJsonObject o = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(o["photoType"].toInt(), 3);
        QCOMPARE(o["result"].toInt(), -5);
        QCOMPARE(o["hasTemperature"].toBool(), false);
        QCOMPARE(o["max"].toDouble(), 65536.0);
        // The readers' diagnostics only when asked for, and only on standard error.
        QVERIFY(run.err.isEmpty());
        const Run verbose = qct({"--verbose", "info", cut});
        QCOMPARE(verbose.out, run.out);
        QVERIFY(verbose.err.contains("frame cut off"));
        QCOMPARE(qct({"matrix", cut}).status, 1);
        const Run csv = qct({"csv", m_dir.filePath("cut-csv"), m_dir.filePath("cut")});
        QCOMPARE(csv.status, 1);
        QVERIFY(csv.out.contains("IR_cut.jpg: no temperatures (load result -5: frame incomplete: the file does not hold the whole thermal frame"));
    }

    void hugeAndNonFiniteShapes()
    {
        const QString photo = m_photos[0];
        QElapsedTimer timer;
        timer.start();
        // Shapes far beyond the picture measure the part inside it, at once (a rectangle 3e9
        // wide reported no pixels; 1e9 high or a line of 1e8 took a minute and gigabytes).
        const Run run = qct({"measure", photo, "--rect", "0,0,3e9,10", "--rect", "0,0,1e9,1e9", "--line", "0,0,1e8,1e8",
                             "--circle", "0,0,1e12", "--rect", "-1e300,-1e300,1e300,1e300", "--rect", "-1e300,-1e300,1e299,1e299"});
        QCOMPARE(run.status, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 7);
        QCOMPARE(QJsonDocument::fromJson(lines[0]).object()["count"].toInt(), 640 * 11);
        QCOMPARE(QJsonDocument::fromJson(lines[1]).object()["count"].toInt(), 640 * 512);
        const int diagonal = QJsonDocument::fromJson(lines[2]).object()["count"].toInt();
        QVERIFY(diagonal > 500 && diagonal <= 724); // the part from (0, 0) to (512, 512)
        QCOMPARE(QJsonDocument::fromJson(lines[3]).object()["count"].toInt(), 640 * 512);
        QCOMPARE(QJsonDocument::fromJson(lines[4]).object()["count"].toInt(), 1); // its corner (0, 0)
        QCOMPARE(QJsonDocument::fromJson(lines[5]).object()["count"].toInt(), 0);
        QVERIFY(timer.elapsed() < 20000);

        // Numbers without a pixel are refused with a message.
        for (const QStringList &shape : {QStringList{"--circle", "0,0,inf"}, QStringList{"--line", "0,0,nan,5"},
                                         QStringList{"--rect", "0,-inf,5,5"}, QStringList{"--point", "1,1e400"}}) {
            const Run refused = qct(QStringList{"measure", photo} + shape);
            QCOMPARE(refused.status, 2);
            QVERIFY(refused.out.isEmpty());
            QVERIFY2(refused.err.contains("is not a finite number") || refused.err.contains("usage"), refused.err.constData());
        }
        QVERIFY(qct({"measure", photo, "--circle", "0,0,inf"}).err.contains("--circle 0,0,inf: inf is not a finite number"));
    }

    void truthAboutOutputsAndOddFiles()
    {
        // A FIFO named like a photograph is refused at once instead of waiting for a writer.
        const QString pipe = m_dir.filePath("pipe.jpg");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QProcess info;
        info.start(QCT_PATH, {"info", pipe});
        QVERIFY2(info.waitForFinished(10000), "qct info waited on a FIFO");
        QCOMPARE(info.exitCode(), 1);
        QCOMPARE(QJsonDocument::fromJson(info.readAllStandardOutput()).object()["result"].toInt(), -1);

        // Output that cannot be written is a failure, not a success.
        QProcess full;
        full.setStandardOutputFile("/dev/full");
        full.start(QCT_PATH, {"info", m_photos[0]});
        QVERIFY(full.waitForFinished(30000));
        QCOMPARE(full.exitCode(), 1);
        QVERIFY(full.readAllStandardError().contains("could not be written"));

        // The same photograph named three times: three whole tables, never a header alone.
        const QString out = m_dir.filePath("repeated");
        const Run run = qct({"csv", out, m_photos[0], m_photos[0], m_photos[0]});
        QCOMPARE(run.status, 0);
        QStringList tables = QDir(out).entryList({"*.csv"}, QDir::Files);
        QCOMPARE(tables.size(), 3);
        const qint64 size = QFileInfo(QDir(out).filePath(tables[0])).size();
        QVERIFY(size > 100000); // a 640 x 512 matrix
        for (const QString &table : tables)
            QCOMPARE(QFileInfo(QDir(out).filePath(table)).size(), size);
    }

    void failuresAndUsage()
    {
        QFile junk(m_dir.filePath("junk.jpg"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(5000, '\x7F'));
        junk.close();
        const Run run = qct({"info", m_photos[0], junk.fileName(), m_dir.filePath("absent.jpg")});
        QCOMPARE(run.status, 1);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 4);
        const QJsonObject bad = QJsonDocument::fromJson(lines[1]).object();
        QVERIFY(bad["result"].toInt() != 0);
        QCOMPARE(bad["hasTemperature"].toBool(), false);
        QCOMPARE(bad["max"].toDouble(), 65536.0);
        QCOMPARE(bad["texts"].toArray()[0].toString(), QString("NA"));
        QCOMPARE(QJsonDocument::fromJson(lines[2]).object()["result"].toInt(), -1);

        QCOMPARE(qct({"matrix", junk.fileName()}).status, 1);
        const Run help = qct({"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("qct info PHOTO"));
        QCOMPARE(qct({}).status, 2);
        QCOMPARE(qct({"info"}).status, 2);
    }
};

QTEST_GUILESS_MAIN(TestQct)
#include "tst_qct.moc"
