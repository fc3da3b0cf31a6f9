#pragma once

#include "hotspotdetector.h"
#include "photorecord.h"
#include "reportmodel.h"

#include <QImage>
#include <QVector>

// The anomalies section of a report: every anomaly of the photographs ranked, with a crop of
// the photograph around each.

// Crops are kept at most this many pixels a side: a report of many anomalies stays small.
constexpr int kReportCropSide = 48;

struct ReportAnomaly
{
    QString path;
    float reference = NA_TEMPERATURE; // °C
    HotSpot spot;
    QImage crop;

    QString fileName() const;
};

// The loaded photograph's anomalies under the settings, each with its crop.
QVector<ReportAnomaly> reportAnomalies(const PhotoRecord &record, const HotSpotSettings &settings);

// Highest ΔT first; equal ones in natural order of their files, then by their hottest pixel.
void rankAnomalies(QVector<ReportAnomaly> &anomalies);

// The settings the anomalies were found with and how many there are of each class, as label
// and value rows.
ReportTable anomalySummaryTable(const QVector<ReportAnomaly> &anomalies, const HotSpotSettings &settings);
// One row per anomaly in the given order, its crop beside it: rank, file name, class, ΔT (K),
// maximum and reference (°C, as the anomaly list gives them), area and the hottest pixel.
ReportTable anomalyTable(const QVector<ReportAnomaly> &anomalies);
