#include "mymsgboxdlg.h"

#include "dropshadow.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include <algorithm>

MyMsgBoxDlg::MyMsgBoxDlg(const QString &title, const QPixmap &icon, const QString &text, int buttonMode,
                         QWidget *parent)
    : QDialog(parent)
{
    setObjectName("MyMsgBoxDlg");
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    m_shadow = setUpDropShadow(this);
    setPanelSize(400, 190);
    setStyleSheet("QWidget{font-family:Microsoft YaHei;font-size:12pt;color:#ffffff;}"
                  "QLabel#lab_title{font-size:13pt;}"
                  "QPushButton{border:none;border-radius:4px;min-width:80px;min-height:32px;}"
                  "QPushButton#btn_cancel{background:#555555;}QPushButton#btn_cancel:hover{background:#4C4C4C;}"
                  "QPushButton#btn_cancel:pressed{background:#666666;}"
                  "QPushButton#btn_confirm{background:#08A4FF;}QPushButton#btn_confirm:hover{background:#0793E5;}"
                  "QPushButton#btn_confirm:pressed{background:#21ADFF;}"
                  "QPushButton#btn_openFolder{background:#555555;padding:0 12px;}"
                  "QPushButton#btn_openFolder:hover{background:#4C4C4C;}"
                  "QPlainTextEdit{background:rgba(255,255,255,0.06);border:none;border-radius:4px;font-size:10pt;}"
                  "QScrollBar:vertical{width:6px;background:#333333;}"
                  "QScrollBar::handle:vertical{background:rgba(255,255,255,0.3);border-radius:3px;}");

    m_title = new QLabel(title, this);
    m_title->setObjectName("lab_title");
    m_title->setTextFormat(Qt::PlainText);
    m_icon = new QLabel(this);
    m_icon->setObjectName("lab_icon");
    m_icon->setScaledContents(true);
    m_icon->setPixmap(icon);
    m_text = new QLabel(text, this);
    m_text->setObjectName("lab_text");
    // A text may name a path or a file, which must show as it is and never as markup.
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_cancel = new QPushButton(tr("取消"), this);
    m_cancel->setObjectName("btn_cancel");
    m_confirm = new QPushButton(tr("确认"), this);
    m_confirm->setObjectName("btn_confirm");
    connect(m_confirm, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });

    switch (buttonMode) {
    case ConfirmOnly:
        m_cancel->hide();
        break;
    case CancelOnly:
        m_confirm->hide();
        break;
    case NoButtons:
        m_cancel->hide();
        m_confirm->hide();
        break;
    default:
        break;
    }
    placeWidgets();
}

std::function<bool(const QUrl &)> &MyMsgBoxDlg::openUrlHook()
{
    static std::function<bool(const QUrl &)> hook = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return hook;
}

void MyMsgBoxDlg::setDetails(const QString &heading, const QStringList &lines)
{
    if (lines.isEmpty())
        return;
    if (!m_details) {
        m_detailsHeading = new QLabel(this);
        m_detailsHeading->setObjectName("lab_details");
        m_detailsHeading->setTextFormat(Qt::PlainText);
        m_details = new QPlainTextEdit(this);
        m_details->setObjectName("text_details");
        m_details->setReadOnly(true);
        m_details->setFrameShape(QFrame::NoFrame);
    }
    m_detailsHeading->setText(heading);
    m_details->setPlainText(lines.join('\n'));
    // A long list scrolls in a larger box instead of being cut off.
    setPanelSize(600, 440);
    placeWidgets();
}

void MyMsgBoxDlg::setOpenFolder(const QString &folder)
{
    m_folder = folder;
    if (!m_openFolder) {
        m_openFolder = new QPushButton(tr("打开文件夹"), this);
        m_openFolder->setObjectName("btn_openFolder");
        connect(m_openFolder, &QPushButton::clicked, this, &MyMsgBoxDlg::openFolder);
    }
    m_openFolder->setToolTip(folder);
    placeWidgets();
}

void MyMsgBoxDlg::openFolder()
{
    if (openUrlHook()(QUrl::fromLocalFile(m_folder))) {
        done(QDialog::Accepted);
        return;
    }
    // Nothing opened: the box stays and says so on the button.
    m_openFolder->setText(tr("无法打开文件夹"));
    m_openFolder->setEnabled(false);
    placeWidgets();
}

void MyMsgBoxDlg::setPanelSize(int width, int height)
{
    setFixedSize(width + 2 * m_shadow, height + 2 * m_shadow);
}

void MyMsgBoxDlg::placeWidgets()
{
    // On the panel, inside the shadow.
    const int x = m_shadow, y = m_shadow, w = width() - 2 * m_shadow, h = height() - 2 * m_shadow;
    m_title->setGeometry(x + 30, y + 20, w - 60, 31);
    m_icon->setGeometry(x + 30, y + 84, 16, 16);
    m_text->setGeometry(x + 60, y + 66, w - 89, m_details ? 66 : 52);
    if (m_details) {
        m_detailsHeading->setGeometry(x + 30, y + 140, w - 60, 24);
        m_details->setGeometry(x + 30, y + 168, w - 60, h - 238);
    }
    // The buttons line up from the right edge: confirm, cancel, then open folder.
    int right = x + w - 25;
    for (QPushButton *button : {m_confirm, m_cancel, m_openFolder}) {
        if (!button || button->isHidden())
            continue;
        const int bw = std::max(80, button->sizeHint().width());
        button->setGeometry(right - bw, y + h - 55, bw, 32);
        right -= bw + 5;
    }
}

void MyMsgBoxDlg::paintEvent(QPaintEvent *)
{
    paintDropShadow(this, m_shadow);
}

void MyMsgBoxDlg::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_pressPoint = event->localPos().toPoint();
    }
    QDialog::mousePressEvent(event);
}

void MyMsgBoxDlg::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        move(event->globalPos() - m_pressPoint);
    QDialog::mouseMoveEvent(event);
}

void MyMsgBoxDlg::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}
