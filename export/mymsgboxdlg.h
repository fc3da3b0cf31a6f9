#pragma once

#include <QDialog>
#include <QPixmap>
#include <QStringList>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QUrl;

// A frameless message box: title, icon, a short text, optional details and up to three buttons. Confirm
// finishes with 1 (accepted), cancel with 0.
class MyMsgBoxDlg : public QDialog
{
    Q_OBJECT
public:
    // Which buttons show: 0 both, 1 confirm only, 2 cancel only, 3 none; others leave both.
    enum ButtonMode { BothButtons = 0, ConfirmOnly = 1, CancelOnly = 2, NoButtons = 3 };

    MyMsgBoxDlg(const QString &title, const QPixmap &icon, const QString &text, int buttonMode,
                QWidget *parent = nullptr);

    // Lines shown below the text in a scrollable read-only field under a heading; the box grows
    // to make room. No lines, no field.
    void setDetails(const QString &heading, const QStringList &lines);
    // Adds a button that opens folder in the system's file manager and then closes the box.
    void setOpenFolder(const QString &folder);
    // What opening a folder calls; QDesktopServices::openUrl unless replaced (tests observe it).
    static std::function<bool(const QUrl &)> &openUrlHook();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The dialog's size for a panel of width × height, with its shadow around it.
    void setPanelSize(int width, int height);
    void placeWidgets();
    void openFolder();

    QLabel *m_title;
    QLabel *m_icon;
    QLabel *m_text;
    QPushButton *m_cancel;
    QPushButton *m_confirm;
    QLabel *m_detailsHeading = nullptr;
    QPlainTextEdit *m_details = nullptr;
    QPushButton *m_openFolder = nullptr;
    QString m_folder;
    int m_shadow; // the shadow's width around the panel
    bool m_dragging = false;
    QPoint m_pressPoint;
};
