#include "maskwidget.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>

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
    setStyleSheet("QDialog{\n\tbackground-color: rgba(0, 0, 0, 0.4);\n}");
    setWindowTitle("Dialog");
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    hide();
    qApp->installEventFilter(this);
}

void MaskWidget::attachTo(QWidget *window)
{
    setFixedSize(window->size());
    // Keep the tool-window flags: the mask stays a window of its own above the widget it
    // covers, placed on that widget's screen position (a page is no window of its own).
    setParent(window, windowFlags());
    move(window->mapToGlobal(QPoint(0, 0)));
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
