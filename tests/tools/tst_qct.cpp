#include "photogenerator.h"
#include "plantedanomalies.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QElapsedTimer>
#include <QProcess>

#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace {

struct Run
{
    int status;
    QByteArray out;
    QByteArray err;
};

// Runs program (qct by default) with the arguments; environment entries "NAME=value" are added.
Run run(const QString &program, const QStringList &arguments, const QStringList &environment = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : environment)
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    process.setProcessEnvironment(env);
    process.setProgram(program);
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

Run qct(const QStringList &arguments)
{
    return run(QCT_PATH, arguments);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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
        QCOMPARE(m_photos.size(), 18);
    }

    void infoOnTheDemoFolder()
    {
        const Run run = qct(QStringList{"info"} + m_photos);
        QCOMPARE(run.status, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 19);
        QVERIFY(lines.last().isEmpty());
        QSet<int> types;
        QSet<QString> gimbals;
        for (int i = 0; i < 18; ++i) {
            QJsonParseError error;
            const QJsonObject o = QJsonDocument::fromJson(lines[i], &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            QCOMPARE(o.keys().size(), 12);
            QCOMPARE(o["path"].toString(), m_photos[i]);
            QCOMPARE(o["result"].toInt(), 0);
            QVERIFY(o["hasTemperature"].toBool());
            QVERIFY(o["max"].toDouble() > 40 && o["max"].toDouble() < 120); // the hot cell or a planted defect
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

    void cameraValuesAndSidecars()
    {
        // The demo folder's calibrated and direct photographs, told apart by their kind.
        QString calibrated, direct;
        for (const QString &photo : m_photos) {
            const int type = QJsonDocument::fromJson(qct({"info", photo}).out).object()["photoType"].toInt();
            if (type == 4 && calibrated.isEmpty())
                calibrated = photo;
            if (type == 3 && direct.isEmpty())
                direct = photo;
        }
        QVERIFY(!calibrated.isEmpty() && !direct.isEmpty());
        const QByteArray plain = qct({"matrix", calibrated}).out;
        const Run corrected = qct({"matrix", "--emissivity", "80", "--reflected", "-5.5", calibrated});
        QCOMPARE(corrected.status, 0);
        QVERIFY(corrected.out != plain);
        QCOMPARE(corrected.out.count('\n'), plain.count('\n'));

        // The same values saved beside the photograph give the same matrix; --no-sidecar
        // leaves them out, and values given go over saved ones.
        const QString sidecar = calibrated + ".qct.json";
        QVERIFY(writeAll(sidecar, "{\"version\":1,\"camera\":{\"emissivity\":80,\"reflected\":-5.5}}"));
        QCOMPARE(qct({"matrix", calibrated}).out, corrected.out);
        QCOMPARE(qct({"matrix", "--no-sidecar", calibrated}).out, plain);
        QCOMPARE(qct({"matrix", "--emissivity", "95", calibrated}).out,
                 qct({"matrix", "--no-sidecar", "--emissivity", "95", "--reflected", "-5.5", calibrated}).out);
        const QJsonArray texts = QJsonDocument::fromJson(qct({"info", calibrated}).out).object()["texts"].toArray();
        QCOMPARE(texts[3].toString(), QString("80%"));
        QCOMPARE(texts[0].toString(), QString::fromUtf8("-5.5℃"));
        QVERIFY(QFile::remove(sidecar));

        // A photograph that stores temperatures directly keeps them, and a warning names it.
        const Run kept = qct({"matrix", "--emissivity", "50", direct});
        QCOMPARE(kept.status, 0);
        QCOMPARE(kept.out, qct({"matrix", direct}).out);
        QVERIFY(kept.err.contains(direct.toUtf8()));

        // Values outside the engine's ranges are refused before anything is read.
        for (const QStringList &bad : {QStringList{"--emissivity", "0"}, QStringList{"--distance", "0.4"},
                                       QStringList{"--humidity", "101"}, QStringList{"--reflected", "551"},
                                       QStringList{"--distance", "far"}}) {
            const Run refused = qct(QStringList{"info"} + bad + QStringList{calibrated});
            QCOMPARE(refused.status, 2);
            QVERIFY(refused.out.isEmpty());
            QVERIFY2(refused.err.contains(bad[0].toUtf8()), refused.err.constData());
        }
    }

    void csvForSpreadsheets()
    {
        const QString plain = m_dir.filePath("plainCsv"), excel = m_dir.filePath("excelCsv");
        QCOMPARE(qct({"csv", "--lang", "zh", plain, m_photos[0]}).status, 0);
        QCOMPARE(qct({"csv", "--excel", "--lang", "zh", excel, m_photos[0]}).status, 0);
        const QString name = QFileInfo(m_photos[0]).baseName() + ".csv";
        const QByteArray withMark = readAll(excel + "/" + name);
        QVERIFY(withMark.startsWith("\xEF\xBB\xBF"));
        // The demo photographs have a reading everywhere: the rest is the plain table.
        QCOMPARE(withMark.mid(3), readAll(plain + "/" + name));
        QCOMPARE(qct({"info", "--excel", m_photos[0]}).status, 2); // a csv option only
    }

    void reportOfAFolder()
    {
        // Hottest first, as qct info gives their maxima; every photograph has its section.
        QVector<QPair<double, QString>> maxima;
        for (const QString &photo : m_photos) {
            const QJsonObject o = QJsonDocument::fromJson(qct({"info", photo}).out).object();
            maxima.append({-o["max"].toDouble(), QFileInfo(photo).fileName()});
        }
        std::sort(maxima.begin(), maxima.end());
        const QString pdf = m_dir.filePath("flight.pdf");
        const Run report = qct({"report", "--lang", "en", "--site", "Roof 7", pdf, m_dir.filePath("demo")});
        QCOMPARE(report.status, 0);
        const Run text = run("pdftotext", {"-layout", pdf, "-"});
        QCOMPARE(text.status, 0);
        const QString all = QString::fromUtf8(text.out);
        QVERIFY(all.contains("Roof 7"));
        const int summary = all.indexOf("Summary");
        QVERIFY(summary > 0);
        int at = summary;
        for (const auto &[negativeMax, name] : maxima) {
            const int row = all.indexOf(name, at);
            QVERIFY2(row > at, qPrintable(name));
            QVERIFY(all.mid(row, 80).contains(QString::number(-negativeMax, 'f', 2)));
            at = row;
        }
        for (const QString &photo : m_photos)
            QVERIFY(all.count(QFileInfo(photo).fileName()) >= 3); // summary, heading, parameters
        // Word as asked, no format it does not know; a missing output folder is said and fails.
        const QString docx = m_dir.filePath("flight.docx");
        QCOMPARE(qct({"report", "--format", "docx", docx, m_photos[0]}).status, 0);
        QFile word(docx);
        QVERIFY(word.open(QIODevice::ReadOnly));
        QCOMPARE(word.read(2), QByteArray("PK"));
        QCOMPARE(qct({"report", "--format", "odt", pdf, m_photos[0]}).status, 2);
        const Run nowhere = qct({"report", m_dir.filePath("none/where.pdf"), m_photos[0]});
        QCOMPARE(nowhere.status, 1);
        QVERIFY(!nowhere.err.isEmpty());
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
        const QByteArray whole = readAll(m_photos[0]);
        QVERIFY(whole.contains("IR_INFO_START"));
        const QString cut = m_dir.filePath("cut/IR_cut.jpg");
        QVERIFY(QDir().mkpath(m_dir.filePath("cut")));
        QVERIFY(writeAll(cut, whole.left(36864)));
        const Run run = qct({"info", cut});
        QCOMPARE(run.status, 1);
        const QJsonObject o = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(o["photoType"].toInt(), 3);
        QCOMPARE(o["result"].toInt(), -5);
        QCOMPARE(o["hasTemperature"].toBool(), false);
        QCOMPARE(o["max"].toDouble(), 65536.0);
        // What failed, on standard error; the readers' diagnostics only when asked for, and
        // only there too.
        QCOMPARE(run.err, "qct: " + cut.toUtf8()
                              + ": frame incomplete: the file does not hold the whole thermal frame (cut off or damaged)\n");
        const Run verbose = qct({"--verbose", "info", cut});
        QCOMPARE(verbose.out, run.out);
        QVERIFY(verbose.err.contains("frame cut off"));
        QVERIFY(verbose.err.contains("photo_type=3"));
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
        // A FIFO named like a photograph is refused at once, with its reason, instead of
        // waiting for a writer; also when a folder holds it.
        const QString pipes = m_dir.filePath("pipes");
        QVERIFY(QDir().mkpath(pipes));
        const QString pipe = pipes + "/pipe.jpg";
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QElapsedTimer timer;
        timer.start();
        const Run info = qct({"info", pipe});
        QCOMPARE(info.status, 1);
        QCOMPARE(QJsonDocument::fromJson(info.out).object()["result"].toInt(), -1);
        QCOMPARE(info.err, "qct: " + pipe.toUtf8() + ": not a regular file (a FIFO or a device), so not a photograph\n");
        const Run csvPipe = qct({"csv", m_dir.filePath("pipes-out"), pipes});
        QCOMPARE(csvPipe.status, 1);
        QCOMPARE(csvPipe.out, pipe.toUtf8() + ": not a regular file (a FIFO or a device), so not a photograph\n");
        QVERIFY(QDir(m_dir.filePath("pipes-out")).isEmpty());
        QVERIFY2(timer.elapsed() < 20000, "qct waited on a FIFO");

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
        QVERIFY(run.out.isEmpty());
        QCOMPARE(QDir(out).entryList({"*.csv"}, QDir::Files), (QStringList{"IR_0001-2.csv", "IR_0001-3.csv", "IR_0001.csv"}));
        const QByteArray table = readAll(out + "/IR_0001.csv");
        QCOMPARE(table.count('\n'), 5 + 1 + 1 + 512);
        QCOMPARE(readAll(out + "/IR_0001-2.csv"), table);
        QCOMPARE(readAll(out + "/IR_0001-3.csv"), table);
    }

    // Each cause of a failure has its own text, in info's standard error and in csv's lines;
    // none reads "input filepath is null".
    void failuresSayWhatFailed()
    {
        const QString folder = m_dir.filePath("failing");
        QVERIFY(QDir().mkpath(folder));
        const QString missing = folder + "/missing.jpg";
        const QString junk = folder + "/junk.jpg";
        QVERIFY(writeAll(junk, QByteArray(5000, 'j')));
        const QString cut = folder + "/cut.jpg";
        QVERIFY(writeAll(cut, readAll(m_photos[0]).left(40000)));
        const QString locked = folder + "/locked.jpg";
        QVERIFY(QFile::copy(m_photos[0], locked));
        QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
        const QStringList photos{missing, junk, cut, locked};

        // Root reads every file: the command runs as nobody then.
        const bool root = ::geteuid() == 0;
        if (root)
            QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                            | QFileDevice::ExeOwner | QFileDevice::ExeOther));
        const QString program = root ? "setpriv" : QCT_PATH;
        const QStringList prefix = root ? QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", QCT_PATH} : QStringList();
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                  | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther));
        for (const QString &photo : {junk, cut})
            QVERIFY(QFile::setPermissions(photo, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        const Run info = run(program, prefix + QStringList{"info"} + photos);
        const Run csv = run(program, prefix + QStringList{"csv", folder + "/out", missing, locked});
        QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

        QCOMPARE(info.status, 1);
        QCOMPARE(info.out.count('\n'), 4);
        const QList<QByteArray> reasons = info.err.split('\n');
        QCOMPARE(reasons.size(), 5);
        QCOMPARE(reasons[0], "qct: " + missing.toUtf8() + ": no such file");
        QCOMPARE(reasons[1], "qct: " + junk.toUtf8()
                                 + ": not a photograph this program reads (no thermal frame in it, nor in an .irg file beside it)");
        QCOMPARE(reasons[2], "qct: " + cut.toUtf8()
                                 + ": frame incomplete: the file does not hold the whole thermal frame (cut off or damaged)");
        QCOMPARE(reasons[3], "qct: " + locked.toUtf8() + ": permission denied");
        QCOMPARE(csv.status, 1);
        QCOMPARE(csv.out, missing.toUtf8() + ": no such file\n" + locked.toUtf8() + ": permission denied\n");

        // Photographs that are no photographs: the parameter lines, and the reason.
        const Run tables = qct({"csv", m_dir.filePath("failing-out"), junk, cut});
        QCOMPARE(tables.status, 1);
        QCOMPARE(tables.out, junk.toUtf8() + ": no temperatures (load result -2: not a photograph this program reads "
                                             "(no thermal frame in it, nor in an .irg file beside it))\n"
                                 + cut.toUtf8() + ": no temperatures (load result -5: frame incomplete: the file does not "
                                                  "hold the whole thermal frame (cut off or damaged))\n");
        QCOMPARE(QDir(m_dir.filePath("failing-out")).entryList(QDir::Files), (QStringList{"cut.csv", "junk.csv"}));
        QCOMPARE(readAll(m_dir.filePath("failing-out/cut.csv")).count('\n'), 5);
    }

    // The photographs are loaded on every core; the lines come out in the order given, each
    // with its own photograph's figures.
    void linesInTheOrderGiven()
    {
        QMap<QString, QByteArray> alone;
        for (const QString &photo : m_photos)
            alone[photo] = qct({"info", photo}).out;
        QStringList order;
        for (int i = 0; i < 60; ++i)
            order << m_photos[(i * 7 + i / 12) % 12];
        order[17] = m_dir.filePath("absent.jpg");
        const Run run = qct(QStringList{"info"} + order);
        QCOMPARE(run.status, 1);
        QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 61);
        for (int i = 0; i < 60; ++i) {
            if (i == 17)
                QCOMPARE(QJsonDocument::fromJson(lines[i]).object()["path"].toString(), order[i]);
            else
                QCOMPARE(lines[i] + '\n', alone[order[i]]);
        }

        // csv: the failure lines in the order given as well.
        const Run csv = qct({"csv", m_dir.filePath("ordered"), m_dir.filePath("b-absent.jpg"), m_photos[0],
                             m_dir.filePath("a-absent.jpg"), m_photos[1], m_dir.filePath("c-absent.jpg")});
        QCOMPARE(csv.out, m_dir.filePath("b-absent.jpg").toUtf8() + ": no such file\n" + m_dir.filePath("a-absent.jpg").toUtf8()
                              + ": no such file\n" + m_dir.filePath("c-absent.jpg").toUtf8() + ": no such file\n");
    }

    // A file name that is no text in the locale's encoding (the byte 0xff under LC_ALL=C) is
    // opened by its bytes: named, and found in a folder.
    void namesTheLocaleCannotSpell()
    {
        const QString folder = m_dir.filePath("bytes");
        QVERIFY(QDir().mkpath(folder));
        const QByteArray odd = QFile::encodeName(folder) + "/IR_\xff.jpg";
        QCOMPARE(::link(QFile::encodeName(m_photos[0]).constData(), odd.constData()), 0);
        const QString script = QString("exec \"$0\" info \"$1/IR_$(printf '\\377').jpg\"");
        const Run info = run("sh", {"-c", script, QCT_PATH, folder}, {"LC_ALL=C"});
        QCOMPARE(info.status, 0);
        const QJsonObject o = QJsonDocument::fromJson(info.out).object();
        QCOMPARE(o["result"].toInt(), 0);
        QCOMPARE(o["max"].toDouble(), QJsonDocument::fromJson(qct({"info", m_photos[0]}).out).object()["max"].toDouble());

        const Run csv = run(QCT_PATH, {"csv", m_dir.filePath("bytes-out"), folder}, {"LC_ALL=C"});
        QCOMPARE(csv.status, 0);
        const QStringList tables = QDir(m_dir.filePath("bytes-out")).entryList(QDir::Files);
        QCOMPARE(tables.size(), 1);
        QCOMPARE(readAll(m_dir.filePath("bytes-out/") + tables[0]).count('\n'), 5 + 1 + 1 + 512);
    }

    // A disk that fills up: the photographs written are named, those that were not are said
    // to have failed, and nothing cut off is left behind.
    void samplesOntoAFullDisk()
    {
        const QString folder = m_dir.filePath("full");
        Run samples;
        {
            // Files may not grow beyond 660,000 bytes: the .irg companions (655,616 bytes) and
            // their small pictures are written, every other photograph fails as on a full disk.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit saved;
            QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
            rlimit limit = saved;
            limit.rlim_cur = 660000;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
            samples = qct({"samples", folder});
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);
        }
        QCOMPARE(samples.status, 1);
        const QStringList written = QString::fromUtf8(samples.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(written, (QStringList{folder + "/IR_0005.jpg", folder + "/IR_0012.jpg"}));
        QCOMPARE(samples.err.count('\n'), 16);
        QVERIFY2(samples.err.startsWith("qct samples: " + folder.toUtf8() + "/IR_0001.jpg: "), samples.err.constData());
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"IR_0005.irg", "IR_0005.jpg", "IR_0012.irg", "IR_0012.jpg"}));
        QCOMPARE(qct(QStringList{"info"} + written).status, 0);
    }

    // Every anomaly of the photographs given, highest ΔT of each first, photographs in the
    // order given; the CSV rows and the GeoJSON features carry the same values.
    void hotspotsOfTheDemoFolder()
    {
        const QString csvPath = m_dir.filePath("anomalies.csv"), geoPath = m_dir.filePath("anomalies.geojson");
        const Run run = qct({"hotspots", "--csv", csvPath, "--geojson", geoPath, m_dir.filePath("demo")});
        QCOMPARE(run.status, 0);
        QList<QByteArray> lines = run.out.split('\n');
        QVERIFY(lines.takeLast().isEmpty());
        const QStringList keys{"area", "bbox", "centroid", "class", "deltaT", "deltaTNormalised", "max", "maxPos", "path", "reference"};
        QVector<QJsonObject> spots;
        QMap<QString, int> perPhoto;
        for (const QByteArray &line : lines) {
            QJsonParseError error;
            const QJsonObject o = QJsonDocument::fromJson(line, &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            QCOMPARE(o.keys(), keys);
            QVERIFY(o["deltaTNormalised"].isNull());
            QCOMPARE(float(o["deltaT"].toDouble()), float(o["max"].toDouble()) - float(o["reference"].toDouble()));
            const QString path = o["path"].toString();
            QVERIFY2(m_photos.contains(path), qPrintable(path));
            if (!spots.isEmpty() && spots.last()["path"].toString() == path)
                QVERIFY(spots.last()["deltaT"].toDouble() >= o["deltaT"].toDouble());
            else if (!spots.isEmpty())
                QVERIFY(m_photos.indexOf(spots.last()["path"].toString()) < m_photos.indexOf(path));
            ++perPhoto[QFileInfo(path).fileName()];
            spots.append(o);
        }
        // The planted defects: two, one, one, two, one, two, and nothing else on their panels.
        const QList<int> planted{perPhoto["IR_0013.jpg"], perPhoto["IR_0014.jpg"], perPhoto["IR_0015.jpg"],
                                 perPhoto["IR_0016.jpg"], perPhoto["IR_0017.jpg"], perPhoto["IR_0018.jpg"]};
        QCOMPARE(planted, (QList<int>{2, 1, 1, 2, 1, 2}));
        const auto connector = std::find_if(spots.begin(), spots.end(),
                                            [](const QJsonObject &o) { return o["path"].toString().endsWith("IR_0017.jpg"); });
        QCOMPARE(connector->value("maxPos").toArray(), (QJsonArray{501, 301}));
        QCOMPARE(connector->value("bbox").toArray(), (QJsonArray{500, 300, 2, 2}));
        QCOMPARE(connector->value("centroid").toArray(), (QJsonArray{500.5, 300.5}));
        QCOMPARE(connector->value("area").toInt(), 4);
        QCOMPARE(connector->value("deltaT").toDouble(), 35.0);
        QCOMPARE(connector->value("class").toInt(), 3);

        // CSV: a header, then the lines' values in the same order.
        QList<QByteArray> rows = readAll(csvPath).split('\n');
        QVERIFY(rows.takeLast().isEmpty());
        QCOMPARE(rows.takeFirst(), QByteArray("path,maxPosX,maxPosY,max,reference,deltaT,deltaTNormalised,area,bboxLeft,"
                                              "bboxTop,bboxWidth,bboxHeight,centroidX,centroidY,class"));
        QCOMPARE(rows.size(), spots.size());
        for (int i = 0; i < rows.size(); ++i) {
            const QList<QByteArray> cells = rows[i].split(',');
            const QJsonObject &o = spots[i];
            QCOMPARE(cells.size(), 15);
            QCOMPARE(QString::fromUtf8(cells[0]), o["path"].toString());
            QCOMPARE(cells[1].toInt(), o["maxPos"].toArray()[0].toInt());
            QCOMPARE(cells[2].toInt(), o["maxPos"].toArray()[1].toInt());
            QCOMPARE(cells[3].toDouble(), o["max"].toDouble());
            QCOMPARE(cells[4].toDouble(), o["reference"].toDouble());
            QCOMPARE(cells[5].toDouble(), o["deltaT"].toDouble());
            QVERIFY(cells[6].isEmpty());
            QCOMPARE(cells[7].toInt(), o["area"].toInt());
            for (int k = 0; k < 4; ++k)
                QCOMPARE(cells[8 + k].toInt(), o["bbox"].toArray()[k].toInt());
            QCOMPARE(cells[12].toDouble(), o["centroid"].toArray()[0].toDouble());
            QCOMPARE(cells[13].toDouble(), o["centroid"].toArray()[1].toDouble());
            QCOMPARE(cells[14].toInt(), o["class"].toInt());
        }

        // GeoJSON: the anomalies of the photographs with a GPS position, at [longitude,
        // latitude, altitude]; the others are named on standard error.
        QJsonParseError error;
        const QJsonObject collection = QJsonDocument::fromJson(readAll(geoPath), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(collection["type"].toString(), QString("FeatureCollection"));
        const QJsonArray features = collection["features"].toArray();
        int next = 0;
        for (const QJsonObject &o : spots) {
            const QString info = QString::fromUtf8(qct({"info", o["path"].toString()}).out);
            const QString gps = QJsonDocument::fromJson(info.toUtf8()).object()["texts"].toArray()[15].toString();
            if (gps == "NA") {
                QVERIFY(run.err.contains(o["path"].toString().toUtf8() + ": no GPS position"));
                continue;
            }
            const QJsonObject feature = features[next++].toObject();
            QCOMPARE(feature["type"].toString(), QString("Feature"));
            QCOMPARE(feature["properties"].toObject(), o);
            QCOMPARE(feature["geometry"].toObject()["type"].toString(), QString("Point"));
            const QJsonArray coordinates = feature["geometry"].toObject()["coordinates"].toArray();
            QCOMPARE(coordinates.size(), 3);
            // E120.15..., N30.27...: longitude first.
            QCOMPARE(QString("E%1,N%2").arg(coordinates[0].toDouble(), 0, 'f', 6).arg(coordinates[1].toDouble(), 0, 'f', 6), gps);
            QVERIFY(coordinates[2].toDouble() > 80 && coordinates[2].toDouble() < 90);
        }
        QCOMPARE(next, features.size());
    }

    // West and south are negative; an irradiance normalises ΔT; photographs come out in the
    // order given; options that do not fit are refused before anything is read.
    void hotspotsSignsOptionsAndStatus()
    {
        PhotoSpec shot;
        shot.temperatures = inspectionScene(shot.width, shot.height, 1);
        plantAnomalies(shot.temperatures, shot.width, shot.height, {hotCell({40, 300}, 6, 12.0f), hotConnector({400, 200}, 7.0f)});
        shot.exif.hasGps = true;
        shot.exif.gps.longitudeRef = 'W';
        shot.exif.gps.longitude[0] = {58, 1};
        shot.exif.gps.longitude[1] = {22, 1};
        shot.exif.gps.latitudeRef = 'S';
        shot.exif.gps.latitude[0] = {34, 1};
        shot.exif.gps.latitude[1] = {36, 1};
        shot.exif.gps.altitudeRef = 1;
        shot.exif.gps.altitude = {25, 10};
        const QString southWest = m_dir.filePath("southwest.jpg");
        writePhoto(southWest, shot);
        const QString geoPath = m_dir.filePath("southwest.geojson");
        const Run run = qct({"hotspots", "--irradiance", "800", "--classes", "7,11", "--geojson", geoPath, southWest, m_photos[16]});
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.isEmpty());
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 4);
        const QJsonObject cell = QJsonDocument::fromJson(lines[0]).object();
        QCOMPARE(cell["path"].toString(), southWest);
        QCOMPARE(cell["deltaT"].toDouble(), 12.0);
        QCOMPARE(cell["deltaTNormalised"].toDouble(), 15.0);
        QCOMPARE(cell["class"].toInt(), 3);
        QCOMPARE(QJsonDocument::fromJson(lines[1]).object()["class"].toInt(), 2); // 7 K
        QCOMPARE(QJsonDocument::fromJson(lines[2]).object()["path"].toString(), m_photos[16]);
        const QJsonArray features = QJsonDocument::fromJson(readAll(geoPath)).object()["features"].toArray();
        QCOMPARE(features.size(), 3);
        const QJsonArray at = features[0].toObject()["geometry"].toObject()["coordinates"].toArray();
        QCOMPARE(at.size(), 3);
        QVERIFY(std::abs(at[0].toDouble() + (58 + 22 / 60.0)) < 1e-6); // six decimals of a degree
        QVERIFY(std::abs(at[1].toDouble() + (34 + 36 / 60.0)) < 1e-6);
        QCOMPARE(at[2].toDouble(), -2.5);

        // A higher threshold and a larger minimum area leave the connector out.
        const Run fewer = qct({"hotspots", "--threshold", "6.5", "--min-area", "5", southWest});
        QCOMPARE(fewer.out.count('\n'), 1);

        for (const QStringList &bad : {QStringList{"--threshold", "0"}, QStringList{"--threshold", "warm"},
                                       QStringList{"--min-area", "0"}, QStringList{"--min-area", "2.5"},
                                       QStringList{"--irradiance", "-800"}, QStringList{"--classes", "20,10"},
                                       QStringList{"--classes", "10"}, QStringList{"--classes", "10,nan"},
                                       QStringList{"--excel"}, QStringList{"--geojson"}}) {
            const Run refused = qct(QStringList{"hotspots"} + bad + QStringList{southWest});
            QCOMPARE(refused.status, 2);
            QVERIFY(refused.out.isEmpty());
        }
        QCOMPARE(qct({"hotspots"}).status, 2);
        // As for info: a photograph that does not load is said on standard error and fails the run.
        const Run missing = qct({"hotspots", m_dir.filePath("absent.jpg"), southWest});
        QCOMPARE(missing.status, 1);
        QCOMPARE(missing.err, "qct: " + m_dir.filePath("absent.jpg").toUtf8() + ": no such file\n");
        QCOMPARE(missing.out, qct({"hotspots", southWest}).out);
        QCOMPARE(missing.out.count('\n'), 2);
        // A calibrated photograph is read with the settings saved beside it, as by the other
        // commands, and with the camera values given over them.
        const QString calibrated = m_dir.filePath("calibrated.jpg");
        QVERIFY(QFile::copy(m_photos[1], calibrated));
        const QByteArray plain = qct({"hotspots", calibrated}).out;
        QVERIFY(writeAll(calibrated + ".qct.json", "{\"version\":1,\"camera\":{\"emissivity\":80}}"));
        const QByteArray corrected = qct({"hotspots", calibrated}).out;
        QVERIFY(!plain.isEmpty() && corrected != plain);
        QCOMPARE(qct({"hotspots", "--no-sidecar", "--emissivity", "80", calibrated}).out, corrected);
        QCOMPARE(qct({"hotspots", "--no-sidecar", calibrated}).out, plain);

        // A file that cannot be written fails the run.
        const Run nowhere = qct({"hotspots", "--csv", m_dir.filePath("none/where.csv"), southWest});
        QCOMPARE(nowhere.status, 1);
        QVERIFY(nowhere.err.contains("none/where.csv"));
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
