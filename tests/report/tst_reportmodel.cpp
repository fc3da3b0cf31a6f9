#include "reportmodel.h"

#include <QtTest>

#include <algorithm>

namespace {

ReportPhoto photo(const QString &name, float max)
{
    ReportPhoto p;
    p.path = "/flight/" + name;
    p.hasTemperature = max != NA_TEMPERATURE;
    p.stats.max = max;
    return p;
}

} // namespace

class TestReportModel : public QObject
{
    Q_OBJECT

private slots:
    void itemsComeInNaturalOrder()
    {
        PhotoRecord record;
        record.path = "/flight/a.jpg";
        const ReportPhoto p = reportPhoto(record, {{"P10", 1, 1, 1, {}}, {"P2", 2, 2, 2, {}}, {"L1", 3, 3, 3, {}}});
        QCOMPARE(p.items.size(), 3);
        QCOMPARE(p.items[0].name, QString("L1"));
        QCOMPARE(p.items[1].name, QString("P2"));
        QCOMPARE(p.items[2].name, QString("P10"));
        QCOMPARE(p.fileName(), QString("a.jpg"));
    }

    void hottestFirstWithoutReadingsLast()
    {
        QVector<ReportPhoto> photos = {photo("IR_2.jpg", 40), photo("none.jpg", NA_TEMPERATURE), photo("IR_10.jpg", 95.5f),
                                       photo("IR_3.jpg", 40), photo("IR_1.jpg", -5)};
        sortHottestFirst(photos);
        QStringList order;
        for (const ReportPhoto &p : photos)
            order << p.fileName();
        QCOMPARE(order, (QStringList{"IR_10.jpg", "IR_2.jpg", "IR_3.jpg", "IR_1.jpg", "none.jpg"}));
    }

    void temperaturesInTheirUnit()
    {
        QCOMPARE(reportTemperature(21.5f, TemperatureUnit::Celsius), QString("21.50"));
        QCOMPARE(reportTemperature(0.0f, TemperatureUnit::Kelvin), QString("273.15"));
        QCOMPARE(reportTemperature(100.0f, TemperatureUnit::Fahrenheit), QString("212.00"));
        QCOMPARE(reportTemperature(NA_TEMPERATURE, TemperatureUnit::Kelvin), QString("NA"));

        ReportPhoto p = photo("k.jpg", 0.0f);
        p.unit = TemperatureUnit::Kelvin;
        p.stats.min = -10.0f;
        p.stats.avg = NA_TEMPERATURE;
        p.items = {{"P1", 1.0f, 1.0f, 1.0f, QRect(3, 4, 1, 1)}, {"Re1", 2.0f, 0.0f, 1.0f, QRect(QPoint(1, 2), QPoint(10, 20))}};
        const ReportTable stats = statisticsTable(p);
        QCOMPARE(stats.rows.value(0).mid(0, 3), (QStringList{"273.15", "263.15", "NA"}));
        for (const ReportTable &t : {stats, itemTable(p)}) {
            QVERIFY2(t.headers[1].endsWith("(K)"), qPrintable(t.headers[1]));
        }
        QVERIFY(summaryTable({p}).headers[3].endsWith(QString::fromUtf8("(℃)")));
        const ReportTable items = itemTable(p);
        QCOMPARE(items.rows[0].last(), QString("3, 4"));
        QCOMPARE(items.rows[1].last(), QString::fromUtf8("1, 2 – 10, 20"));
    }

    void summaryRows()
    {
        ReportPhoto p = photo("IR_7.jpg", 50.0f);
        p.stats.min = 10.0f;
        p.stats.avg = 20.125f;
        p.texts[TextCreated] = "2024/06/01 09:30:00";
        p.texts[TextGps] = "E113.000000,N22.500000";
        p.items = {{"P1", 30.0f, 30.0f, 30.0f, {}}, {"Re1", 45.0f, 12.0f, 20.0f, {}}, {"L1", NA_TEMPERATURE, NA_TEMPERATURE, NA_TEMPERATURE, {}}};
        const ReportTable table = summaryTable({p, photo("none.jpg", NA_TEMPERATURE)});
        QCOMPARE(table.headers.size(), 8);
        QCOMPARE(table.rows[0], (QStringList{"IR_7.jpg", "2024/06/01 09:30:00", "E113.000000,N22.500000", "50.00",
                                             "10.00", "20.13", "3", "Re1 45.00"}));
        QCOMPARE(table.rows[1].mid(3, 5), (QStringList{"NA", "NA", "NA", "0", ""}));
        QCOMPARE(table.rows[1][1], QString("NA"));
    }

    void coverDateRange()
    {
        QVector<ReportPhoto> photos = {photo("a.jpg", 1), photo("b.jpg", 2), photo("c.jpg", 3)};
        photos[0].texts[TextCreated] = "2024/06/02 10:00:00";
        photos[1].texts[TextCreated] = "2024/06/01 09:30:00";
        photos[2].texts[TextCreated] = " "; // no date
        ReportCover cover = reportCover("Roof A", photos);
        QCOMPARE(cover.firstDate, QString("2024/06/01 09:30:00"));
        QCOMPARE(cover.lastDate, QString("2024/06/02 10:00:00"));
        QCOMPARE(cover.count, 3);
        QVERIFY(!cover.version.isEmpty());
        const ReportTable table = coverTable(cover);
        QCOMPARE(table.rows[0][1], QString("Roof A"));
        QCOMPARE(table.rows[1][1], QString::fromUtf8("2024/06/01 09:30:00 – 2024/06/02 10:00:00"));
        QCOMPARE(reportCover("x", {photos[2]}).firstDate, QString("NA"));
    }

    void parametersWithoutDataReadNA()
    {
        ReportPhoto p = photo("bare.jpg", 10);
        p.texts[TextEmissivity] = "";
        p.texts[TextGps] = " ";
        const ReportTable table = parameterTable(p);
        QCOMPARE(table.rows[0], (QStringList{table.rows[0][0], "bare.jpg"}));
        for (const QStringList &row : table.rows)
            QVERIFY2(!row[1].trimmed().isEmpty(), qPrintable(row[0]));
    }
};

QTEST_MAIN(TestReportModel)
#include "tst_reportmodel.moc"
