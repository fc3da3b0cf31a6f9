#include "maskwidget.h"

#include <QApplication>
#include <QEvent>

MaskWidget &MaskWidget::instance()
{
    static MaskWidget *mask = new MaskWidget; // follows its window; never deleted before exit
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
    // Keep the tool-window flags: the mask stays a window of its own above the main window.
    setParent(window, windowFlags());
    move(window->pos());
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
