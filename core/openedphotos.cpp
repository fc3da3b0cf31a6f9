#include "openedphotos.h"

QStringList &loadedPhotoPaths()
{
    static QStringList paths;
    return paths;
}

QString &currentPhotoPath()
{
    static QString path;
    return path;
}

PhotoRecord &currentPhotoRecord()
{
    static PhotoRecord record;
    return record;
}
