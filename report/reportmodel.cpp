#include "reportmodel.h"

#include "naturalorder.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace {

// A header with its unit after it; the unit is a fixed symbol, never a text read from a file.
QString withUnit(const QString &header, const QString &unit)
{
    return header + " (" + unit + ")";
}

QString pixelText(const QPointF &p)
{
    return QString::number(int(p.x())) + ", " + QString::number(int(p.y()));
}

QString pixelsText(const QRect &r)
{
    if (r.width() <= 1 && r.height() <= 1)
        return pixelText(r.topLeft());
    return pixelText(r.topLeft()) + " – " + pixelText(r.bottomRight());
}

// A capture date as the panel shows it, or nothing when the photograph has none.
QString dateOf(const ReportPhoto &photo)
{
    const QString date = photo.texts.value(TextCreated).trimmed();
    return date == "NA" ? QString() : date;
}

} // namespace

QString ReportPhoto::fileName() const
{
    return QFileInfo(path).fileName();
}

ReportPhoto reportPhoto(const PhotoRecord &record, QList<ReportItem> items)
{
    ReportPhoto photo;
    photo.path = record.path;
    photo.hasTemperature = record.hasTemperature;
    photo.stats = record.stats;
    photo.unit = record.unit;
    photo.texts = record.texts;
    std::sort(items.begin(), items.end(), [](const ReportItem &a, const ReportItem &b) { return naturalLess(a.name, b.name); });
    photo.items = std::move(items);
    return photo;
}

void sortHottestFirst(QVector<ReportPhoto> &photos)
{
    const auto known = [](const ReportPhoto &p) { return p.hasTemperature && p.stats.max != NA_TEMPERATURE; };
    std::stable_sort(photos.begin(), photos.end(), [&](const ReportPhoto &a, const ReportPhoto &b) {
        if (known(a) != known(b))
            return known(a);
        if (known(a) && a.stats.max != b.stats.max)
            return a.stats.max > b.stats.max;
        return naturalLess(a.fileName(), b.fileName());
    });
}

QString reportTemperature(float celsius, TemperatureUnit unit)
{
    if (celsius == NA_TEMPERATURE)
        return "NA";
    return QString::number(fromCelsius(celsius, unit), 'f', 2);
}

ReportCover reportCover(const QString &site, const QVector<ReportPhoto> &photos)
{
    ReportCover cover;
    cover.site = site;
    cover.count = photos.size();
    cover.version = QString::fromLatin1(QCT_VERSION);
    // The panel's dates ("yyyy/MM/dd hh:mm:ss") sort as text.
    for (const ReportPhoto &photo : photos) {
        const QString date = dateOf(photo);
        if (date.isEmpty())
            continue;
        if (cover.firstDate.isEmpty() || date < cover.firstDate)
            cover.firstDate = date;
        if (cover.lastDate.isEmpty() || date > cover.lastDate)
            cover.lastDate = date;
    }
    if (cover.firstDate.isEmpty())
        cover.firstDate = cover.lastDate = "NA";
    return cover;
}

ReportTable coverTable(const ReportCover &cover)
{
    ReportTable table;
    table.rows = {{QCoreApplication::translate("ReportModel", "现场"), cover.site},
                  {QCoreApplication::translate("ReportModel", "拍摄时间"), cover.firstDate == cover.lastDate ? cover.firstDate
                                                                  : cover.firstDate + " – " + cover.lastDate},
                  {QCoreApplication::translate("ReportModel", "照片数量"), QString::number(cover.count)},
                  {QCoreApplication::translate("ReportModel", "软件版本"), cover.version}};
    return table;
}

ReportTable summaryTable(const QVector<ReportPhoto> &photos)
{
    const QString celsius = unitSymbol(TemperatureUnit::Celsius);
    ReportTable table;
    table.title = QCoreApplication::translate("ReportModel", "汇总");
    table.headers = QStringList{QCoreApplication::translate("ReportModel", "文件名"),
                     QCoreApplication::translate("ReportModel", "拍摄时间"),
                     QCoreApplication::translate("ReportModel", "GPS"),
                     withUnit(QCoreApplication::translate("ReportModel", "最高温度"), celsius),
                     withUnit(QCoreApplication::translate("ReportModel", "最低温度"), celsius),
                     withUnit(QCoreApplication::translate("ReportModel", "平均温度"), celsius),
                     QCoreApplication::translate("ReportModel", "测量数"),
                     withUnit(QCoreApplication::translate("ReportModel", "最热测量"), celsius)};
    for (const ReportPhoto &photo : photos) {
        QString hottest;
        const ReportItem *top = nullptr;
        for (const ReportItem &item : photo.items) {
            if (item.max != NA_TEMPERATURE && (!top || item.max > top->max))
                top = &item;
        }
        if (top)
            hottest = top->name + " " + reportTemperature(top->max, TemperatureUnit::Celsius);
        const QString date = dateOf(photo);
        table.rows << QStringList{photo.fileName(),
                                  date.isEmpty() ? QString("NA") : date,
                                  photo.texts.value(TextGps),
                                  reportTemperature(photo.stats.max, TemperatureUnit::Celsius),
                                  reportTemperature(photo.stats.min, TemperatureUnit::Celsius),
                                  reportTemperature(photo.stats.avg, TemperatureUnit::Celsius),
                                  QString::number(photo.items.size()),
                                  hottest};
    }
    return table;
}

