#include "mygraphicpointitem.h"
#include "exportfilethread.h"
#include "itemtables.h"
#include "pagetables.h"
#include "photogenerator.h"
#include "phototables.h"
#include "reportdocument.h"
#include "wordreport.h"

#include <QDir>
#include <QDomDocument>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <quazip.h>
#include <quazipfile.h>

namespace {

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

void rezip(const QString &path, const QMap<QString, QByteArray> &parts)
{
    QuaZip zip(path);
    QVERIFY(zip.open(QuaZip::mdCreate));
    for (auto it = parts.begin(); it != parts.end(); ++it) {
        QuaZipFile file(&zip);
        QVERIFY(file.open(QIODevice::WriteOnly, QuaZipNewInfo(it.key())));
        file.write(it.value());
    }
}

// The text right after each bookmark start.
QMap<QString, QString> bookmarkTexts(const QDomDocument &doc)
{
    QMap<QString, QString> texts;
    const QDomNodeList starts = doc.elementsByTagName("w:bookmarkStart");
    for (int i = 0; i < starts.size(); ++i) {
        const QDomElement start = starts.at(i).toElement();
        const QDomElement run = start.nextSiblingElement("w:r");
        texts.insert(start.attribute("w:name"), run.firstChildElement("w:t").text());
    }
    return texts;
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

QList<QDomElement> tables(const QDomDocument &doc)
{
    QList<QDomElement> list;
    const QDomNodeList all = doc.elementsByTagName("w:tbl");
    for (int i = 0; i < all.size(); ++i)
        list << all.at(i).toElement();
    return list;
}

} // namespace

class TestWordReport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_photo;
    QString m_snapshot;
    const QString m_template = QString(QCT_TEMPLATE_DIR) + "/template.dotx";

    QDomDocument writeReport(const QString &templatePath, const QString &name)
    {
        ReportDocument document;
        if (!openReportDocument(document, templatePath) || !writeWordReport(document, m_dir.path(), m_snapshot, name))
            return QDomDocument();
        QDomDocument doc;
        doc.setContent(unzip(m_dir.filePath(name + ".docx")).value("word/document.xml"));
        return doc;
    }

private slots:
    void initTestCase()
    {
        m_photo = m_dir.filePath("IR_0001.jpg");
        PhotoSpec shot;
        shot.width = 32;
        shot.height = 24;
        for (int i = 0; i < 32 * 24; ++i)
            shot.temperatures.push_back(20.0f + 0.1f * float(i % 32) + float(i / 32));
        shot.camera.gimbalType = "QT640";
        shot.exif.dateTimeOriginal = "2024:06:01 09:30:00";
        writePhoto(m_photo, shot);
        QCOMPARE(loadPhotoRecord(m_photo), 0);
        m_snapshot = m_dir.filePath("IR_0001.bmp");
        QImage(320, 240, QImage::Format_RGB32).save(m_snapshot);
        snapshotSources()[m_snapshot] = m_photo;

        // Items named so that their order by name differs from creation order.
        loadedPhotoPaths() = QStringList{m_photo};
        const QRectF image(0, 0, 320, 240);
        auto point = [&](const QString &name, const QPointF &at) {
            auto item = std::make_shared<MyGraphicPointItem>();
            item->setName(name);
            item->setMappingContext(image);
            item->setPoint(at);
            item->computeTemperature(at, m_photo);
            itemTables()[m_photo][name] = item;
        };
        point("Poly1", QPointF(15, 15));
        point("P2", QPointF(105, 55));
        point("L1", QPointF(305, 235));
        loadedPhotoPaths().clear(); // no temperatures for the last one
        point("Re1", QPointF(5, 5));
    }

