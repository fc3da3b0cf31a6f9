#include "mymsgboxdlg.h"

#include "dropshadow.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

MyMsgBoxDlg::MyMsgBoxDlg(const QString &title, const QPixmap &icon, const QString &text, int buttonMode,
                         QWidget *parent)
    : QDialog(parent)
{
    setObjectName("MyMsgBoxDlg");
    setFixedSize(420, 210);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet("QWidget{font-family:Microsoft YaHei;font-size:12pt;color:#ffffff;}"
                  "QLabel#lab_title{font-size:13pt;}"
                  "QPushButton{border:none;border-radius:4px;min-width:80px;min-height:32px;}"
                  "QPushButton#btn_cancel{background:#555555;}QPushButton#btn_cancel:hover{background:#4C4C4C;}"
                  "QPushButton#btn_cancel:pressed{background:#666666;}"
                  "QPushButton#btn_confirm{background:#08A4FF;}QPushButton#btn_confirm:hover{background:#0793E5;}"
                  "QPushButton#btn_confirm:pressed{background:#21ADFF;}");

    m_title = new QLabel(title, this);
    m_title->setObjectName("lab_title");
    m_title->setGeometry(40, 30, 200, 31);
    m_icon = new QLabel(this);
    m_icon->setObjectName("lab_icon");
    m_icon->setGeometry(40, 94, 16, 16);
    m_icon->setScaledContents(true);
    m_icon->setPixmap(icon);
    m_text = new QLabel(text, this);
    m_text->setObjectName("lab_text");
    m_text->setGeometry(70, 76, 311, 52);
    m_text->setWordWrap(true); // a reason may name a path
    m_cancel = new QPushButton(tr("取消"), this);
    m_cancel->setObjectName("btn_cancel");
    m_cancel->setGeometry(220, 145, 80, 32);
    m_confirm = new QPushButton(tr("确认"), this);
    m_confirm->setObjectName("btn_confirm");
    m_confirm->setGeometry(305, 145, 80, 32);
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
}

void MyMsgBoxDlg::paintEvent(QPaintEvent *)
{
    paintDropShadow(this);
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