QString parameterText(const ReportPhoto &photo, DisplayText text)
{
    const QString value = photo.texts.value(text).trimmed();
    return value.isEmpty() ? QString("NA") : value;
}

ReportTable parameterTable(const ReportPhoto &photo)
{
    ReportTable table;
    table.title = QCoreApplication::translate("ReportModel", "参数");
    table.headers = QStringList{QCoreApplication::translate("ReportModel", "参数"), QCoreApplication::translate("ReportModel", "值")};
    const std::pair<const char *, DisplayText> rows[] = {
        {QT_TRANSLATE_NOOP("ReportModel", "拍摄时间"), TextCreated},
        {QT_TRANSLATE_NOOP("ReportModel", "GPS"), TextGps},
        {QT_TRANSLATE_NOOP("ReportModel", "海拔"), TextAltitude},
        {QT_TRANSLATE_NOOP("ReportModel", "云台型号"), TextGimbalType},
        {QT_TRANSLATE_NOOP("ReportModel", "分辨率"), TextResolution},
        {QT_TRANSLATE_NOOP("ReportModel", "发射率"), TextEmissivity},
        {QT_TRANSLATE_NOOP("ReportModel", "距离"), TextDistance},
        {QT_TRANSLATE_NOOP("ReportModel", "反射温度"), TextReflectedTemp},
        {QT_TRANSLATE_NOOP("ReportModel", "大气温度"), TextAirTemp},
        {QT_TRANSLATE_NOOP("ReportModel", "湿度"), TextHumidity},
        {QT_TRANSLATE_NOOP("ReportModel", "大气透过率"), TextTransmittance}};
    table.rows << QStringList{QCoreApplication::translate("ReportModel", "文件名"), photo.fileName()};
    for (const auto &[label, text] : rows)
        table.rows << QStringList{QCoreApplication::translate("ReportModel", label), parameterText(photo, text)};
    return table;
}

ReportTable statisticsTable(const ReportPhoto &photo)
{
    const QString unit = unitSymbol(photo.unit);
    ReportTable table;
    table.title = QCoreApplication::translate("ReportModel", "全图温度");
    table.headers = QStringList{withUnit(QCoreApplication::translate("ReportModel", "最高温度"), unit), withUnit(QCoreApplication::translate("ReportModel", "最低温度"), unit), withUnit(QCoreApplication::translate("ReportModel", "平均温度"), unit),
                     QCoreApplication::translate("ReportModel", "最高温度位置 (像素)"), QCoreApplication::translate("ReportModel", "最低温度位置 (像素)")};
    const bool known = photo.hasTemperature && photo.stats.max != NA_TEMPERATURE;
    table.rows << QStringList{reportTemperature(photo.stats.max, photo.unit),
                              reportTemperature(photo.stats.min, photo.unit),
                              reportTemperature(photo.stats.avg, photo.unit),
                              known ? pixelText(photo.stats.maxPos) : QString("NA"),
                              known ? pixelText(photo.stats.minPos) : QString("NA")};
    return table;
}

ReportTable itemTable(const ReportPhoto &photo)
{
    const QString unit = unitSymbol(photo.unit);
    ReportTable table;
    table.title = QCoreApplication::translate("ReportModel", "测量");
    table.headers = QStringList{QCoreApplication::translate("ReportModel", "编号"), withUnit(QCoreApplication::translate("ReportModel", "最大值"), unit), withUnit(QCoreApplication::translate("ReportModel", "最小值"), unit), withUnit(QCoreApplication::translate("ReportModel", "平均值"), unit),
                     QCoreApplication::translate("ReportModel", "位置 (像素)")};
    for (const ReportItem &item : photo.items)
        table.rows << QStringList{item.name, reportTemperature(item.max, photo.unit),
                                  reportTemperature(item.min, photo.unit), reportTemperature(item.avg, photo.unit),
                                  pixelsText(item.pixels)};
    return table;
}

QString reportTitle()
{
    return QCoreApplication::translate("ReportModel", "红外巡检报告");
}

QString sectionTitle(const ReportPhoto &photo, int number)
{
    return QString::number(number) + ". " + photo.fileName();
}
