#include "wordreport.h"

#include "itemtables.h"
#include "snapshottables.h"
#include "photorecord.h"
#include "phototables.h"
#include "reportdocument.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

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
    PhotoRecord record;
    const bool found = findPhotoRecord(photo, record);
    const QString emissivity = found ? record.texts[TextEmissivity] : QString();
    const QStringList headers = {
        QCoreApplication::translate("ExportFileThread", "编号"),
        QCoreApplication::translate("ExportFileThread", "最大值"),
        QCoreApplication::translate("ExportFileThread", "最小值"),
        QCoreApplication::translate("ExportFileThread", "平均值"),
        QCoreApplication::translate("ExportFileThread", "发射率"),
    };
    QList<ItemStatsRow> rows = itemStatsRows(photo);
    std::sort(rows.begin(), rows.end(), [](const ItemStatsRow &a, const ItemStatsRow &b) { return a.name < b.name; });
    QStringList cells;
    for (const ItemStatsRow &row : rows)
        cells << row.name << QString::number(row.max, 'f', 2) << QString::number(row.min, 'f', 2)
              << QString::number(row.avg, 'f', 2) << emissivity;

    if (found) {
        const QList<QPair<const char *, DisplayText>> bookmarks = {
            {"device", TextGimbalType},       {"reslution", TextResolution},  {"reflectTEMP", TextReflectedTemp},
            {"ambientTEMP", TextAirTemp},     {"transmittance", TextTransmittance}, {"emissive", TextEmissivity},
            {"distance", TextDistance},       {"date", TextCreated}};
        for (const auto &bookmark : bookmarks)
            document.setBookmarkText(bookmark.first, record.texts[bookmark.second]);
    }
    document.insertBookmarkPicture("testimg", snapshot);
    document.addBookmarkTable("roi", 2, headers, cells);
    if (document.saveAs(folder + "/" + baseName + ".docx"))
        return true;
    if (error)
        *error = document.errorString();
    return false;
}
