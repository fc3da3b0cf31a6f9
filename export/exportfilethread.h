#pragma once

#include "exportjob.h"

#include <QStringList>
#include <QThread>

// Writes one file per chosen snapshot into a new export folder, off the GUI thread and on
// every core, and reports progress after every photograph in the order chosen.
class ExportFileThread : public QThread
{
    Q_OBJECT
public:
    enum Mode { WordReports = 0, CsvTables = 1, SpreadsheetTables = 2 }; // spreadsheet: see CsvStyle

    ExportFileThread(const QString &directory, const QStringList &snapshots, int mode, QObject *parent = nullptr);

    using Failure = ExportFailure;

    // The value reported after `done` of `total` photographs: done * 100 / total, 100 for the last.
    static int progressValue(int done, int total);
    // directory/vexlo + local time "yyyyMMddhhmmss", made unique with "-2", "-3", ... when a
    // job of the same second already made it; created.
    static QString makeExportFolder(const QString &directory);

    QString exportFolder() const { return m_folder; }
    // The photographs that failed, in export order; complete once the job has finished.
    QList<Failure> failures() const { return m_job.failures(); }

signals:
    void OnUpdateExportProgress(int progress);
    // Sent before each photograph is written: it is the index-th (from 1) of total, and
    // photoName is its file name.
    void OnExportPhoto(int index, int total, QString photoName);
    // Sent once, just before OnExportFinished, when the export folder was made: the folder
    // and one line "photograph file name: reason" per photograph that failed (none when all
    // were written).
    void OnExportSummary(QString folder, QStringList failures);
    // The job ended: written of total photographs have their file.
    void OnExportFinished(int written, int total);
    // The job could not start; nothing was written.
    void OnExportFailed(QString reason);

public slots:
    // From any thread: the photographs being written are finished, no other one is started.
    void cancelExport() { m_job.cancel(); }

protected:
    void run() override;

private:
    bool write(const QString &folder, int index, Failure &failure);
    // Makes the export folder and runs the job into it, reporting progress.
    void writeEach();

    QString m_directory;
    QStringList m_snapshots;
    int m_mode;
    QString m_templatePath; // of Word reports, set before the job starts
    ExportJob m_job;
    QString m_folder;
};
