#include "../pdftext.h"
#include "combinedreport.h"
#include "hotspotjson.h"
#include "photohotspots.h"
#include "plantedanomalies.h"
#include "itemtables.h"
#include "mygraphicpointitem.h"
#include "photogenerator.h"
#include "openedphotos.h"
#include "photostore.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

// A 64 x 48 field at base with one hot pixel.
PhotoSpec shotWithMax(float base, float max, ContainerKind kind = ContainerKind::InfoBlockDirect)
{
    PhotoSpec shot;
    shot.kind = kind;
    shot.width = 64;
    shot.height = 48;
    for (int i = 0; i < 64 * 48; ++i)
        shot.temperatures.push_back(base + 0.01f * float(i % 64));
    shot.temperatures[10 * 64 + 20] = max;
    shot.exif.dateTimeOriginal = "2024:06:01 09:30:00";
    return shot;
}

QString kc(const char *text)
{
    return QString::fromUtf8(text).normalized(QString::NormalizationForm_KC);
}

} // namespace

class TestCombinedReport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_photos;
    QString m_bare;

    QString write(const QString &name, const PhotoSpec &shot)
    {
        const QString path = m_dir.filePath(name);
        writePhoto(path, shot);
        return path;
    }

    QString report(const QString &name, const QString &language = QString())
    {
        QTranslator translator;
        if (!language.isEmpty()) {
            [&] { QVERIFY(translator.load(QString(":/res/language/%1.qm").arg(language))); }();
            QCoreApplication::installTranslator(&translator);
        }
        CombinedReport combined;
        combined.site = kc("屋顶 A");
        combined.photos = m_photos;
        const QString path = m_dir.filePath(name);
        QString error;
        const bool written = writeCombinedReport(combined, path, &error);
        QCoreApplication::removeTranslator(&translator);
        return written ? path : QString();
    }

