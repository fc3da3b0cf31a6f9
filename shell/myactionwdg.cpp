#include "myactionwdg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

MyActionWdg::MyActionWdg(const QString &iconPath, const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_icon(new QLabel(this))
    , m_text(new QLabel(text, this))
    , m_selected(new QLabel(this))
{
    setObjectName("MyActionWdg");
    m_icon->setObjectName("lab_icon");
    m_text->setObjectName("lab_text");
    m_selected->setObjectName("lab_selected");
    m_icon->setPixmap(QIcon(iconPath).pixmap(20, 20));
    m_selected->setPixmap(QIcon(":/res/icon/selected.svg").pixmap(16, 16));
    m_selected->setFixedSize(16, 16);
    m_selected->hide();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->addWidget(m_icon);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_selected);
    setMinimumWidth(160);
    // Scoped to the entry itself: margins on the labels would squeeze the check mark.
    setStyleSheet("MyActionWdg{background:#444444;border-radius:4px;margin:0px 5px;}"
                  "MyActionWdg:hover{background:rgba(255,255,255,0.06);}"
                  "QLabel{background:transparent;color:#ffffff;}");
}

void MyActionWdg::setText(const QString &text)
{
    m_text->setText(text);
}

QString MyActionWdg::text() const
{
    return m_text->text();
}

void MyActionWdg::setSelected(bool selected)
{
    m_selected->setVisible(selected);
}

bool MyActionWdg::isSelected() const
{
    return !m_selected->isHidden();
}

void MyActionWdg::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void MyActionWdg::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit sig_clicked();
    QWidget::mouseReleaseEvent(event);
}
