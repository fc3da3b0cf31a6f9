#include "filedialogs.h"

#include "modaldialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStyle>

QString execFileDialog(QFileDialog &dialog, QWidget *over)
{
    dialog.setPalette(dialog.style()->standardPalette());
    if (execOver(dialog, over) != QDialog::Accepted)
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