private slots:
    void initTestCase()
    {
        m_photos << write("IR_0002.jpg", shotWithMax(20, 40.5f)) << write("IR_0010.jpg", shotWithMax(25, 95.25f))
                 << write("IR_0003.jpg", shotWithMax(15, 60.75f));
        m_bare = write("bare.jpg", shotWithMax(30, 70.0f, ContainerKind::CompanionIrg));
        m_photos << m_bare;

        // Measurements of an opened photograph, made in an order unlike their names'.
        const QString hot = m_photos[1];
        QCOMPARE(PhotoStore::program().load(hot), 0);
        loadedPhotoPaths() = QStringList{hot};
        const QRectF image(0, 0, 640, 480);
        for (const auto &[name, at] : {std::pair<QString, QPointF>{"P10", {205, 105}}, {"P2", {15, 15}}, {"P1", {305, 235}}}) {
            auto item = std::make_shared<MyGraphicPointItem>();
            item->setName(name);
            item->setMappingContext(image);
            item->setPoint(at);
            item->computeTemperature(at, hot);
            itemTables()[hot][name] = item;
        }
    }

    void summaryFollowsTheRecordsHottestFirst()
    {
        const QString pdf = report("site.pdf");
        QVERIFY(!pdf.isEmpty());
        const QString text = pdfText(pdf);
        QVERIFY2(!text.isEmpty(), "pdftotext read nothing");
        QVERIFY(text.contains(kc("屋顶 A")));
        QVERIFY(text.contains(kc("2024/06/01 09:30:00")));

        // Every summary row holds what a separate load of the photograph reads.
        QList<int> rows;
        const QStringList lines = text.split('\n');
        for (const QString &photo : m_photos) {
            PhotoRecord record;
            QCOMPARE(loadNewPhoto(QFile::encodeName(photo), record), 0);
            const QString name = QFileInfo(photo).fileName();
            const int row = lines.indexOf(QRegularExpression("^\\s*" + QRegularExpression::escape(name) + "\\s.*"));
            QVERIFY2(row >= 0, qPrintable(name));
            const QString line = lines[row];
            for (float value : {record.stats.max, record.stats.min, record.stats.avg})
                QVERIFY2(line.contains(QString::number(value, 'f', 2)), qPrintable(line));
            rows << row;
        }
        // Hottest first: IR_0010 (95.25), bare (70), IR_0003 (60.75), IR_0002 (40.5).
        QVERIFY(rows[1] < rows[3] && rows[3] < rows[2] && rows[2] < rows[0]);
        // The hottest measurement of IR_0010 is named in its row; it has three.
        QVERIFY(lines[rows[1]].contains(QRegularExpression("\\s3\\s+P\\d+ ")));

        // Units in the headers, measurements in natural order.
        QVERIFY(text.contains(kc("最高温度 (℃)")));
        QVERIFY(text.contains(kc("最大值 (℃)")));
        const int p1 = text.indexOf(QRegularExpression("\\n\\s*P1\\s"));
        const int p2 = text.indexOf(QRegularExpression("\\n\\s*P2\\s"));
        const int p10 = text.indexOf(QRegularExpression("\\n\\s*P10\\s"));
        QVERIFY(p1 > 0 && p1 < p2 && p2 < p10);

        // The photograph without camera data: "NA", no invented settings.
        const int from = text.indexOf(QRegularExpression("\\d\\. bare\\.jpg"));
        QVERIFY(from > 0);
        const QString bare = text.mid(from, text.indexOf(QRegularExpression("\\d\\. IR_"), from) - from);
        for (const char *invented : {"%rh", "0.0m", "0.0°C", "?0.0"})
            QVERIFY2(!bare.contains(kc(invented)), invented);
        QVERIFY(bare.contains(QRegularExpression(kc("发射率") + "\\s+NA\\n")));
    }

    void firstPagesAreNotBlank()
    {
        const QString pdf = report("pages.pdf");
        QVERIFY(!pdf.isEmpty());
        QVERIFY(QProcess::execute("pdftoppm", {"-r", "40", "-f", "1", "-l", "2", "-png", pdf, m_dir.filePath("page")}) == 0);
        for (const QString &page : {"page-1.png", "page-2.png"}) {
            const QImage image(m_dir.filePath(page));
            QVERIFY2(!image.isNull(), qPrintable(page));
            int ink = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    ink += qGray(image.pixel(x, y)) < 160;
            QVERIFY2(ink > 200, qPrintable(QString("%1: %2 dark pixels").arg(page).arg(ink)));
        }
    }

    void threeLanguages()
    {
        const QString english = pdfText(report("en.pdf", "english"));
        QVERIFY(english.contains("Summary"));
        QVERIFY(english.contains(kc("Max. (°C)")));
        const QString japanese = pdfText(report("ja.pdf", "japanese"));
        QVERIFY(japanese.contains(kc("概要")));
        QVERIFY(japanese.contains(kc("最高温度 (℃)")));
        const QString chinese = pdfText(report("zh.pdf"));
        QVERIFY(chinese.contains(kc("汇总")));
        QVERIFY(!chinese.contains("Summary"));
    }

    void stoppedReportLeavesTheFileAlone()
    {
        const QString path = m_dir.filePath("kept.pdf");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("before");
        file.close();
        CombinedReport combined;
        combined.photos = m_photos;
        combined.progress = [](int done, int total) { return done < total - 1; };
        QString error;
        QVERIFY(!writeCombinedReport(combined, path, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("before"));
    }
    // The anomalies come first, ranked across photographs, each row holding what the anomaly
    // list (qct hotspots) gives for it, and the count of each class.
    void anomaliesMatchTheAnomalyList()
    {
        const QString folder = m_dir.filePath("spots");
        QDir().mkpath(folder);
        const auto scene = [](const std::vector<PlantedAnomaly> &anomalies) {
            PhotoSpec shot;
            shot.width = 160;
            shot.height = 120;
            shot.temperatures = inspectionScene(160, 120, 2);
            plantAnomalies(shot.temperatures, 160, 120, anomalies);
            return shot;
        };
        const QStringList photos{folder + "/IR_0001.jpg", folder + "/IR_0002.jpg"};
        writePhoto(photos[0], scene({hotCell({30, 20}, 4, 22.0f), hotConnector({100, 80}, 8.0f)}));
        writePhoto(photos[1], scene({diodeBand(QRect(10, 90, 40, 3), 15.0f)}));
        CombinedReport combined;
        combined.photos = photos;
        const QString pdf = m_dir.filePath("spots.pdf");
        QString error;
        QVERIFY2(writeCombinedReport(combined, pdf, &error), qPrintable(error));
        const QString text = pdfText(pdf);

        QList<QJsonObject> expected; // highest deltaT first
        for (const QString &photo : photos) {
            PhotoRecord record;
            for (const HotSpot &spot : scanPhotoHotSpots(QFile::encodeName(photo), HotSpotSettings(), record).found.spots)
                expected << hotSpotJson(photo, spot);
        }
        std::sort(expected.begin(), expected.end(), [](const QJsonObject &a, const QJsonObject &b) {
            return a["deltaT"].toDouble() > b["deltaT"].toDouble();
        });
        QCOMPARE(expected.size(), 3);
        const QRegularExpression row("^\\s*(\\d+)\\s+(IR_\\d+\\.jpg)\\s+(\\d)\\s+(\\S+)\\s+(\\S+)\\s+(\\S+)\\s+(\\d+)\\s+(\\d+), (\\d+)\\s*$",
                                     QRegularExpression::MultilineOption);
        auto match = row.globalMatch(text);
        for (int rank = 1; rank <= expected.size(); ++rank) {
            QVERIFY2(match.hasNext(), qPrintable(QString("row %1 missing").arg(rank)));
            const QRegularExpressionMatch m = match.next();
            const QJsonObject &spot = expected[rank - 1];
            const auto twoDecimals = [&](const char *key) { return QString::number(spot[key].toDouble(), 'f', 2); };
            QCOMPARE(m.captured(1).toInt(), rank);
            QCOMPARE(m.captured(2), QFileInfo(spot["path"].toString()).fileName());
            QCOMPARE(m.captured(3).toInt(), spot["class"].toInt());
            QCOMPARE(m.captured(4), twoDecimals("deltaT"));
            QCOMPARE(m.captured(5), twoDecimals("max"));
            QCOMPARE(m.captured(6), twoDecimals("reference"));
            QCOMPARE(m.captured(7).toInt(), spot["area"].toInt());
            QCOMPARE(m.captured(8).toInt(), spot["maxPos"].toArray()[0].toInt());
            QCOMPARE(m.captured(9).toInt(), spot["maxPos"].toArray()[1].toInt());
        }
        QVERIFY(!match.hasNext());
        // One of each class, and the section before the summary.
        for (const char *label : {"等级 3", "等级 2", "等级 1"})
            QVERIFY2(text.contains(QRegularExpression(kc(label) + "[^\\n]*K\\)\\s+1\\n")), label);
        QVERIFY(text.indexOf(kc("异常")) < text.indexOf(kc("汇总")));
    }
};

QTEST_MAIN(TestCombinedReport)
#include "tst_combinedreport.moc"
