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

    // A photograph whose file could not be written, and why.
    struct Failure
    {
        enum Kind {
            PhotoUnreadable, // the photograph is gone or cannot be read
            WriteFailed,     // the file could not be created or completed (permissions, full disk)
            TemplateUnreadable, // the report template could not be read
        };
        QString photo;  // path of the photograph
        Kind kind;
        QString reason; // for the user, translated, with the system's message where there is one
    };

    // The value reported after `done` of `total` photographs: done * 100 / total, 100 for the last.
    static int progressValue(int done, int total);
    // directory/vexlo + local time "yyyyMMddhhmmss", made unique with "-2", "-3", ... when a
    // job of the same second already made it; created.
    static QString makeExportFolder(const QString &directory);

    QString exportFolder() const { return m_folder; }
    // The photographs that failed, in export order; complete once the job has finished.
    QList<Failure> failures() const { return m_failures; }

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
    void cancelExport() { m_cancel = true; }

protected:
    void run() override;

private:
    void runCsv();
    void runWord();
    // Makes the export folder and writes each snapshot's file, reporting progress.
    // write returns whether the file was written and otherwise sets its reason.
    using Writer = std::function<bool(const QString &folder, const QString &snapshot, const QString &name,
                                      Failure &failure)>;
    void writeEach(const Writer &write);

    std::atomic<bool> m_cancel{false};
    QString m_directory;
    QStringList m_snapshots;
    int m_mode;
    QString m_folder;
    QList<Failure> m_failures;
};
