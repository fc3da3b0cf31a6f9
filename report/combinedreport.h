#pragma once

#include "hotspotdetector.h"
#include "reportmodel.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

// One report for a selection of photographs: a cover (site, dates, count, version), the
// anomalies of every photograph ranked (with the settings they were found with, the count of
// each class and a crop of each), a summary with a row per photograph, hottest first, then a
// section per photograph in that order with its picture and colour scale, parameters,
// whole-frame statistics and measurements.
enum ReportFormat { Pdf, Word };

struct CombinedReport
{
    QString site;
    QStringList photos;
    ReportFormat format = ReportFormat::Pdf; // PDF, or a Word document (.docx)
    HotSpotSettings hotSpots;                // what counts as an anomaly
    // Called after each photograph of each pass (two passes: reading, then writing) with the
    // steps done and the steps in all; false stops the report (nothing is written then).
    std::function<bool(int done, int total)> progress;
};

// The photograph's report data: its record from the program's photograph store when it was
// opened, else loaded on its own (and not kept), with the measurements it has in this run.
ReportPhoto reportPhotoOf(const QString &photo);

// The picture of a photograph as the analysis page draws it, measurements included and no
// item selected, with its colour scale beside it. A photograph not opened in this run is
// loaded for it and forgotten again.
QImage reportPicture(const QString &photo);

// Writes the report to path in its format. False with a reason for the user when it could not be written
// (or was stopped); nothing is left at path then.
bool writeCombinedReport(const CombinedReport &report, const QString &path, QString *error);
