#include "../pdftext.h"
#include "combinedreport.h"
#include "docxreport.h"
#include "itemtables.h"
#include "mygraphicpointitem.h"
#include "photogenerator.h"
#include "openedphotos.h"
#include "photostore.h"

#include <QDomDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <quazip.h>
#include <quazipfile.h>

namespace {

PhotoSpec shotWithMax(float base, float max)
{
    PhotoSpec shot;
    shot.width = 64;
    shot.height = 48;
    for (int i = 0; i < 64 * 48; ++i)
        shot.temperatures.push_back(base + 0.01f * float(i % 64));
    shot.temperatures[10 * 64 + 20] = max;
    shot.exif.dateTimeOriginal = "2024:06:01 09:30:00";
    return shot;
}

QMap<QString, QByteArray> unzip(const QString &path)
{
    QMap<QString, QByteArray> parts;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return parts;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile file(&zip);
        file.open(QIODevice::ReadOnly);
        parts.insert(zip.getCurrentFileName(), file.readAll());
    }
    return parts;
}

QList<QStringList> tableRows(const QDomElement &table)
{
    QList<QStringList> rows;
    for (QDomElement tr = table.firstChildElement("w:tr"); !tr.isNull(); tr = tr.nextSiblingElement("w:tr")) {
        QStringList cells;
        for (QDomElement tc = tr.firstChildElement("w:tc"); !tc.isNull(); tc = tc.nextSiblingElement("w:tc"))
            cells << tc.text();
        rows << cells;
    }
    return rows;
}

} // namespace

class TestDocxReport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_photos;

