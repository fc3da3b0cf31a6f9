#pragma once

#include "photorecord.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

// What the inspection reports say about photographs, as tables of texts that the PDF and the
// Word writer lay out alike. No widgets: the command line builds it too.

// One measurement of a photograph: its statistics (°C) and where it lies, in pixels.
struct ReportItem
{
    QString name;
    float max = NA_TEMPERATURE;
    float min = NA_TEMPERATURE;
    float avg = NA_TEMPERATURE;
    QRect pixels; // a point is one pixel
};

// One photograph of a report.
struct ReportPhoto
{
    QString path;
    bool hasTemperature = false;
    TempStats stats;
    TemperatureUnit unit = TemperatureUnit::Celsius;
    QStringList texts = unknownDisplayTexts();
    QList<ReportItem> items; // in natural order of their names

    QString fileName() const;
};

// The photograph's part of a report; its items are put in natural order.
ReportPhoto reportPhoto(const PhotoRecord &record, QList<ReportItem> items);

// Hottest whole-frame maximum first; photographs without temperatures last; ties by name.
void sortHottestFirst(QVector<ReportPhoto> &photos);

// A temperature given in °C as a report writes it in unit: two decimals, "NA" without a reading.
QString reportTemperature(float celsius, TemperatureUnit unit);

// The cover: the site, the range of capture dates, the number of photographs, the version.
struct ReportCover
{
    QString site;
    QString firstDate; // "NA" when no photograph has a date
    QString lastDate;
    int count = 0;
    QString version;
};
ReportCover reportCover(const QString &site, const QVector<ReportPhoto> &photos);

// A titled table of texts with its header row.
struct ReportTable
{
    QString title;
    QStringList headers;
    QList<QStringList> rows;
    // When not empty, a picture per row, shown in the row's first cell.
    QList<QImage> pictures;
};

// The cover as label and value rows (no header).
ReportTable coverTable(const ReportCover &cover);
// One row per photograph in the given order: file name, time, GPS, maximum, minimum, average
// (°C), number of measurements, hottest measurement.
ReportTable summaryTable(const QVector<ReportPhoto> &photos);
// A camera text of the photograph as the reports print it: "NA" when the photograph does not
// state it.
QString parameterText(const ReportPhoto &photo, DisplayText text);
// The photograph's parameters as label and value rows; missing data reads "NA".
ReportTable parameterTable(const ReportPhoto &photo);
// Whole-frame maximum, minimum, average in the photograph's unit, and where the extremes lie.
ReportTable statisticsTable(const ReportPhoto &photo);
// One row per measurement: name, maximum, minimum, average (in the photograph's unit) and
// position in pixels.
ReportTable itemTable(const ReportPhoto &photo);

// The report's own title and the heading of a photograph's section.
QString reportTitle();
QString sectionTitle(const ReportPhoto &photo, int number);
