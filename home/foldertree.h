#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// A folder of the library and the folders below it, as the home page's tree shows them.
struct FolderTree
{
    QString path; // as reached from the root, through any link on the way
    QVector<FolderTree> subFolders; // in natural order of their names
};

// The folders below root. Links to folders are followed, yet no folder is entered twice (by
// its canonical path): a link that points back up, or a second way to a folder already met,
// is left out, so every walk ends.
FolderTree folderTree(const QString &root);

// The paths of the tree, each folder before the folders below it.
QStringList folderPaths(const FolderTree &tree);
