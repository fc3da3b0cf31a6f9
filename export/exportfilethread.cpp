#include "exportfilethread.h"

#include "csvwriter.h"
#include "snapshottables.h"
#include "reportdocument.h"
#include "wordreport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

ExportFileThread::ExportFileThread(const QString &directory, const QStringList &snapshots, int mode, QObject *parent)
    : QThread(parent)
    , m_directory(directory)
    , m_snapshots(snapshots)
    , m_mode(mode)
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
    if (m_mode == CsvTables)
        runCsv();
    else if (m_mode == WordReports)
        runWord();
}

namespace {

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

void ExportFileThread::runCsv()
{
    if (m_directory.isEmpty() || m_snapshots.isEmpty())
        return;
    writeEach([](const QString &folder, const QString &snapshot, const QString &name, Failure &failure) {
        const QString photo = snapshotSources().value(snapshot, snapshot);
        if (!photoReadable(photo, failure))
            return false;
        failure.kind = Failure::WriteFailed;
        return writeCsvFile(folder, photo, name, &failure.reason);
    });
}

void ExportFileThread::runWord()
{
    if (m_directory.isEmpty() || m_snapshots.isEmpty())
        return;
    // Reports are filled into a template; without one nothing can be written.
    const QString path = reportTemplatePath();
    if (!QFileInfo(path).isFile()) {
        emit OnExportFailed(tr("找不到报告模板：%1").arg(path));
        return;
    }
    writeEach([&path](const QString &folder, const QString &snapshot, const QString &name, Failure &failure) {
        const QString photo = snapshotSources().value(snapshot, snapshot);
        if (!photoReadable(photo, failure))
            return false;
        ReportDocument document;
        if (!openReportDocument(document, path)) {
            failure.kind = Failure::TemplateUnreadable;
            failure.reason = tr("无法读取报告模板：%1").arg(path);
            return false;
        }
        failure.kind = Failure::WriteFailed;
        return writeWordReport(document, folder, snapshot, name, &failure.reason);
    });
}

void ExportFileThread::writeEach(const Writer &write)
{
    m_failures.clear();
    m_folder = makeExportFolder(m_directory);
    if (m_folder.isEmpty()) {
        emit OnExportFailed(tr("无法在所选目录中创建导出文件夹"));
        return;
    }
    const int total = m_snapshots.size();
    int done = 0, written = 0;
    QStringList lines;
    for (const QString &snapshot : m_snapshots) {
        Failure failure{snapshotSources().value(snapshot, snapshot), Failure::WriteFailed, QString()};
        emit OnExportPhoto(done + 1, total, QFileInfo(failure.photo).fileName());
        // Named after the snapshot, which is unique per photograph.
        if (write(m_folder, snapshot, QFileInfo(snapshot).baseName(), failure)) {
            ++written;
        } else {
            m_failures << failure;
            lines << QFileInfo(failure.photo).fileName() + ": " + failure.reason;
        }
        emit OnUpdateExportProgress(progressValue(++done, total));
        if (m_cancel)
            break;
    }
    emit OnExportSummary(m_folder, lines);
    emit OnExportFinished(written, done);
}
