#include "../pdftext.h"
#include "pdfreport.h"
#include "reportmodel.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

// The words of the headers that pdftotext does not find whole: a word split over two lines of its
// cell reads as two pieces.
QStringList splitWords(const ReportTable &table, const QString &text)
{
    QStringList split;
    for (const QString &header : table.headers) {
        for (const QString &word : header.normalized(QString::NormalizationForm_KC).split(' ', Qt::SkipEmptyParts)) {
            if (!text.contains(QRegularExpression("(^|\\s)" + QRegularExpression::escape(word) + "(\\s|$)")))
                split << word;
        }
    }
    return split;
}

} // namespace

class TestPdfReport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const ReportTable &table)
    {
        const QString path = m_dir.filePath(name);
        PdfReport pdf(path);
        pdf.table(table);
        QString error;
        [&] { QVERIFY2(pdf.finish(&error), qPrintable(error)); }();
        return path;
    }

private slots:
    void summaryHeadersBreakBetweenWords()
    {
        // The summary of a flight in English: eight columns, the numbers' headers longer than
        // their numbers ("Maximum (°C)" over "109.40").
        QTranslator english;
        QVERIFY(english.load(":/res/language/english.qm"));
        QCoreApplication::installTranslator(&english);
        QVector<ReportPhoto> photos;
        for (int i = 1; i <= 12; ++i) {
            ReportPhoto p;
            p.path = QString("/flight/IR_%1.jpg").arg(i, 4, 10, QChar('0'));
            p.hasTemperature = true;
            p.stats.max = 70.0f + float(i) * 3.1f;
            p.stats.min = -8.0f;
            p.stats.avg = 25.25f;
            p.texts[TextCreated] = QString("2024/06/01 09:%1:03").arg(10 + i);
            p.texts[TextGps] = "E120.155603,N30.274481";
            p.items = {{"P10", 95.25f, 90.0f, 92.0f, {}}, {"Re2", -12.5f, -20.0f, -15.0f, {}}};
            photos << p;
        }
        const ReportTable table = summaryTable(photos);
        QCoreApplication::removeTranslator(&english);
        QVERIFY(table.headers.join(' ').contains("Maximum"));
        const QString text = pdfText(write("summary.pdf", table));
        QVERIFY2(!text.isEmpty(), "pdftotext read nothing");
        QCOMPARE(splitWords(table, text), QStringList());
        // The data cells keep their line.
        QVERIFY(text.contains(QRegularExpression("IR_0012\\.jpg\\s+2024/06/01 09:22:03\\s+E120\\.155603,N30\\.274481\\s+107\\.20\\s")));
    }

    void narrowColumnsMakeTheTableSmallerRatherThanSplitWords()
    {
        // Eight columns of long words: at the usual size they cannot all be whole on the page.
        ReportTable table;
        for (int c = 0; c < 8; ++c)
            table.headers << QString("Transmittance %1").arg(c);
        table.rows << QStringList();
        for (int c = 0; c < 8; ++c)
            table.rows.last() << QString::number(c * 11.5, 'f', 2);
        const QString text = pdfText(write("narrow.pdf", table));
        QVERIFY2(!text.isEmpty(), "pdftotext read nothing");
        QCOMPARE(splitWords(table, text), QStringList());
        for (const QString &cell : table.rows.first())
            QVERIFY2(text.contains(cell), qPrintable(cell));
    }

    void aPhotographsSectionFitsOnOnePage()
    {
        // A section as the combined report writes it, with the picture at the analysis page's
        // proportions (the view and its colour scale) and a few measurements.
        ReportPhoto photo;
        photo.path = "/flight/IR_0001.jpg";
        photo.hasTemperature = true;
        photo.stats.max = 73.1f;
        photo.stats.min = -8.0f;
        photo.stats.avg = 25.23f;
        photo.items = {{"P1", 70.5f, 70.5f, 70.5f, QRect(180, 220, 1, 1)},
                       {"R1", 60.0f, 20.0f, 31.0f, QRect(QPoint(10, 20), QPoint(200, 180))}};
        QImage picture(1095, 800, QImage::Format_RGB32);
        picture.fill(QColor(200, 60, 90));
        const QString path = m_dir.filePath("section.pdf");
        PdfReport pdf(path);
        pdf.heading(sectionTitle(photo, 1), true);
        pdf.picture(picture);
        pdf.table(parameterTable(photo));
        pdf.table(statisticsTable(photo));
        pdf.table(itemTable(photo));
        QString error;
        QVERIFY2(pdf.finish(&error), qPrintable(error));
        const QString text = pdfText(path);
        QVERIFY(text.contains("R1"));
        QCOMPARE(text.trimmed().count('\f'), 0); // no page break
    }
};

QTEST_MAIN(TestPdfReport)
#include "tst_pdfreport.moc"
