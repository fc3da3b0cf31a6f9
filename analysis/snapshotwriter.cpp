#include "snapshotwriter.h"

#include "mygraphicsscene.h"
#include "pagetables.h"
#include "photorecord.h"
#include "phototables.h"
#include "qgraphicspaint.h"
#include "screenlayout.h"

#include <QPixmap>

QString saveSnapshot(QGraphicsView *view, const QString &photo, const QString &folder)
{
    // Without a folder there is nowhere to write ("" would mean the root).
    if (photo.isEmpty() || folder.isEmpty())
        return QString();
    QSize size;
    {
        QMutexLocker lock(&photoTablesMutex());
        const auto found = photoRecords().constFind(photo);
        if (found != photoRecords().constEnd())
            size = QSize(found->width, found->height);
    }
    if (rotationStateOf(photo) % 2)
        size.transpose();
    if (size.isEmpty())
        return QString();
    const QString path = snapshotPathFor(photo, folder);
    if (!view->grab().scaled(size, Qt::IgnoreAspectRatio).save(path))
        return QString();
    snapshotSources().insert(path, photo);
    return path;
}

QString renderSnapshot(const QString &photo, const QString &folder, bool wholeFrame)
{
    {
        QMutexLocker lock(&photoTablesMutex());
        if (!photoRecords().contains(photo)) {
            lock.unlock();
            loadPhotoRecord(photo);
        }
    }
    // The page's view size, narrow while the photograph is turned a quarter.
    const ScreenLayout &layout = shellValues().layout;
    const QSize size = rotationStateOf(photo) % 2 ? QSize(4 * layout.viewHeight / 5, layout.viewHeight)
                                                  : QSize(layout.viewWidth, layout.viewHeight);
    QGraphicsPaint view;
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.setFrameStyle(QFrame::NoFrame);
    view.createScene(size.width(), size.height());
    view.resize(size);
    view.show();
    view.showPhoto(photo);
    view.setWholeFrame(wholeFrame);
    return saveSnapshot(&view, photo, folder);
}