    void reportContents()
    {
        QVERIFY(QFileInfo(m_template).isFile());
        const QDomDocument doc = writeReport(m_template, "IR_0001");
        QVERIFY(!doc.isNull());
        const PhotoRecord record = copyPhotoRecord(m_photo);
        const QMap<QString, QString> texts = bookmarkTexts(doc);
        QCOMPARE(texts.value("device"), QString("QT640"));
        QCOMPARE(texts.value("reslution"), QString("32px * 24px"));
        QCOMPARE(texts.value("reflectTEMP"), record.texts[TextReflectedTemp]);
        QCOMPARE(texts.value("ambientTEMP"), record.texts[TextAirTemp]);
        QCOMPARE(texts.value("transmittance"), record.texts[TextTransmittance]);
        QCOMPARE(texts.value("emissive"), record.texts[TextEmissivity]);
        QCOMPARE(texts.value("distance"), record.texts[TextDistance]);
        QCOMPARE(texts.value("date"), QString("2024/06/01 09:30:00"));

        // The picture with its relationship, part and content type.
        const QMap<QString, QByteArray> parts = unzip(m_dir.filePath("IR_0001.docx"));
        const QString embed = QRegularExpression("r:embed=\"([^\"]+)\"").match(parts.value("word/document.xml")).captured(1);
        QVERIFY(!embed.isEmpty());
        QVERIFY(parts.value("word/_rels/document.xml.rels").contains(QString("Id=\"%1\"").arg(embed).toUtf8()));
        QVERIFY(parts.value("word/_rels/document.xml.rels").contains("Target=\"media/report1.png\""));
        QVERIFY(!QImage::fromData(parts.value("word/media/report1.png")).isNull());
        QVERIFY(parts.value("[Content_Types].xml").contains("image/png"));
        QVERIFY(parts.value("[Content_Types].xml").contains("wordprocessingml.document.main+xml"));
        QVERIFY(!parts.value("[Content_Types].xml").contains("template.main"));

        // The second table: header, then the items by name, two decimals, 65536.00 for no reading.
        const QList<QDomElement> all = tables(doc);
        QCOMPARE(all.size(), 2);
        QCOMPARE(tableRows(all[0]).size(), 8);
        const QList<QStringList> rows = tableRows(all[1]);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[0], (QStringList{QString::fromUtf8("编号"), QString::fromUtf8("最大值"), QString::fromUtf8("最小值"),
                                       QString::fromUtf8("平均值"), QString::fromUtf8("发射率")}));
        QStringList names;
        for (int r = 1; r < rows.size(); ++r)
            names << rows[r][0];
        QCOMPARE(names, (QStringList{"L1", "P2", "Poly1", "Re1"}));
        const float p2 = itemTables()[m_photo]["P2"]->stats().max;
        QCOMPARE(rows[2][1], QString::number(p2, 'f', 2));
        QCOMPARE(rows[4], (QStringList{"Re1", "65536.00", "65536.00", "65536.00", record.texts[TextEmissivity]}));
        QCOMPARE(all[1].firstChildElement("w:tblPr").firstChildElement("w:tblStyle").attribute("w:val"), QString("TableGrid"));
    }

    void templatesWithoutTableOrBookmark()
    {
        const QMap<QString, QByteArray> parts = unzip(m_template);
        QString document = QString::fromUtf8(parts.value("word/document.xml"));

        // No table before "roi": the added table is the first, table 2 does not exist.
        QMap<QString, QByteArray> noTable = parts;
        noTable["word/document.xml"] = QString(document).remove(QRegularExpression("<w:tbl>.*</w:tbl>")).toUtf8();
        rezip(m_dir.filePath("notable.dotx"), noTable);
        const QDomDocument plain = writeReport(m_dir.filePath("notable.dotx"), "notable");
        QVERIFY(!plain.isNull()); // still saved
        const QList<QDomElement> added = tables(plain);
        QCOMPARE(added.size(), 1);
        const QList<QStringList> emptyRows = tableRows(added[0]);
        QCOMPARE(emptyRows.size(), 5);
        for (const QStringList &row : emptyRows)
            QCOMPARE(row, (QStringList{"", "", "", "", ""}));
        QVERIFY(added[0].firstChildElement("w:tblPr").firstChildElement("w:tblStyle").isNull());

        // A template without the "device" bookmark: the rest is written.
        QMap<QString, QByteArray> noDevice = parts;
        noDevice["word/document.xml"] = document.replace("w:name=\"device\"", "w:name=\"other\"").toUtf8();
        rezip(m_dir.filePath("nodevice.dotx"), noDevice);
        const QDomDocument partial = writeReport(m_dir.filePath("nodevice.dotx"), "nodevice");
        QVERIFY(!partial.isNull());
        QCOMPARE(bookmarkTexts(partial).value("other"), QString());
        QCOMPARE(bookmarkTexts(partial).value("reslution"), QString("32px * 24px"));
        QCOMPARE(tables(partial).size(), 2);

        // A missing template or a photograph that is gone: no report.
        ReportDocument missing;
        QVERIFY(!openReportDocument(missing, m_dir.filePath("absent.dotx")));
        ReportDocument gone;
        QVERIFY(openReportDocument(gone, m_template));
        QVERIFY(!writeWordReport(gone, m_dir.path(), m_dir.filePath("nobody.bmp"), "nobody"));
        QVERIFY(!QFile::exists(m_dir.filePath("nobody.docx")));
    }

    void exportJobWritesReports()
    {
        // The templates were copied beside this test by the build, as they lie beside the program.
        QVERIFY(QFileInfo(reportTemplatePath()).isFile());
        const QString gone = m_dir.filePath("IR_0002.bmp");
        QImage(32, 24, QImage::Format_RGB32).save(gone);
        snapshotSources()[gone] = m_dir.filePath("IR_0002.jpg"); // no such photograph
        ExportFileThread job(m_dir.filePath("out"), {m_snapshot, gone}, ExportFileThread::WordReports);
        QSignalSpy progress(&job, &ExportFileThread::OnUpdateExportProgress);
        QSignalSpy finished(&job, &ExportFileThread::OnExportFinished);
        job.start();
        QVERIFY(job.wait(60000));
        QCOMPARE(progress.size(), 2);
        QCOMPARE(finished.first(), (QList<QVariant>{1, 2}));
        QCOMPARE(QDir(job.exportFolder()).entryList(QDir::Files), QStringList{"IR_0001.docx"});
    }

    void opensInAnOfficeSuite()
    {
        const QString office = QStandardPaths::findExecutable("libreoffice");
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (office.isEmpty() || pdftotext.isEmpty())
            QSKIP("LibreOffice or pdftotext is not installed");
        QVERIFY(!writeReport(m_template, "IR_0001").isNull());
        QProcess convert;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_dir.filePath("office-home"));
        convert.setProcessEnvironment(environment);
        convert.start(office, {"--headless", "--convert-to", "pdf", "--outdir", m_dir.filePath("pdf"),
                               m_dir.filePath("IR_0001.docx")});
        QVERIFY(convert.waitForFinished(120000));
        QVERIFY2(QFile::exists(m_dir.filePath("pdf/IR_0001.pdf")), convert.readAllStandardError().constData());
        QProcess text;
        text.start(pdftotext, {m_dir.filePath("pdf/IR_0001.pdf"), "-"});
        QVERIFY(text.waitForFinished(60000));
        const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString &expected : {QString("QT640"), QString("32px * 24px"), QString("2024/06/01 09:30:00"),
                                        QString("Poly1"), QString("65536.00")})
            QVERIFY2(pdf.contains(expected), qPrintable(expected));
    }
};

QTEST_MAIN(TestWordReport)
#include "tst_wordreport.moc"
