#pragma once

#include <QDialog>

class QLineEdit;
class QLabel;
class QPushButton;

// Asks for the threshold of a high (kind 1) or low (any other kind) temperature alarm.
class TempAlertDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TempAlertDlg(int kind, QWidget *parent = nullptr);
    float threshold() const { return m_threshold; }

public slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    int m_kind;
    float m_threshold = 0.0f;
    QLineEdit *m_edit;
};
