#include "reportanomalies.h"

#include "hotspotcrop.h"
#include "naturalorder.h"
#include "photohotspots.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("ReportModel", text);
}

QString kelvin(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

QString ReportAnomaly::fileName() const
{
    return QFileInfo(path).fileName();
}

QVector<ReportAnomaly> reportAnomalies(const PhotoRecord &record, const HotSpotSettings &settings)
{
    QVector<ReportAnomaly> anomalies;
    if (!record.hasTemperature || !record.matrix)
        return anomalies;
    const HotSpots found = findHotSpots(*record.matrix, hotSpotSettingsFor(record.path, settings));
    if (found.spots.isEmpty())
        return anomalies;
    const QImage frame = hotSpotFrame(*record.matrix, record.stats);
    for (const HotSpot &spot : found.spots) {
        QImage crop = hotSpotCrop(frame, spot.bounds);
        if (crop.width() > kReportCropSide || crop.height() > kReportCropSide)
            crop = crop.scaled(kReportCropSide, kReportCropSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        anomalies.append({record.path, found.reference, spot, crop});
    }
    return anomalies;
}

void rankAnomalies(QVector<ReportAnomaly> &anomalies)
{
    std::stable_sort(anomalies.begin(), anomalies.end(), [](const ReportAnomaly &a, const ReportAnomaly &b) {
        if (a.spot.deltaT != b.spot.deltaT)
            return a.spot.deltaT > b.spot.deltaT;
        if (a.fileName() != b.fileName())
            return naturalLess(a.fileName(), b.fileName());
        return std::make_pair(a.spot.maxPos.y(), a.spot.maxPos.x()) < std::make_pair(b.spot.maxPos.y(), b.spot.maxPos.x());
    });
}

ReportTable anomalySummaryTable(const QVector<ReportAnomaly> &anomalies, const HotSpotSettings &settings)
{
    int counts[3] = {0, 0, 0};
    for (const ReportAnomaly &a : anomalies)
        ++counts[std::clamp(a.spot.severity, 1, 3) - 1];
    const QString low = kelvin(settings.classLimits[0]), high = kelvin(settings.classLimits[1]);
    ReportTable table;
    table.rows = {
        {translated("阈值（高于参考温度）"), kelvin(settings.threshold) + " K"},
        {translated("最小面积"), translated("%1 像素").arg(settings.minimumArea)},
        {translated("辐照度"), settings.irradiance ? QString::number(*settings.irradiance, 'f', 0) + " W/m²" : QStringLiteral("NA")},
        {translated("等级 3（温差 ≥ %1 K）").arg(high), QString::number(counts[2])},
        {translated("等级 2（%1 K ≤ 温差 < %2 K）").arg(low, high), QString::number(counts[1])},
        {translated("等级 1（温差 < %1 K）").arg(low), QString::number(counts[0])},
    };
    return table;
}

ReportTable anomalyTable(const QVector<ReportAnomaly> &anomalies)
{
    const QString celsius = " (" + unitSymbol(TemperatureUnit::Celsius) + ")";
    ReportTable table;
    table.headers = QStringList{translated("位置"),
                                translated("序号"),
                                translated("文件名"),
                                translated("等级"),
                                translated("温差 (K)"),
                                translated("最高温度") + celsius,
                                translated("参考温度") + celsius,
                                translated("面积 (像素)"),
                                translated("最热点 (像素)")};
    for (int i = 0; i < anomalies.size(); ++i) {
        const ReportAnomaly &a = anomalies[i];
        table.rows.append({QString(), QString::number(i + 1), a.fileName(), QString::number(a.spot.severity),
                           kelvin(a.spot.deltaT), reportTemperature(a.spot.max, TemperatureUnit::Celsius),
                           reportTemperature(a.reference, TemperatureUnit::Celsius), QString::number(a.spot.area),
                           QString::number(a.spot.maxPos.x()) + ", " + QString::number(a.spot.maxPos.y())});
        table.pictures.append(a.crop);
    }
    return table;
}
