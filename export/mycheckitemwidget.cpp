#include "mycheckitemwidget.h"

#include "roundedthumbnail.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

MyCheckItemWidget::MyCheckItemWidget(const QPixmap &snapshot, const QString &name, QWidget *parent)
    : QWidget(parent)
    , m_icon(new QLabel(this))
    , m_check(new QCheckBox(this))
    , m_text(new QLabel(name, this))
{
    setObjectName("MyCheckItemWidget");
    m_icon->setObjectName("lab_icon");
    m_check->setObjectName("checkBox");
    m_text->setObjectName("lab_text");
    setStyleSheet("QWidget{background:transparent;font-family:Microsoft YaHei;}"
                  "QLabel#lab_text{font-size:12pt;color:rgba(255,255,255,0.85);}"
                  "QCheckBox::indicator{width:16px;height:16px;}"
                  "QCheckBox::indicator:unchecked{image:url(:/res/icon/check-defult.svg);}"
                  "QCheckBox::indicator:checked{image:url(:/res/icon/check-selected.svg);}");
    const QPixmap rounded = roundedThumbnail(snapshot);
    m_icon->setPixmap(rounded);
    m_icon->setFixedSize(rounded.size());
    m_check->setMinimumSize(16, 16);
    m_check->setMaximumSize(26, 16);
    auto *grid = new QGridLayout(this);
    grid->addWidget(m_icon, 0, 0, 1, 2);
    grid->addWidget(m_check, 1, 0);
    grid->addWidget(m_text, 1, 1);
    connect(m_check, &QCheckBox::stateChanged, this, &MyCheckItemWidget::sig_checkChange);
}

void MyCheckItemWidget::setMark(const QString &note)
{
    // A mark in the name would not fit the row; the colour fits any name in any language.
    m_text->setStyleSheet("color:#08A4FF;");
    m_text->setToolTip(note);
    setToolTip(note);
}

QString MyCheckItemWidget::mark() const
{
    return m_text->toolTip();
}

QString MyCheckItemWidget::name() const
{
    return m_text->text();
}

bool MyCheckItemWidget::isChecked() const
{
    return m_check->isChecked();
}

void MyCheckItemWidget::setChecked(bool checked)
{
    m_check->setChecked(checked);
}
