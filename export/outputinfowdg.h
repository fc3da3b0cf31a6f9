#pragma once

#include "hotspotdetector.h"

#include <QDialog>
#include <QVector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class ExportFileThread;
class MyCheckItemWidget;
class MyProgressDlg;

// Chooses photographs (every one of the opened list, with the measured ones marked, on request
// every one of the home page's folder, and the other snapshots of this run) and the form of the export, then hands their snapshots to an
// export job with a progress dialog, or writes one report of them all.
class OutputInfoWdg : public QDialog
{
    Q_OBJECT
public:
    explicit OutputInfoWdg(QWidget *parent = nullptr);
    // Stops a running job first: it must not outlive the tables it reads.
    ~OutputInfoWdg() override;

    // The home page's current folder: with the folder choice checked, every "*.jpg" in it is
    // listed too. Empty when the home page shows no single folder.
    void setHomeFolder(const QString &folder);
    QString homeFolder() const { return m_homeFolder; }
    // What counts as an anomaly in the one report: the hot-spot finder's settings.
    void setHotSpotSettings(const HotSpotSettings &settings) { m_hotSpots = settings; }
    // Where the export's folder dialog opens: the folder of the last export, else the
    // photographs' folder, else the home folder; always one that exists.
    QString exportStartFolder() const;
    void refreshPhotoList();
    void retranslate();
    // The snapshots of the checked rows; those of photographs not on show are drawn anew, so
    // they show the photograph as it is now, measured or not.
    QStringList checkedSnapshots() const;
    // Starts the job for the checked rows into directory (what the export button does once a
    // directory is chosen). Returns the job, or nullptr when no row is checked or a job still runs.
    ExportFileThread *startExport(const QString &directory);
    // The photographs of the checked rows, in the list's order (a snapshot whose photograph is
    // not known is left out).
    QStringList checkedPhotos() const;
    // Writes one report of the checked photographs to path in the chosen format (what the export
    // button does for "one report" once a file is chosen). Its pictures are drawn by the analysis
    // page's widgets, so it runs on this thread, answering the progress dialog between
    // photographs; its cancel button stops it and leaves nothing at path. Asks before replacing a
    // file, then tells how it ended. True when the file was written.
    bool writeReport(const QString &path);
    MyProgressDlg *progressDialog() const { return m_progress; }
    ExportFileThread *currentJob() const { return m_job; }
    bool exportRunning() const;
    // Cancels a running job, waits until it has finished its current file and closes the
    // progress dialog without a closing message (the program is quitting). A report being
    // written stops at its next photograph.
    void stopExport();

public slots:
    void slot_StateChanged(int state);
    void on_btn_cancel_clicked();
    void on_btn_comfirm_clicked();
    void on_btn_close_clicked();
    void on_listWidget_itemClicked(QListWidgetItem *item);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<MyCheckItemWidget *> rows() const;
    void selectAll();
    // The report's site and format show with the "one report" choice; the site follows the
    // folder of the first checked photograph until the user writes one.
    void showReportChoice();
    void followSite();
    QString reportSite() const;
    void exportReport();

    // What each row of the list stands for: a photograph of the opened list or of the home
    // page's folder (its snapshot is drawn when it is exported) or a snapshot of this run whose
    // photograph is not in the list.
    struct Entry
    {
        QString photo;
        QString snapshot;
        bool opened; // drawn anew when exported
    };
    MyCheckItemWidget *addRow(const Entry &entry, const QPixmap &picture, const QString &name);
    QVector<Entry> m_entries;

    QLabel *m_title;
    QPushButton *m_close;
    QRadioButton *m_word;
    QRadioButton *m_csv;
    QRadioButton *m_excel;
    QRadioButton *m_report;
    QWidget *m_reportOptions;
    QLabel *m_siteLabel;
    QLineEdit *m_site;
    QLabel *m_formatLabel;
    QComboBox *m_format;
    bool m_siteWritten = false; // by the user
    bool m_reportRunning = false;
    bool m_reportCancelled = false;
    bool m_reportQuiet = false; // stopped by stopExport(): no closing message
    QCheckBox *m_all;
    QCheckBox *m_folder;
    QString m_homeFolder;
    HotSpotSettings m_hotSpots;
    int m_shadow; // the shadow's width around the panel
    QListWidget *m_list;
    QPushButton *m_cancel;
    QPushButton *m_confirm;
    ExportFileThread *m_job = nullptr;
    MyProgressDlg *m_progress = nullptr;
};
