#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class ExportFileThread;
class MyCheckItemWidget;
class MyProgressDlg;

// Chooses analysed photographs (their snapshots) and the form of the export, then hands
// them to an export job with a progress dialog.
class OutputInfoWdg : public QDialog
{
    Q_OBJECT
public:
    explicit OutputInfoWdg(QWidget *parent = nullptr);
    // Stops a running job first: it must not outlive the tables it reads.
    ~OutputInfoWdg() override;

    void refreshPhotoList();
    void retranslate();
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

    QLabel *m_title;
    QPushButton *m_close;
    QRadioButton *m_word;
    QRadioButton *m_csv;
    QCheckBox *m_all;
    QListWidget *m_list;
    QPushButton *m_cancel;
    QPushButton *m_confirm;
    ExportFileThread *m_job = nullptr;
    MyProgressDlg *m_progress = nullptr;
};
