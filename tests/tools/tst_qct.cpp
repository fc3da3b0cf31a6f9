#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int status;
    QByteArray out;
};

Run qct(const QStringList &arguments)
{
    QProcess process;
    process.setProgram(QCT_PATH);
    process.setArguments(arguments);
    process.start();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput()};
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
