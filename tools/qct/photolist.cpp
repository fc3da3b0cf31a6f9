#include "photolist.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool isJpegName(const QByteArray &name)
{
    return name.size() > 4 && name.right(4).toLower() == ".jpg";
}

// Files named like photographs under folder, subfolders too. Symbolic links are not followed
// into folders, so a link loop cannot trap the search; one named like a photograph is taken as
// one, and the loader says what it is.
void search(const QByteArray &folder, QList<QByteArray> &found, QStringList &problems)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir) {
        problems << QFile::decodeName(folder) + ": " + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.'))
            continue;
        struct stat status;
        const bool isFolder = entry->d_type == DT_DIR
            || (entry->d_type == DT_UNKNOWN && ::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0
                && S_ISDIR(status.st_mode));
        if (isFolder)
            search(folder + '/' + name, found, problems);
        else if (isJpegName(name))
            found << folder + '/' + name;
    }
    ::closedir(dir);
}

} // namespace

Photo photoNamed(const QByteArray &native)
{
    return Photo{native, QFile::decodeName(native)};
}

QVector<Photo> collectPhotographs(const QList<QByteArray> &arguments, QStringList &problems)
{
    QVector<Photo> photos;
    for (const QByteArray &argument : arguments) {
        struct stat status;
        if (::stat(argument.constData(), &status) != 0 || !S_ISDIR(status.st_mode)) {
            photos << photoNamed(argument);
            continue;
        }
        QList<QByteArray> found;
        search(argument.endsWith('/') && argument.size() > 1 ? argument.chopped(1) : argument, found, problems);
        std::sort(found.begin(), found.end());
        for (const QByteArray &path : found)
            photos << photoNamed(path);
    }
    return photos;
}
