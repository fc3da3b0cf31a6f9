#include "phototables.h"

QHash<QString, PhotoRecord> &photoRecords()
{
    static QHash<QString, PhotoRecord> records;
    return records;
}

QHash<QString, QHash<int, TemperatureMatrix>> &rotatedMatrices()
{
    static QHash<QString, QHash<int, TemperatureMatrix>> matrices;
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
