#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

// A frameless message box: title, icon, one line of text and up to two buttons. Confirm
// finishes with 1 (accepted), cancel with 0.
class MyMsgBoxDlg : public QDialog
{
    Q_OBJECT
public:
    // Which buttons show: 0 both, 1 confirm only, 2 cancel only, 3 none; others leave both.
    enum ButtonMode { BothButtons = 0, ConfirmOnly = 1, CancelOnly = 2, NoButtons = 3 };

    MyMsgBoxDlg(const QString &title, const QPixmap &icon, const QString &text, int buttonMode,
                QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QLabel *m_title;
    QLabel *m_icon;
    QLabel *m_text;
    QPushButton *m_cancel;
    QPushButton *m_confirm;
    bool m_dragging = false;
    QPoint m_pressPoint;
};
