#include "maskwidget.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>

namespace {
const QColor kDimming(0, 0, 0, 102); // 40 % black over the window
const QColor kNothingBeneath(0x22, 0x22, 0x22); // the window's own background
}

MaskWidget &MaskWidget::instance()
{
    // The mask is a child of the widget it covers and goes with it; the next use makes a new one.
    static QPointer<MaskWidget> mask;
    if (!mask)
        mask = new MaskWidget;
    return *mask;
}

MaskWidget::MaskWidget()
{
    setObjectName("MaskWidget");
    resize(400, 300);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted
    setWindowTitle("Dialog");
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    hide();
    qApp->installEventFilter(this);
}

void MaskWidget::attachTo(QWidget *window)
{
    // Keep the tool-window flags: the mask stays a window of its own above the widget it
    // covers, placed on that widget's screen position (a page is no window of its own).
    setParent(window, windowFlags());
    coverParent();
}

void MaskWidget::coverParent()
{
    QWidget *covered = parentWidget();
    setFixedSize(covered->size());
    move(covered->mapToGlobal(QPoint(0, 0)));
}

void MaskWidget::showEvent(QShowEvent *event)
{
    // The window may have been resized or maximised since the mask was attached. Its picture
    // is taken before the mask is on screen: grab() renders the widgets, it reads no screen.
    m_beneath = QPixmap();
    if (parentWidget()) {
        coverParent();
        m_beneath = parentWidget()->grab();
    }
    QDialog::showEvent(event);
}

void MaskWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_beneath.isNull())
        painter.fillRect(rect(), kNothingBeneath);
    else
        painter.drawPixmap(rect(), m_beneath);
    painter.fillRect(rect(), kDimming);
}

void MaskWidget::setNames(const QStringList &names)
{
    m_names = names;
}

bool MaskWidget::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && watched != this
        && m_names.contains(watched->objectName())) {
        if (type == QEvent::Show) {
            show();
            if (auto *widget = qobject_cast<QWidget *>(watched)) {
                widget->activateWindow();
                widget->setFocus();
                stackUnder(widget);
            }
        } else {
            hide();
        }
    }
    return QDialog::eventFilter(watched, event);
}
