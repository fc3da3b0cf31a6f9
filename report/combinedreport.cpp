#include "combinedreport.h"

#include "itemtables.h"
#include "pdfreport.h"
#include "snapshottables.h"
#include "phototables.h"
#include "snapshotwriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// Where an item lies on the photograph's pixel grid: its shape's bounds in the scene, scaled
// from the picture rectangle onto the pixels (per axis, truncated, as the statistics map them).
QRect itemPixels(const MyGraphicItem &item, const QSize &pixels)
{
    const QRectF image = item.imageRect();
    if (image.isEmpty() || pixels.isEmpty())
        return QRect();
    const QRectF shape = item.mapToScene(item.shape()).boundingRect();
    // A point is the pixel under its centre.
    const QRectF scene = item.kind() == KindPoint ? QRectF(shape.center(), shape.center()) : shape;
    const auto toPixel = [&](const QPointF &p) {
        const int x = int((p.x() - image.left()) * pixels.width() / image.width());
        const int y = int((p.y() - image.top()) * pixels.height() / image.height());
        return QPoint(std::clamp(x, 0, pixels.width() - 1), std::clamp(y, 0, pixels.height() - 1));
    };
    return QRect(toPixel(scene.topLeft()), toPixel(scene.bottomRight()));
}

QList<ReportItem> reportItems(const QString &photo, const PhotoRecord &record)
{
    QSize pixels(record.width, record.height);
    if (rotationStateOf(photo) % 2)
        pixels.transpose();
    QList<ReportItem> items;
    const ItemTable table = itemTables().value(photo);
    for (const ItemPtr &item : table) {
        const TempStats &s = item->stats();
        items.append({item->name(), s.max, s.min, s.avg, itemPixels(*item, pixels)});
    }
    return items;
}

} // namespace

ReportPhoto reportPhotoOf(const QString &photo)
{
    PhotoRecord record;
    if (!findPhotoRecord(photo, record))
        loadNewPhoto(QFile::encodeName(photo), record);
    record.path = photo;
    return reportPhoto(record, reportItems(photo, record));
}

QImage reportPicture(const QString &photo)
{
    bool known = false;
    {
        QMutexLocker lock(&photoTablesMutex());
        known = photoRecords().contains(photo);
    }
    QTemporaryDir folder;
    const QString snapshot = folder.isValid() ? renderSnapshot(photo, folder.path(), false) : QString();
    const QImage picture(snapshot);
    snapshotSources().remove(snapshot);
    if (!known)
        forgetPhotoRecord(photo);
    return picture;
}

bool writeCombinedReport(const CombinedReport &report, const QString &path, QString *error)
{
    if (report.format == ReportFormat::Word) {
        // The Word writer comes next; until then a .docx is refused rather than faked.
        if (error)
            *error = QCoreApplication::translate("ReportModel", "无法创建 %1：%2").arg(QFileInfo(path).fileName(), "Word (.docx)");
        return false;
    }
    const int total = 2 * report.photos.size();
    int done = 0;
    const auto step = [&] {
        if (report.progress && !report.progress(++done, total)) {
            if (error)
                *error = QCoreApplication::translate("ReportModel", "报告已取消");
            return false;
        }
        return true;
    };
    // First the figures of every photograph (small), so that the summary can come first;
    // then the sections, one picture at a time.
    QVector<ReportPhoto> photos;
    photos.reserve(report.photos.size());
    for (const QString &photo : report.photos) {
        photos.append(reportPhotoOf(photo));
        if (!step())
            return false;
    }
    sortHottestFirst(photos);

    PdfReport pdf(path);
    pdf.title(reportTitle());
    pdf.table(coverTable(reportCover(report.site, photos)));
    pdf.heading(QCoreApplication::translate("ReportModel", "汇总"), true);
    ReportTable summary = summaryTable(photos);
    summary.title.clear();
    pdf.table(summary);
    for (int i = 0; i < photos.size(); ++i) {
        const ReportPhoto &photo = photos[i];
        pdf.heading(sectionTitle(photo, i + 1), true);
        pdf.picture(reportPicture(photo.path));
        pdf.table(parameterTable(photo));
        pdf.table(statisticsTable(photo));
        pdf.table(itemTable(photo));
        if (!step()) {
            pdf.cancel();
            return false;
        }
    }
    return pdf.finish(error);
}
