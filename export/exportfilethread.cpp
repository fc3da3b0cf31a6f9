#include "exportfilethread.h"

#include "csvwriter.h"
#include "snapshottables.h"
#include "photostore.h"
#include "reportdocument.h"
#include "wordreport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// Each snapshot's photograph, named after the snapshot, which is unique per photograph.
QVector<ExportJob::Item> itemsOf(const QStringList &snapshots)
{
    QVector<ExportJob::Item> items;
    for (const QString &snapshot : snapshots)
        items.append({snapshotSources().value(snapshot, snapshot), QFileInfo(snapshot).baseName()});
    return items;
}

// The photograph is checked first, so that a file which is gone is told apart from one that
// could not be written.
bool photoReadable(const QString &photo, ExportFileThread::Failure &failure)
{
    if (!photo.isEmpty() && QFileInfo(photo).isFile() && QFileInfo(photo).isReadable())
        return true;
    failure.kind = ExportFileThread::Failure::PhotoUnreadable;
    failure.reason = QCoreApplication::translate("ExportFileThread", "无法读取照片：%1").arg(photo);
    return false;
}

} // namespace

ExportFileThread::ExportFileThread(const QString &directory, const QStringList &snapshots, int mode, QObject *parent)
    : QThread(parent)
    , m_directory(directory)
    , m_snapshots(snapshots)
    , m_mode(mode)
    , m_job(itemsOf(snapshots), [this](const QString &folder, int index, const ExportJob::Item &, Failure &failure) {
        return write(folder, index, failure);
    })
{
}

int ExportFileThread::progressValue(int done, int total)
{
    return done >= total ? 100 : done * 100 / total;
}

QString ExportFileThread::makeExportFolder(const QString &directory)
{
    if (!QDir().mkpath(directory))
        return QString();
    const QString stamped = directory + "/vexlo" + QDateTime::currentDateTime().toString("yyyyMMddhhmmss");
    // mkdir is atomic and refuses an existing folder: of two jobs in one second, the first
    // takes the plain name and the next one "-2".
    QString folder = stamped;
    for (int n = 2; !QDir().mkdir(folder); ++n) {
        if (!QFileInfo(folder).isDir())
            return QString();
        folder = stamped + QString("-%1").arg(n);
    }
    return folder;
}

void ExportFileThread::run()
{
    if (m_directory.isEmpty() || m_snapshots.isEmpty())
        return;
    if (m_mode == WordReports) {
        // Reports are filled into a template; without one nothing can be written.
        m_templatePath = reportTemplatePath();
        if (!QFileInfo(m_templatePath).isFile()) {
            emit OnExportFailed(tr("找不到报告模板：%1").arg(m_templatePath));
            return;
        }
    } else if (m_mode != CsvTables && m_mode != SpreadsheetTables) {
        return;
    }
    writeEach();
}

// Runs on several threads at once: reads the tables, which the page leaves alone while the
// progress dialog keeps the user out.
bool ExportFileThread::write(const QString &folder, int index, Failure &failure)
{
    const QString &snapshot = m_snapshots.at(index);
    const QString &photo = failure.photo;
    if (!photoReadable(photo, failure))
        return false;
    const QString name = m_job.items().at(index).name;
    if (m_mode == CsvTables || m_mode == SpreadsheetTables) {
        PhotoRecord record; // the load job may replace the table's entry meanwhile
        const bool found = PhotoStore::program().find(photo, record);
        failure.kind = Failure::WriteFailed;
        return writeCsvFile(folder, name, found ? &record : nullptr, &failure.reason,
                            m_mode == SpreadsheetTables ? CsvStyle::Spreadsheet : CsvStyle::Plain);
    }
    ReportDocument document;
    if (!openReportDocument(document, m_templatePath)) {
        failure.kind = Failure::TemplateUnreadable;
        failure.reason = tr("无法读取报告模板：%1").arg(m_templatePath);
        return false;
    }
    failure.kind = Failure::WriteFailed;
    return writeWordReport(document, folder, snapshot, name, &failure.reason);
}

void ExportFileThread::writeEach()
{
    m_folder = makeExportFolder(m_directory);
    if (m_folder.isEmpty()) {
        emit OnExportFailed(tr("无法在所选目录中创建导出文件夹"));
        return;
    }
    const int total = m_snapshots.size();
    QStringList lines;
    // The progress names the photograph the job waits for next; the ones after it may be
    // written already.
    emit OnExportPhoto(1, total, QFileInfo(m_job.items()[0].photo).fileName());
    const int written = m_job.run(m_folder, [&](int index, const Failure *failure) {
        if (failure)
            lines << QFileInfo(failure->photo).fileName() + ": " + failure->reason;
        emit OnUpdateExportProgress(progressValue(index + 1, total));
        if (index + 1 < total && !m_job.cancelled())
            emit OnExportPhoto(index + 2, total, QFileInfo(m_job.items()[index + 1].photo).fileName());
    });
    emit OnExportSummary(m_folder, lines);
    emit OnExportFinished(written, m_job.done());
}
