#include "mytooltip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyleOption>

MyToolTip::MyToolTip(QWidget *parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint)
    , m_text(new QLabel(this))
{
    setObjectName("MyToolTip");
    m_text->setObjectName("lab_text");
    m_text->setAlignment(Qt::AlignCenter);
    setMinimumSize(60, 30);
    setStyleSheet("QWidget{\nbackground:#444444;\nborder-radius:4px;\n}\n\nQLabel{\nfont-weight: 400;\n"
                  "color: rgba(255,255,255,0.85);\n}");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(m_text);
}

void MyToolTip::setText(const QString &text)
{
    m_text->setText(text);
    adjustSize();
}

QString MyToolTip::text() const
{
    return m_text->text();
}

void MyToolTip::showAtAnchor()
{
    move(m_anchor.x() + 2, m_anchor.y() - 6 - height());
    show();
}

void MyToolTip::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
