#include "phototables.h"

#include "matrixbudget.h"

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

namespace {

// A copy always carries its matrix: one dropped to keep within the memory budget is read
// again (a copy that cannot get it back has no temperatures).
void withMatrix(PhotoRecord &record, const QString &path)
{
    if (record.matrix)
        return;
    record.matrix = residentMatrix(path);
    if (!record.matrix) {
        record.matrix = noReadingMatrix();
        record.hasTemperature = false;
    }
}

} // namespace

PhotoRecord copyPhotoRecord(const QString &path)
{
    PhotoRecord record;
    {
        QMutexLocker lock(&photoTablesMutex());
        record = photoRecords().value(path);
    }
    withMatrix(record, path);
    return record;
}

bool findPhotoRecord(const QString &path, PhotoRecord &record)
{
    {
        QMutexLocker lock(&photoTablesMutex());
        const auto it = photoRecords().constFind(path);
        if (it == photoRecords().constEnd())
            return false;
        record = *it;
    }
    withMatrix(record, path);
    return true;
}

void forgetPhotoRecord(const QString &path)
{
    QMutexLocker lock(&photoTablesMutex());
    photoRecords().remove(path);
    rotatedMatrices().remove(path);
    rotationStates().remove(path);
}
