#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// A frameless progress dialog: message, bar, percentage and a cancel button. An export that
// reaches 100 closes it one second later and announces its success. Esc and the window's close
// button mean what the cancel button means; with the cancel button hidden they do nothing.
class MyProgressDlg : public QDialog
{
    Q_OBJECT
public:
    MyProgressDlg(const QString &title, int minimum, int maximum, QWidget *parent = nullptr);
    ~MyProgressDlg() override;

    void setCancelVisible(bool visible);
    void setProgressValue(int value); // any value, also backwards; no completion step
    void setRange(int minimum, int maximum);
    int minimum() const;
    int maximum() const;
    int value() const;
    QString message() const;
    // The dialog shows a background job: cancelling only asks the job to stop, and the dialog
    // stays until jobEnded(), then tells how the job ended and where its files are.
    void setFollowsJob(bool follows);
    bool cancelRequested() const { return m_cancelRequested; }
    // Closes without a closing message and ignores whatever the job still reports (the program
    // is quitting).
    void dismiss();

signals:
    void OnCancelExport();

public slots:
    void OnUpdateProgress(int progress);
    // The job starts on its index-th (from 1) photograph of total: the message names it.
    void showPhoto(int index, int total, const QString &photoName);
    // The job's folder and its failed photographs ("name: reason"), listed by the closing message.
    void setSummary(const QString &folder, const QStringList &failures);
    void on_btn_cancel_clicked();
    // How the export ended: the closing message says so when not every photograph was written.
    void setOutcome(int written, int total);
    // The export could not start: closes and says why.
    void showFailure(const QString &reason);
    // The followed job has ended; folder is where it wrote (empty when it made none).
    void jobEnded(const QString &folder);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void requestCancel();
    void secondPassed();
    void completeWhenDone();
    void complete();
    void closeQuietly();
    QString outcomeText() const;
    void showValue(int value);

    QLabel *m_message;
    QProgressBar *m_bar;
    QLabel *m_value;
    QPushButton *m_cancel;
    QTimer *m_timer; // no parent: released by the completion step or the destructor
    int m_shadow;                // the shadow's width around the panel
    int m_written = -1;
    int m_total = -1;
    bool m_followsJob = false;
    bool m_jobEnded = false;
    bool m_cancelRequested = false;
    bool m_secondPassed = false;
    bool m_finished = false;     // the closing message was shown, or the dialog was dismissed
    QString m_folder;
    QStringList m_failures;
};
