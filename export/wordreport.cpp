#include "wordreport.h"

#include "combinedreport.h"
#include "reportdocument.h"
#include "reportmodel.h"
#include "snapshottables.h"

#include <QCoreApplication>
#include <QFileInfo>

bool openReportDocument(ReportDocument &document, const QString &templatePath)
{
    return document.open(templatePath);
}

bool writeWordReport(ReportDocument &document, const QString &folder, const QString &snapshot, const QString &baseName,
                     QString *error)
{
    const QString photo = snapshotSources().value(snapshot, snapshot);
    if (photo.isEmpty() || !QFileInfo(photo).isFile()) {
        if (error)
            *error = QCoreApplication::translate("ExportFileThread", "无法读取照片：%1").arg(photo);
        return false;
    }
    // The texts of the combined report: "NA" for what the camera did not state, units in the
    // headers, measurements in natural order with their positions.
    const ReportPhoto report = reportPhotoOf(photo);
    const QList<QPair<const char *, DisplayText>> bookmarks = {
        {"device", TextGimbalType},   {"reslution", TextResolution},        {"reflectTEMP", TextReflectedTemp},
        {"ambientTEMP", TextAirTemp}, {"transmittance", TextTransmittance}, {"emissive", TextEmissivity},
        {"distance", TextDistance},   {"date", TextCreated},                {"gps", TextGps},
        {"altitude", TextAltitude},   {"humidity", TextHumidity}};
    for (const auto &bookmark : bookmarks)
        document.setBookmarkText(bookmark.first, parameterText(report, bookmark.second));
    document.setBookmarkText("filename", report.fileName());
    document.insertBookmarkPicture("testimg", snapshot);

    // The measurements, each with the photograph's emissivity as the report always gave it.
    const ReportTable items = itemTable(report);
    const QString emissivity = parameterText(report, TextEmissivity);
    QStringList cells;
    for (const QStringList &row : items.rows)
        cells << row << emissivity;
    document.addBookmarkTable("roi", 2, items.headers + QStringList{QCoreApplication::translate("ExportFileThread", "发射率")},
                              cells);
    const ReportTable frame = statisticsTable(report);
    document.insertBookmarkTable("frame", frame.headers, frame.rows);
    if (document.saveAs(folder + "/" + baseName + ".docx"))
        return true;
    if (error)
        *error = document.errorString();
    return false;
}
