#include "exportfilethread.h"
#include "exporttesthelpers.h"
#include "itemtables.h"
#include "mygraphicpointitem.h"
#include "snapshottables.h"
#include "photogenerator.h"
#include "openedphotos.h"
#include "photostore.h"
#include "reportdocument.h"
#include "reportmodel.h"
#include "temperatureunit.h"
#include "wordreport.h"

#include <QDir>
#include <QDomDocument>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QtTest>

#include <quazip.h>
#include <quazipfile.h>

#include <sys/resource.h>

#include <csignal>
#include <cerrno>
#include <cstring>

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

QDomElement enclosingParagraph(QDomNode node)
{
    while (!node.isNull() && node.nodeName() != "w:p")
        node = node.parentNode();
    return node.toElement();
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

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QDomElement bookmarkMark(const QDomDocument &doc, const QString &tag, const QString &attribute, const QString &value)
{
    const QDomNodeList all = doc.elementsByTagName(tag);
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i).toElement().attribute(attribute) == value)
            return all.at(i).toElement();
    }
    return QDomElement();
}

QDomElement paragraphWith(QDomDocument &doc, const QStringList &texts)
{
    QDomElement p = doc.createElement("w:p");
    for (const QString &text : texts) {
        QDomElement r = doc.createElement("w:r");
        QDomElement t = doc.createElement("w:t");
        t.appendChild(doc.createTextNode(text));
        r.appendChild(t);
        p.appendChild(r);
    }
    return p;
}

