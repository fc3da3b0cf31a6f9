#include "phototables.h"

QHash<QString, PhotoRecord> &photoRecords()
{
    static QHash<QString, PhotoRecord> records;
    return records;
}

QHash<QString, QHash<int, SharedMatrix>> &rotatedMatrices()
{
    static QHash<QString, QHash<int, SharedMatrix>> matrices;
    return matrices;
}

QHash<QString, int> &rotationStates()
{
    static QHash<QString, int> states;
    return states;
}

QMutex &photoTablesMutex()
{
    static QMutex mutex;
    return mutex;
}

int rotationStateOf(const QString &path)
{
    QMutexLocker lock(&photoTablesMutex());
    return rotationStates().value(path);
}

void setRotationState(const QString &path, int state)
{
    QMutexLocker lock(&photoTablesMutex());
    rotationStates()[path] = state;
}

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

PhotoRecord copyPhotoRecord(const QString &path)
{
    QMutexLocker lock(&photoTablesMutex());
    return photoRecords().value(path);
}

bool findPhotoRecord(const QString &path, PhotoRecord &record)
{
    QMutexLocker lock(&photoTablesMutex());
    const auto it = photoRecords().constFind(path);
    if (it == photoRecords().constEnd())
        return false;
    record = *it;
    return true;
}

void forgetPhotoRecord(const QString &path)
{
    QMutexLocker lock(&photoTablesMutex());
    photoRecords().remove(path);
    rotatedMatrices().remove(path);
    rotationStates().remove(path);
}
