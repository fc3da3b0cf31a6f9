#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// A frameless progress dialog: message, bar, percentage and a cancel button. An export that
// reaches 100 closes it one second later and announces its success.
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

signals:
    void OnCancelExport();

public slots:
    void OnUpdateProgress(int progress);
    void on_btn_cancel_clicked();
    // How the export ended: the closing message says so when not every photograph was written.
    void setOutcome(int written, int total);
    // The export could not start: closes and says why.
    void showFailure(const QString &reason);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void complete();
    void showValue(int value);

    QLabel *m_message;
    QProgressBar *m_bar;
    QLabel *m_value;
    QPushButton *m_cancel;
    QTimer *m_timer; // no parent: released by the completion step or the destructor
    int m_written = -1;
    int m_total = -1;
};
