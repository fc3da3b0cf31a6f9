#pragma once

#include <QDialog>
#include <QVector>

class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class ExportFileThread;
class MyCheckItemWidget;
class MyProgressDlg;

// Chooses photographs (every one of the opened list, with the measured ones marked, on request
// every one of the home page's folder, and the other snapshots of this run) and the form of the export, then hands their snapshots to an
// export job with a progress dialog.
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
    void refreshPhotoList();
    void retranslate();
    // The snapshots of the checked rows; those of photographs not on show are drawn anew, so
    // they show the photograph as it is now, measured or not.
    QStringList checkedSnapshots() const;
    // Starts the job for the checked rows into directory (what the export button does once a
    // directory is chosen). Returns the job, or nullptr when no row is checked or a job still runs.
    ExportFileThread *startExport(const QString &directory);
    MyProgressDlg *progressDialog() const { return m_progress; }
    ExportFileThread *currentJob() const { return m_job; }
    bool exportRunning() const;
    // Cancels a running job, waits until it has finished its current file and closes the
    // progress dialog without a closing message (the program is quitting).
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
    QCheckBox *m_all;
    QCheckBox *m_folder;
    QString m_homeFolder;
    QListWidget *m_list;
    QPushButton *m_cancel;
    QPushButton *m_confirm;
    ExportFileThread *m_job = nullptr;
    MyProgressDlg *m_progress = nullptr;
};