QStringList childNames(const QDomElement &parent)
{
    QStringList names;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        names << e.nodeName();
    return names;
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
        QCOMPARE(PhotoStore::program().load(m_photo), 0);
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
        point("P10", QPointF(205, 155));
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
        const PhotoRecord record = PhotoStore::program().snapshot(m_photo);
        const QMap<QString, QString> texts = bookmarkTexts(doc);
        QCOMPARE(texts.value("device"), QString("QT640"));
        QCOMPARE(texts.value("reslution"), QString("32px * 24px"));
        QCOMPARE(texts.value("reflectTEMP"), record.texts[TextReflectedTemp]);
        QCOMPARE(texts.value("ambientTEMP"), record.texts[TextAirTemp]);
        QCOMPARE(texts.value("transmittance"), record.texts[TextTransmittance]);
        QCOMPARE(texts.value("emissive"), record.texts[TextEmissivity]);
        QCOMPARE(texts.value("distance"), record.texts[TextDistance]);
        QCOMPARE(texts.value("date"), QString("2024/06/01 09:30:00"));
        QCOMPARE(texts.value("filename"), QString("IR_0001.jpg"));
        // The generator states no position, altitude or humidity here: "NA", not invented values.
        QCOMPARE(texts.value("gps"), QString("NA"));
        QCOMPARE(texts.value("altitude"), QString("NA"));
        QCOMPARE(texts.value("humidity"), record.texts[TextHumidity].trimmed().isEmpty() ? QString("NA") : record.texts[TextHumidity]);

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

        // The second table: header with units, then the items in natural order (P2 before P10)
        // with their positions in pixels, "NA" for no reading; the third the whole frame.
        const QString unit = unitSymbol(record.unit);
        const QList<QDomElement> all = tables(doc);
        QCOMPARE(all.size(), 3);
        QCOMPARE(tableRows(all[0]).size(), 12);
        const QList<QStringList> rows = tableRows(all[1]);
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows[0], (QStringList{QString::fromUtf8("编号"), QString::fromUtf8("最大值 (") + unit + ")",
                                       QString::fromUtf8("最小值 (") + unit + ")", QString::fromUtf8("平均值 (") + unit + ")",
                                       QString::fromUtf8("位置 (像素)"), QString::fromUtf8("发射率")}));
        QStringList names;
        for (int r = 1; r < rows.size(); ++r)
            names << rows[r][0];
        QCOMPARE(names, (QStringList{"L1", "P2", "P10", "Poly1", "Re1"}));
        const float p2 = itemTables()[m_photo]["P2"]->stats().max;
        QCOMPARE(rows[2][1], QString::number(p2, 'f', 2));
        QCOMPARE(rows[2][4], QString("10, 5"));
        QCOMPARE(rows[5], (QStringList{"Re1", "NA", "NA", "NA", "0, 0", record.texts[TextEmissivity]}));
        QCOMPARE(all[1].firstChildElement("w:tblPr").firstChildElement("w:tblStyle").attribute("w:val"), QString("TableGrid"));
        const QList<QStringList> frame = tableRows(all[2]);
        QCOMPARE(frame.size(), 2);
        QCOMPARE(frame[0].first(), QString::fromUtf8("最高温度 (") + unit + ")");
        QCOMPARE(frame[1].mid(0, 3), (QStringList{reportTemperature(record.stats.max, record.unit),
                                                  reportTemperature(record.stats.min, record.unit),
                                                  reportTemperature(record.stats.avg, record.unit)}));
        // Every header row repeats on each page and stays with the next row.
        for (int t = 1; t < 3; ++t) {
            const QDomElement header = all[t].firstChildElement("w:tr");
            QVERIFY(!header.firstChildElement("w:trPr").firstChildElement("w:tblHeader").isNull());
            QVERIFY(!header.firstChildElement("w:trPr").firstChildElement("w:cantSplit").isNull());
            const QDomNodeList paragraphs = header.elementsByTagName("w:p");
            for (int i = 0; i < paragraphs.size(); ++i)
                QVERIFY(!paragraphs.at(i).firstChildElement("w:pPr").firstChildElement("w:keepNext").isNull());
        }
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
        QCOMPARE(added.size(), 2); // the regions' and the whole frame's
        const QList<QStringList> emptyRows = tableRows(added[0]);
        QCOMPARE(emptyRows.size(), 6);
        for (const QStringList &row : emptyRows)
            QCOMPARE(row, (QStringList{"", "", "", "", "", ""}));
        QVERIFY(added[0].firstChildElement("w:tblPr").firstChildElement("w:tblStyle").isNull());

        // A template without the "device" bookmark: the rest is written.
        QMap<QString, QByteArray> noDevice = parts;
        noDevice["word/document.xml"] = document.replace("w:name=\"device\"", "w:name=\"other\"").toUtf8();
        rezip(m_dir.filePath("nodevice.dotx"), noDevice);
        const QDomDocument partial = writeReport(m_dir.filePath("nodevice.dotx"), "nodevice");
        QVERIFY(!partial.isNull());
        QCOMPARE(bookmarkTexts(partial).value("other"), QString());
        QCOMPARE(bookmarkTexts(partial).value("reslution"), QString("32px * 24px"));
        QCOMPARE(tables(partial).size(), 3);

        // A missing template or a photograph that is gone: no report.
        ReportDocument missing;
        QVERIFY(!openReportDocument(missing, m_dir.filePath("absent.dotx")));
        ReportDocument gone;
        QVERIFY(openReportDocument(gone, m_template));
        QVERIFY(!writeWordReport(gone, m_dir.path(), m_dir.filePath("nobody.bmp"), "nobody"));
        QVERIFY(!QFile::exists(m_dir.filePath("nobody.docx")));
    }

    // A report whose write fails half way (as on a full disk) leaves neither a broken
    // document nor a temporary file, and says why.
    void failedWriteLeavesNothing()
    {
        const QString folder = m_dir.filePath("fulldisk");
        QVERIFY(QDir().mkpath(folder));
        ReportDocument document;
        QVERIFY(openReportDocument(document, m_template));
        QString error;
        {
            FileSizeLimit limit(1024);
            QVERIFY(!writeWordReport(document, folder, m_snapshot, "IR_0001", &error));
        }
        QCOMPARE(entries(folder), QStringList());
        QVERIFY2(error.contains("IR_0001.docx") && error.contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
                 qPrintable(error));

        // The name taken by a folder: the folder stays, nothing else appears.
        QVERIFY(QDir().mkpath(folder + "/IR_0001.docx"));
        ReportDocument blocked;
        QVERIFY(openReportDocument(blocked, m_template));
        error.clear();
        QVERIFY(!writeWordReport(blocked, folder, m_snapshot, "IR_0001", &error));
        QCOMPARE(entries(folder), QStringList{"IR_0001.docx"});
        QVERIFY(QFileInfo(folder + "/IR_0001.docx").isDir());
        QVERIFY2(error.contains("IR_0001.docx"), qPrintable(error));

        // The job names the photograph and why.
        ExportFileThread job(m_dir.filePath("fullout"), {m_snapshot}, ExportFileThread::WordReports);
        QSignalSpy summary(&job, &ExportFileThread::OnExportSummary);
        QSignalSpy finished(&job, &ExportFileThread::OnExportFinished);
        {
            FileSizeLimit limit(1024);
            job.start();
            QVERIFY(job.wait(60000));
        }
        QCOMPARE(finished.first(), (QList<QVariant>{0, 1}));
        QCOMPARE(entries(job.exportFolder()), QStringList());
        QCOMPARE(summary.size(), 1);
        QCOMPARE(summary.first().at(0).toString(), job.exportFolder());
        const QStringList lines = summary.first().at(1).toStringList();
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith("IR_0001.jpg: ") && lines[0].contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
                 qPrintable(lines[0]));
    }

    // Bookmarks placed as Word places them when a customer marks cells or paragraphs: over
    // table cells (a start before the row's cells, with the columns), over rows, and between
    // paragraphs. The text goes where the range begins and every row, cell and paragraph stays.
    void bookmarksOverCellsAndParagraphs()
    {
        QMap<QString, QByteArray> parts = unzip(m_template);
        QDomDocument edited;
        QVERIFY(edited.setContent(parts.value("word/document.xml")));
        QDomElement body = edited.documentElement().firstChildElement("w:body");
        QList<QDomElement> rows;
        const QDomElement table = body.firstChildElement("w:tbl");
        for (QDomElement tr = table.firstChildElement("w:tr"); !tr.isNull(); tr = tr.nextSiblingElement("w:tr"))
            rows << tr;
        QCOMPARE(rows.size(), 12);
        const QStringList labels = [&] {
            QStringList list;
            for (const QDomElement &tr : rows)
                list << tr.firstChildElement("w:tc").text();
            return list;
        }();
        auto start = [&](const QString &name) { return bookmarkMark(edited, "w:bookmarkStart", "w:name", name); };
        auto end = [&](const QString &name) { return bookmarkMark(edited, "w:bookmarkEnd", "w:id", start(name).attribute("w:id")); };
        auto overCells = [&](const QString &name, QDomElement row, int first, int last) {
            QDomElement s = start(name);
            s.setAttribute("w:colFirst", first);
            s.setAttribute("w:colLast", last);
            row.insertBefore(s, row.firstChildElement("w:tc"));
        };
        // The value cell, with a placeholder.
        QDomElement deviceCell = rows[0].firstChildElement("w:tc").nextSiblingElement("w:tc");
        deviceCell.firstChildElement("w:p").appendChild(paragraphWith(edited, {"placeholder"}).firstChildElement("w:r"));
        QDomElement deviceEnd = end("device");
        overCells("device", rows[0], 1, 1);
        rows[0].appendChild(deviceEnd);
        // Both cells of a row.
        QDomElement resolutionEnd = end("reslution");
        overCells("reslution", rows[1], 0, 1);
        rows[1].appendChild(resolutionEnd);
        // The value cells of two rows: the end before the next row's cells.
        QDomElement reflectEnd = end("reflectTEMP");
        overCells("reflectTEMP", rows[2], 1, 1);
        rows[3].insertBefore(reflectEnd, rows[3].firstChildElement("w:tc"));
        // The end inside the cell's paragraph, after a placeholder.
        QDomElement dateEnd = end("date");
        overCells("date", rows[7], 1, 1);
        QDomElement dateParagraph = rows[7].lastChildElement("w:tc").firstChildElement("w:p");
        dateParagraph.appendChild(paragraphWith(edited, {"placeholder"}).firstChildElement("w:r"));
        dateParagraph.appendChild(dateEnd);
        // The picture's paragraph and the next heading, marked from between paragraphs.
        QDomElement pictureStart = start("testimg");
        QDomElement pictureEnd = end("testimg");
        const QDomElement pictureParagraph = pictureStart.parentNode().toElement();
        const QDomElement regionsHeading = pictureParagraph.nextSiblingElement("w:p");
        body.insertBefore(pictureStart, pictureParagraph);
        body.insertAfter(pictureEnd, regionsHeading);
        // Two text bookmarks over two paragraphs each: one from between paragraphs, one from
        // inside the first.
        QDomElement title = body.firstChildElement("w:p");
        QDomElement noteStart = edited.createElement("w:bookmarkStart");
        noteStart.setAttribute("w:id", 30);
        noteStart.setAttribute("w:name", "note");
        QDomElement noteEnd = edited.createElement("w:bookmarkEnd");
        noteEnd.setAttribute("w:id", 30);
        QDomElement second = paragraphWith(edited, {"a", "old3"});
        QDomElement secondStart = edited.createElement("w:bookmarkStart");
        secondStart.setAttribute("w:id", 31);
        secondStart.setAttribute("w:name", "note2");
        second.insertAfter(secondStart, second.firstChildElement("w:r"));
        QDomElement third = paragraphWith(edited, {"old4", "c"});
        QDomElement secondEnd = edited.createElement("w:bookmarkEnd");
        secondEnd.setAttribute("w:id", 31);
        third.insertAfter(secondEnd, third.firstChildElement("w:r"));
        QDomNode at = title;
        for (const QDomElement &e : {noteStart, paragraphWith(edited, {"old1"}), paragraphWith(edited, {"old2"}), noteEnd,
                                     second, third})
            at = body.insertAfter(e, at);
        const QStringList bodyBefore = childNames(body);
        parts["word/document.xml"] = edited.toByteArray(-1);
        rezip(m_dir.filePath("wordlike.dotx"), parts);

        ReportDocument document;
        QVERIFY(openReportDocument(document, m_dir.filePath("wordlike.dotx")));
        QVERIFY(document.setBookmarkText("note", "N1"));
        QVERIFY(document.setBookmarkText("note2", "N2"));
        QVERIFY(writeWordReport(document, m_dir.path(), m_snapshot, "wordlike"));
        QDomDocument doc;
        QVERIFY(doc.setContent(unzip(m_dir.filePath("wordlike.docx")).value("word/document.xml")));
        const QDomElement written = doc.documentElement().firstChildElement("w:body");

        // The body as before, with the tables of regions and of the whole frame after their
        // paragraphs.
        QStringList bodyAfter = childNames(written);
        for (int n = 0; n < 2; ++n) {
            const int added = bodyAfter.indexOf("w:tbl", bodyAfter.indexOf("w:tbl") + 1);
            QVERIFY(added > 0);
            bodyAfter.removeAt(added);
        }
        QCOMPARE(bodyAfter, bodyBefore);
        // Runs only inside paragraphs; every cell ends with a paragraph.
        const QDomNodeList runs = doc.elementsByTagName("w:r");
        for (int i = 0; i < runs.size(); ++i)
            QVERIFY2(!enclosingParagraph(runs.at(i)).isNull(), qPrintable(runs.at(i).parentNode().nodeName()));
        const QDomNodeList cells = doc.elementsByTagName("w:tc");
        for (int i = 0; i < cells.size(); ++i)
            QCOMPARE(cells.at(i).lastChildElement().nodeName(), QString("w:p"));

        const PhotoRecord record = PhotoStore::program().snapshot(m_photo);
        const QList<QStringList> values = tableRows(written.firstChildElement("w:tbl"));
        QCOMPARE(values.size(), 12);
        for (const QStringList &row : values)
            QCOMPARE(row.size(), 2);
        QCOMPARE(values[0], (QStringList{labels[0], "QT640"}));
        QCOMPARE(values[1], (QStringList{"32px * 24px", ""}));
        QCOMPARE(values[2], (QStringList{labels[2], record.texts[TextReflectedTemp]}));
        QCOMPARE(values[3], (QStringList{labels[3], record.texts[TextAirTemp]}));
        QCOMPARE(values[7], (QStringList{labels[7], "2024/06/01 09:30:00"}));
        for (int r = 4; r < 7; ++r)
            QCOMPARE(values[r][0], labels[r]);

        // The picture in its paragraph; the texts in the first paragraph of their ranges.
        QDomElement paragraph = written.firstChildElement("w:p").nextSiblingElement("w:p");
        QCOMPARE(paragraph.text(), QString("N1"));
        QCOMPARE((paragraph = paragraph.nextSiblingElement("w:p")).text(), QString("old2"));
        QCOMPARE((paragraph = paragraph.nextSiblingElement("w:p")).text(), QString("aN2"));
        QCOMPARE((paragraph = paragraph.nextSiblingElement("w:p")).text(), QString("old4c"));
        QCOMPARE(doc.elementsByTagName("w:drawing").size(), 1);
        QCOMPARE(enclosingParagraph(doc.elementsByTagName("w:drawing").at(0)).firstChildElement("w:pPr")
                     .firstChildElement("w:jc").attribute("w:val"), QString("center"));
        // Every bookmark keeps both of its marks.
        QCOMPARE(doc.elementsByTagName("w:bookmarkStart").size(), doc.elementsByTagName("w:bookmarkEnd").size());
    }

    // The regions' bookmark in a table cell: the table goes into the cell, which still ends
    // with a paragraph as a cell must.
    void regionsTableInACell()
    {
        QMap<QString, QByteArray> parts = unzip(m_template);
        QDomDocument edited;
        QVERIFY(edited.setContent(parts.value("word/document.xml")));
        QDomElement roi = bookmarkMark(edited, "w:bookmarkStart", "w:name", "roi").parentNode().toElement();
        QDomElement cell = edited.elementsByTagName("w:tc").at(15).toElement();
        cell.appendChild(roi);
        parts["word/document.xml"] = edited.toByteArray(-1);
        rezip(m_dir.filePath("incell.dotx"), parts);
        const QDomDocument doc = writeReport(m_dir.filePath("incell.dotx"), "incell");
        QVERIFY(!doc.isNull());
        const QDomElement written = doc.elementsByTagName("w:tc").at(15).toElement();
        QVERIFY(!written.firstChildElement("w:tbl").isNull());
        QCOMPARE(written.lastChildElement().nodeName(), QString("w:p"));
    }

    void wordPlacedBookmarksOpenInAnOfficeSuite()
    {
        const QString office = QStandardPaths::findExecutable("libreoffice");
        if (office.isEmpty())
            QSKIP("LibreOffice is not installed");
        QVERIFY(QFile::exists(m_dir.filePath("wordlike.docx")));
        QProcess convert;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_dir.filePath("office-home"));
        convert.setProcessEnvironment(environment);
        convert.start(office, {"--headless", "--convert-to", "html", "--outdir", m_dir.filePath("html"),
                               m_dir.filePath("wordlike.docx")});
        QVERIFY(convert.waitForFinished(120000));
        QFile html(m_dir.filePath("html/wordlike.html"));
        QVERIFY2(html.open(QIODevice::ReadOnly), convert.readAllStandardError().constData());
        const QString text = QString::fromUtf8(html.readAll());
        // Twelve parameter rows, the header and five regions, the whole frame's header and row.
        QCOMPARE(text.count(QRegularExpression("<tr[ >]")), 12 + 6 + 2);
        const QString plain = QTextDocumentFragment::fromHtml(text).toPlainText().replace(QChar(0xa0), ' ');
        for (const QString &expected : {QString("QT640"), QString("32px * 24px"), QString("2024/06/01 09:30:00"),
                                        QString("N1"), QString("old2"), QString("Poly1")})
            QVERIFY2(plain.contains(expected), qPrintable(expected + " not in:\n" + plain));
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
        const QString unit = unitSymbol(TemperatureUnit::Celsius);
        for (const QString &expected : {QString("QT640"), QString("32px * 24px"), QString("2024/06/01 09:30:00"),
                                        QString("Poly1"), QString("IR_0001.jpg"), QString::fromUtf8("最大值 (") + unit + ")"})
            QVERIFY2(pdf.contains(expected), qPrintable(expected + " not in:\n" + pdf));
    }
};

QTEST_MAIN(TestWordReport)
#include "tst_wordreport.moc"