private slots:
    void initTestCase()
    {
        // The report template lies beside this test as it lies beside the program.
        QVERIFY(QFileInfo(reportTemplatePath()).isFile());
        const std::pair<const char *, float> shots[] = {{"IR_0002.jpg", 40.5f}, {"IR_0010.jpg", 95.25f}, {"IR_0003.jpg", 60.75f}};
        for (const auto &[name, max] : shots) {
            m_photos << m_dir.filePath(name);
            writePhoto(m_photos.last(), shotWithMax(20, max));
        }
        const QString hot = m_photos[1];
        QCOMPARE(PhotoStore::program().load(hot), 0);
        loadedPhotoPaths() = QStringList{hot};
        for (const auto &[name, at] : {std::pair<QString, QPointF>{"P10", {205, 105}}, {"P2", {15, 15}}}) {
            auto item = std::make_shared<MyGraphicPointItem>();
            item->setName(name);
            item->setMappingContext(QRectF(0, 0, 640, 480));
            item->setPoint(at);
            item->computeTemperature(at, hot);
            itemTables()[hot][name] = item;
        }
    }

    // The combined report as Word: the summary is the model's, hottest first; every table with
    // a header repeats it on each page and keeps it with the first row; one picture a section.
    void combinedReportFollowsTheModel()
    {
        CombinedReport combined;
        combined.site = "Roof";
        combined.photos = m_photos;
        combined.format = ReportFormat::Word;
        const QString path = m_dir.filePath("site.docx");
        QString error;
        QVERIFY2(writeCombinedReport(combined, path, &error), qPrintable(error));
        const QMap<QString, QByteArray> parts = unzip(path);
        QDomDocument doc;
        QVERIFY(doc.setContent(parts.value("word/document.xml")));

        QVector<ReportPhoto> photos;
        for (const QString &photo : m_photos)
            photos << reportPhotoOf(photo);
        sortHottestFirst(photos);
        const ReportTable summary = summaryTable(photos);

        const QDomNodeList tables = doc.elementsByTagName("w:tbl");
        // The cover, the anomalies' settings and counts (these photographs have none), the summary,
        // and three tables per photograph.
        QCOMPARE(tables.size(), 3 + 3 * m_photos.size());
        QList<QStringList> rows = tableRows(tables.at(2).toElement());
        QCOMPARE(rows.takeFirst(), summary.headers);
        QCOMPARE(rows, summary.rows);
        QVERIFY(rows[0][0] == "IR_0010.jpg" && rows[1][0] == "IR_0003.jpg" && rows[2][0] == "IR_0002.jpg");

        for (int t : {0, 1})
            QVERIFY(tables.at(t).firstChildElement("w:tr").firstChildElement("w:trPr").firstChildElement("w:tblHeader").isNull());
        for (int t = 2; t < tables.size(); ++t) {
            const QDomElement header = tables.at(t).firstChildElement("w:tr");
            const QDomElement properties = header.firstChildElement("w:trPr");
            QVERIFY2(!properties.firstChildElement("w:tblHeader").isNull(), qPrintable(QString::number(t)));
            QVERIFY(!properties.firstChildElement("w:cantSplit").isNull());
            const QDomNodeList paragraphs = header.elementsByTagName("w:p");
            for (int i = 0; i < paragraphs.size(); ++i)
                QVERIFY(!paragraphs.at(i).firstChildElement("w:pPr").firstChildElement("w:keepNext").isNull());
        }
        // The hot photograph's measurements in natural order.
        const QList<QStringList> items = tableRows(tables.at(5).toElement());
        QCOMPARE(items.size(), 3);
        QVERIFY(items[1][0] == "P2" && items[2][0] == "P10");

        QCOMPARE(doc.elementsByTagName("w:drawing").size(), m_photos.size());
        for (int n = 1; n <= m_photos.size(); ++n)
            QVERIFY(!QImage::fromData(parts.value(QString("word/media/report%1.png").arg(n))).isNull());
        QVERIFY(parts.value("[Content_Types].xml").contains("wordprocessingml.document.main+xml"));
    }

    // A summary of eighty photographs runs over two pages in a real office suite, and its
    // header row is on both.
    void summaryHeaderRepeatsInAnOfficeSuite()
    {
        const QString office = QStandardPaths::findExecutable("soffice");
        if (office.isEmpty() || QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("soffice (LibreOffice) or pdftotext is not installed: the Word report is not opened in an office suite");
        QVector<ReportPhoto> photos(80);
        for (int i = 0; i < photos.size(); ++i) {
            photos[i].path = m_dir.filePath(QString("IR_%1.jpg").arg(i + 1, 4, 10, QChar('0')));
            photos[i].hasTemperature = true;
            photos[i].stats.max = 100.0f - float(i);
            photos[i].stats.min = 10.0f;
            photos[i].stats.avg = 30.0f;
        }
        const QString path = m_dir.filePath("long.docx");
        DocxReport docx(path);
        docx.title(reportTitle());
        docx.heading(QString::fromUtf8("汇总"), true);
        docx.table(summaryTable(photos));
        QString error;
        QVERIFY2(docx.finish(&error), qPrintable(error));

        QProcess convert;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_dir.filePath("office-home"));
        convert.setProcessEnvironment(environment);
        convert.start(office, {"--headless", "--convert-to", "pdf", "--outdir", m_dir.path(), path});
        QVERIFY(convert.waitForFinished(120000));
        const QString pdf = m_dir.filePath("long.pdf");
        QVERIFY2(QFile::exists(pdf), convert.readAllStandardError().constData());
        // Page 1 is the title; the summary begins on page 2 and runs onto page 3.
        const QString header = QString::fromUtf8("最高温度").normalized(QString::NormalizationForm_KC);
        for (int page : {2, 3}) {
            const QString text = pdfText(pdf, page);
            QVERIFY2(text.contains(header) && text.contains(QString::fromUtf8("文件名")), qPrintable(QString::number(page) + ":\n" + text));
        }
        QVERIFY(pdfText(pdf, 3).contains("IR_0080.jpg"));
        QVERIFY(!pdfText(pdf, 2).contains("IR_0080.jpg"));
    }
};

QTEST_MAIN(TestDocxReport)
#include "tst_docxreport.moc"
