#include "myitemwidget.h"

#include "screenlayout.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

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

    const ScreenLayout &layout = shellValues().layout;
    const QSize size(layout.thumbWidth, layout.thumbHeight);
    QPixmap rounded(size);
    rounded.fill(Qt::transparent);
    {
        QPainter painter(&rounded);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        QPainterPath clip;
        clip.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), 10, 10);
        painter.setClipPath(clip);
        if (!pixmap.isNull())
            painter.drawPixmap(QRect(QPoint(0, 0), size), pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    m_icon->setPixmap(rounded);
    m_icon->setFixedSize(size);
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
