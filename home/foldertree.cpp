#include "foldertree.h"

#include "naturalorder.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

struct Walk
{
    QString rootPrefix; // the root's canonical path with a closing slash
    QSet<QString> linkedIn; // canonical paths of the folders entered through links

    // Folders inside the root's own tree are shown where they really are, never again
    // through a link; a folder outside it is shown once, where the walk first meets it.
    bool enter(const QFileInfo &entry, bool throughLink)
    {
        if (!entry.isSymLink() && !throughLink)
            return true;
        const QString canonical = entry.canonicalFilePath();
        if (canonical.isEmpty() || (canonical + '/').startsWith(rootPrefix) || linkedIn.contains(canonical))
            return false;
        linkedIn.insert(canonical);
        return true;
    }

    void addSubFolders(FolderTree &folder, bool throughLink)
    {
        QFileInfoList entries = QDir(folder.path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(entries.begin(), entries.end(), [](const QFileInfo &a, const QFileInfo &b) {
            return naturalFileNameLess(a.fileName(), b.fileName());
        });
        for (const QFileInfo &entry : entries) {
            const bool linked = throughLink || entry.isSymLink();
            if (!enter(entry, throughLink))
                continue;
            FolderTree sub{entry.filePath(), {}};
            addSubFolders(sub, linked);
            folder.subFolders << sub;
        }
    }
};

void collectPaths(const FolderTree &tree, QStringList &out)
{
    out << tree.path;
    for (const FolderTree &sub : tree.subFolders)
        collectPaths(sub, out);
}

} // namespace

FolderTree folderTree(const QString &root)
{
    FolderTree tree{root, {}};
    QString canonical = QFileInfo(root).canonicalFilePath();
    if (canonical.isEmpty())
        return tree;
    Walk walk{canonical.endsWith('/') ? canonical : canonical + '/', {}};
    walk.addSubFolders(tree, false);
    return tree;
}

QStringList folderPaths(const FolderTree &tree)
{
    QStringList paths;
    collectPaths(tree, paths);
    return paths;
}
