#include "myitemwidget.h"

#include "roundedthumbnail.h"

#include <QGridLayout>
#include <QLabel>

MyItemWidget::MyItemWidget(const QPixmap &pixmap, const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_icon(new QLabel(this))
    , m_text(new QLabel(text, this))
{
    m_icon->setObjectName("lab_icon");
    m_text->setObjectName("lab_text");
    QFont f = font();
    f.setPointSize(11);
    setFont(f);
    setStyleSheet("QWidget{background:transparent;color:rgba(255,255,255,0.85);}"
                  "QLabel#lab_text{font-size:12pt;margin-top:12px;padding-top:12px;}");

    const QPixmap rounded = roundedThumbnail(pixmap);
    m_icon->setPixmap(rounded);
    m_icon->setFixedSize(rounded.size());
    m_text->setAlignment(Qt::AlignCenter);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_icon, 0, 0, Qt::AlignHCenter);
    grid->addWidget(m_text, 1, 0);
}

QString MyItemWidget::text() const
{
    return m_text->text();
}
