#include "snapshottables.h"

#include <QFileInfo>

QMap<QString, QString> &snapshotSources()
{
    static QMap<QString, QString> sources;
    return sources;
}

QString snapshotPathFor(const QString &photoPath, const QString &folder)
{
    const QMap<QString, QString> &sources = snapshotSources();
    for (auto it = sources.constBegin(); it != sources.constEnd(); ++it) {
        if (it.value() == photoPath)
            return it.key();
    }
    const QString base = QFileInfo(photoPath).fileName().section('.', 0, 0);
    QString path = folder + "/" + base + ".bmp";
    for (int n = 2; sources.contains(path); ++n)
        path = folder + "/" + base + QString("-%1.bmp").arg(n);
    return path;
}
