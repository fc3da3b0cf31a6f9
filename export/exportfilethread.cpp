#include "exportfilethread.h"

#include "csvwriter.h"
#include "pagetables.h"
#include "reportdocument.h"
#include "wordreport.h"

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
    return done == total ? 100 : done * (100 / total);
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

void ExportFileThread::runCsv()
{
    if (m_directory.isEmpty() || m_snapshots.isEmpty())
        return;
    writeEach([](const QString &folder, const QString &snapshot, const QString &name) {
        return writeCsvFile(folder, snapshotSources().value(snapshot, snapshot), name);
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
    writeEach([&path](const QString &folder, const QString &snapshot, const QString &name) {
        ReportDocument document;
        return openReportDocument(document, path) && writeWordReport(document, folder, snapshot, name);
    });
}

void ExportFileThread::writeEach(const std::function<bool(const QString &, const QString &, const QString &)> &write)
{
    m_folder = makeExportFolder(m_directory);
    if (m_folder.isEmpty()) {
        emit OnExportFailed(tr("无法在所选目录中创建导出文件夹"));
        return;
    }
    const int total = m_snapshots.size();
    int done = 0, written = 0;
    for (const QString &snapshot : m_snapshots) {
        // Named after the snapshot, which is unique per photograph.
        if (write(m_folder, snapshot, QFileInfo(snapshot).baseName()))
            ++written;
        emit OnUpdateExportProgress(progressValue(++done, total));
        if (m_cancel)
            break;
    }
    emit OnExportFinished(written, done);
}
