#include "filedialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStyle>
#include <QWindow>

QString execFileDialog(QFileDialog &dialog, QWidget *over)
{
    dialog.setPalette(dialog.style()->standardPalette());
    dialog.setWindowModality(Qt::ApplicationModal);
    if (QWidget *window = over ? over->window() : nullptr) {
        dialog.winId(); // its window exists, to be kept above the program's
        if (dialog.windowHandle() && window->windowHandle())
            dialog.windowHandle()->setTransientParent(window->windowHandle());
        dialog.resize(dialog.sizeHint());
        dialog.move(window->frameGeometry().center() - dialog.rect().center());
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

QString chooseFolder(QWidget *over, const QString &title, const QString &startFolder)
{
    QFileDialog dialog(nullptr, title, startFolder);
    dialog.setObjectName("folderDialog");
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return execFileDialog(dialog, over);
}

QString firstExistingFolder(const QStringList &candidates)
{
    for (const QString &folder : candidates) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return QFileInfo(folder).absoluteFilePath();
    }
    return QDir::homePath();
}
