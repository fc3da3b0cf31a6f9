#include "snapshotwriter.h"

#include "colourscalebar.h"
#include "mygraphicsscene.h"
#include "snapshottables.h"
#include "photorecord.h"
#include "photostore.h"
#include "qgraphicspaint.h"
#include "screenlayout.h"
#include "temperaturerendering.h"
#include "temperaturescale.h"

#include <QGraphicsItem>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

#include <algorithm>

QImage withColourScale(const QImage &picture, const PhotoRecord &record, const Palette &palette)
{
    // Text in proportion to the picture, as the page shows it beside the view.
    QFont font("Microsoft YaHei");
    font.setPixelSize(std::clamp(picture.height() / 36, 9, 16));
    const int scaleWidth = colourScaleWidth(font);
    QImage image(picture.width() + scaleWidth, picture.height(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.drawImage(0, 0, picture);
    paintColourScale(painter, QRect(picture.width(), 0, scaleWidth, picture.height()), palette,
                     temperatureScale(record), font);
    return image;
}

QString saveSnapshot(QGraphicsView *view, const QString &photo, const QString &folder)
{
    // Without a folder there is nowhere to write ("" would mean the root).
    if (photo.isEmpty() || folder.isEmpty())
        return QString();
    PhotoRecord record;
    if (!PhotoStore::program().find(photo, record))
        return QString();
    QSize size(record.width, record.height);
    if (PhotoStore::program().rotationState(photo) % 2)
        size.transpose();
    if (size.isEmpty())
        return QString();
    const auto *scene = qobject_cast<const MyGraphicsScene *>(view->scene());
    const Palette palette = scene ? scene->palettes().value(shownPalette(record)) : Palette();
    const QString path = snapshotPathFor(photo, folder);
    // Selection handles are the editor's, not the photograph's: drawn without them, then the
    // selection is given back unseen.
    QList<QGraphicsItem *> selected;
    if (QGraphicsScene *shown = view->scene()) {
        const QSignalBlocker quiet(shown);
        selected = shown->selectedItems();
        for (QGraphicsItem *item : selected)
            item->setSelected(false);
    }
    // The whole picture, however far the view is zoomed into it; the zoom is given back.
    const QTransform zoom = view->transform();
    const QPoint scrolled(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
    view->resetTransform();
    const QImage picture = view->grab().scaled(size, Qt::IgnoreAspectRatio).toImage();
    if (!zoom.isIdentity()) {
        view->setTransform(zoom);
        view->horizontalScrollBar()->setValue(scrolled.x());
        view->verticalScrollBar()->setValue(scrolled.y());
    }
    if (QGraphicsScene *shown = view->scene()) {
        const QSignalBlocker quiet(shown);
        for (QGraphicsItem *item : selected)
            item->setSelected(true);
    }
    if (!withColourScale(picture, record, palette).save(path))
        return QString();
    snapshotSources().insert(path, photo);
    return path;
}

QString renderSnapshot(const QString &photo, const QString &folder, bool wholeFrame)
{
    if (!PhotoStore::program().contains(photo))
        PhotoStore::program().load(photo);
    // The page's view size, narrow while the photograph is turned a quarter.
    const ScreenLayout &layout = shellValues().layout;
    const QSize size = PhotoStore::program().rotationState(photo) % 2 ? QSize(4 * layout.viewHeight / 5, layout.viewHeight)
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
