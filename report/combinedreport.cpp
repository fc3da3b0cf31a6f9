#include "combinedreport.h"

#include "docxreport.h"
#include "itemtables.h"
#include "pdfreport.h"
#include "reportanomalies.h"
#include "snapshottables.h"
#include "photostore.h"
#include "snapshotwriter.h"

#include <QCoreApplication>
#include <QFile>
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
    if (PhotoStore::program().rotationState(photo) % 2)
        pixels.transpose();
    QList<ReportItem> items;
    const ItemTable table = itemTables().value(photo);
    for (const ItemPtr &item : table) {
        const TempStats &s = item->stats();
        items.append({item->name(), s.max, s.min, s.avg, itemPixels(*item, pixels)});
    }
    return items;
}

// The photograph's record from the program's photograph store when it was opened, else loaded on its own.
PhotoRecord recordOf(const QString &photo)
{
    PhotoRecord record;
    if (!PhotoStore::program().find(photo, record))
        loadNewPhoto(QFile::encodeName(photo), record);
    record.path = photo;
    return record;
}

} // namespace

ReportPhoto reportPhotoOf(const QString &photo)
{
    const PhotoRecord record = recordOf(photo);
    return reportPhoto(record, reportItems(photo, record));
}

QImage reportPicture(const QString &photo)
{
    const bool known = PhotoStore::program().contains(photo);
    // A photograph with a snapshot of this run has it drawn anew in its place and keeps it (the
    // export lists it by that snapshot); any other one's is drawn in a folder of its own and
    // forgotten.
    const bool hadSnapshot = !snapshotSources().key(photo).isEmpty();
    QTemporaryDir folder;
    const QString snapshot = folder.isValid() ? renderSnapshot(photo, folder.path(), false) : QString();
    const QImage picture(snapshot);
    if (!hadSnapshot)
        snapshotSources().remove(snapshot);
    if (!known)
        PhotoStore::program().forget(photo);
    return picture;
}

namespace {

// The report laid out by its writer, PDF or Word, which both take the same steps; step() is
// called after each section and stops the report when it says false.
template <class Writer>
bool layOut(Writer &writer, const CombinedReport &report, const QVector<ReportPhoto> &photos,
            const QVector<ReportAnomaly> &anomalies, const std::function<bool()> &step, QString *error)
{
    writer.title(reportTitle());
    writer.table(coverTable(reportCover(report.site, photos)));
    writer.heading(QCoreApplication::translate("ReportModel", "异常"), true);
    writer.table(anomalySummaryTable(anomalies, report.hotSpots));
    if (!anomalies.isEmpty())
        writer.table(anomalyTable(anomalies));
    writer.heading(QCoreApplication::translate("ReportModel", "汇总"), true);
    ReportTable summary = summaryTable(photos);
    summary.title.clear();
    writer.table(summary);
    for (int i = 0; i < photos.size(); ++i) {
        const ReportPhoto &photo = photos[i];
        writer.heading(sectionTitle(photo, i + 1), true);
        writer.picture(reportPicture(photo.path));
        writer.table(parameterTable(photo));
        writer.table(statisticsTable(photo));
        writer.table(itemTable(photo));
        if (!step()) {
            writer.cancel();
            return false;
        }
    }
    return writer.finish(error);
}

} // namespace

bool writeCombinedReport(const CombinedReport &report, const QString &path, QString *error)
{
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
    QVector<ReportAnomaly> anomalies;
    for (const QString &photo : report.photos) {
        const PhotoRecord record = recordOf(photo);
        photos.append(reportPhoto(record, reportItems(photo, record)));
        anomalies += reportAnomalies(record, report.hotSpots);
        if (!step())
            return false;
    }
    sortHottestFirst(photos);
    rankAnomalies(anomalies);

    if (report.format == ReportFormat::Word) {
        DocxReport docx(path);
        return layOut(docx, report, photos, anomalies, step, error);
    }
    PdfReport pdf(path);
    return layOut(pdf, report, photos, anomalies, step, error);
}
