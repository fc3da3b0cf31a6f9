#pragma once

#include <QStringList>
#include <QThread>

#include <atomic>
#include <functional>

// Writes one file per chosen snapshot into a new export folder, off the GUI thread, and
// reports progress after every photograph.
class ExportFileThread : public QThread
{
    Q_OBJECT
public:
    enum Mode { WordReports = 0, CsvTables = 1 };

    ExportFileThread(const QString &directory, const QStringList &snapshots, int mode, QObject *parent = nullptr);

    // The value reported after `done` of `total` photographs: 100 for the last, otherwise
    // done * (100 / total).
    static int progressValue(int done, int total);
    // directory/vexlo + local time "yyyyMMddhhmmss", made unique with "-2", "-3", ... when a
    // job of the same second already made it; created.
    static QString makeExportFolder(const QString &directory);

    QString exportFolder() const { return m_folder; }

signals:
    void OnUpdateExportProgress(int progress);
    // The job ended: written of total photographs have their file.
    void OnExportFinished(int written, int total);
    // The job could not start; nothing was written.
    void OnExportFailed(QString reason);

public slots:
    void cancelExport() { m_cancel = true; }

protected:
    void run() override;

private:
    void runCsv();
    void runWord();
    // Makes the export folder and writes each snapshot's file, reporting progress.
    void writeEach(const std::function<bool(const QString &folder, const QString &snapshot, const QString &name)> &write);

    std::atomic<bool> m_cancel{false};
    QString m_directory;
    QStringList m_snapshots;
    int m_mode;
    QString m_folder;
};
