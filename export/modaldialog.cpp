#include "modaldialog.h"

#include <QDialog>
#include <QWindow>

int execOver(QDialog &dialog, QWidget *over)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    if (QWidget *window = over ? over->window() : nullptr) {
        dialog.winId(); // its window exists, to be kept above the program's
        if (dialog.windowHandle() && window->windowHandle())
            dialog.windowHandle()->setTransientParent(window->windowHandle());
        dialog.resize(dialog.sizeHint().expandedTo(dialog.minimumSize()));
        dialog.move(window->frameGeometry().center() - dialog.rect().center());
    }
    return dialog.exec();
}
