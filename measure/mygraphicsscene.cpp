#include "mygraphicsscene.h"

#include "mygraphiclineitem.h"
#include "mygraphicpointitem.h"
#include "mygraphicpolygonitem.h"
#include "mygraphicrectitem.h"
#include "mygraphicrounditem.h"
#include "mygraphictextitem.h"
#include "openedphotos.h"
#include "photostore.h"
#include "picturereader.h"
#include "regionstatistics.h"
#include "temperaturerendering.h"
#include "temperaturescale.h"

#include <QCursor>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QPainter>

#include <algorithm>
#include <cmath>

MyGraphicsScene::MyGraphicsScene(QObject *parent)
    : QGraphicsScene(parent)
    , m_overlay(new MyGraphicTextItem)
    , m_spotReadout(new QGraphicsTextItem)
{
    addItem(m_overlay);
    m_overlay->hide();
    addItem(m_spotReadout);
    m_spotReadout->hide();
    loadPalettes(m_palettes);
}

MyGraphicsScene::~MyGraphicsScene()
{
    // The tables own the measurement items; the scene must not delete them.
    removeMeasurementItems();
}

QSize MyGraphicsScene::frameSize() const
{
    return PhotoStore::program().sizeOf(m_photoPath);
}

template<typename Change>
void MyGraphicsScene::changeShownRecord(Change change)
{
    // The page's copy and the store's record change together; a photograph that never loaded
    // gets no record.
    if (m_photoPath == currentPhotoPath())
        change(currentPhotoRecord());
    PhotoStore::program().update(m_photoPath, change);
}

QImage MyGraphicsScene::turned(const QImage &image) const
{
    return m_angle == 0 ? image : image.transformed(QTransform().rotate(m_angle), Qt::FastTransformation);
}

void MyGraphicsScene::loadImage(const QString &path)
{
    // A header that declares a picture far beyond any frame is not decoded.
    m_displayed = readBoundedPicture(path);
    m_fileImage = m_displayed;
    if (!views().isEmpty())
        refreshImageRect();
    reloadItems(path);
    // A reading under the pointer was of the photograph shown before.
    m_spotReadout->hide();
    // Every state sets the angle: a photograph shown unturned after a turned one is not turned.
    m_angle = -90.0 * PhotoStore::program().rotationState(path);
    m_displayed = turned(m_fileImage);
    showWholeFrame(m_wholeFrame);
    update();
}

void MyGraphicsScene::followViewport()
{
    if (views().isEmpty())
        return;
    refreshImageRect();
    setSceneRect(m_imageRect);
    for (const ItemPtr &item : m_sceneItems) {
        if (item->imageRect() == m_imageRect)
            continue;
        item->placeOn(m_imageRect);
        if (!item->isCreating())
            item->computeStatistics(item->pos(), m_photoPath);
    }
    m_overlay->setImageRect(m_imageRect);
}

void MyGraphicsScene::countName(const QString &path, const ItemPtr &item)
{
    // Counters never fall below a number in use, so a new item never takes a held name.
    int &count = itemCounters()[path][item->kind()];
    count = std::max(count, nameNumber(item->name()));
}

void MyGraphicsScene::setViewZoom(double zoom)
{
    m_viewZoom = zoom;
    for (const ItemPtr &item : m_sceneItems)
        item->setViewZoom(zoom);
}

void MyGraphicsScene::addMeasurementItem(const ItemPtr &item)
{
    item->setViewZoom(m_viewZoom);
    item->setVisible(m_itemsVisible);
    m_sceneItems.append(item);
    addItem(item.get());
}

void MyGraphicsScene::removeMeasurementItems()
{
    for (const ItemPtr &item : m_sceneItems)
        removeItem(item.get());
    m_sceneItems.clear();
    m_currentPoint.reset();
    m_currentRect.reset();
    m_currentRound.reset();
    m_currentLine.reset();
    m_currentPolygon.reset();
    m_polygonInProgress = false;
}

void MyGraphicsScene::reloadItems(const QString &path)
{
    itemCounters()[path].clear();
    removeMeasurementItems();
    m_photoPath = path;
    ItemTable &table = itemTables()[path];
    for (auto it = table.begin(); it != table.end(); ++it) {
        const ItemPtr copy = it.value()->copyInPlace();
        if (!m_imageRect.isEmpty())
            copy->placeOn(m_imageRect);
        addMeasurementItem(copy);
        copy->computeStatistics(copy->pos(), path);
        countName(path, copy);
        it.value() = copy;
    }
}

void MyGraphicsScene::showTableItems()
{
    const ItemTable &table = itemTables()[m_photoPath];
    const QList<ItemPtr> onShow = m_sceneItems;
    for (const ItemPtr &item : onShow)
        if (!item->isCreating() && table.value(item->name()) != item)
            dropFromScene(item);
    for (const ItemPtr &item : table) {
        if (!m_sceneItems.contains(item))
            addMeasurementItem(item);
        countName(m_photoPath, item);
    }
}

void MyGraphicsScene::rebuildForRotation()
{
    refreshImageRect();
    setSceneRect(m_imageRect);
    m_displayed = turned(m_fileImage);
    const QString path = m_photoPath;
    itemCounters()[path].clear();
    removeMeasurementItems();

    // The frame before this turn: the photograph's own size (its picture's when it has no
    // record), turned when it was narrow.
    const bool narrow = m_angle == -90 || m_angle == -270;
    QSize frame = frameSize();
    if (frame.isEmpty())
        frame = m_fileImage.size();
    if (!narrow)
        frame.transpose();
    const QRectF after = m_imageRect;
    ItemTable &table = itemTables()[path];
    for (auto it = table.begin(); it != table.end(); ++it) {
        const QRectF before = it.value()->imageRect();
        std::function<QPointF(const QPointF &)> turn;
        double radiusScale = after.width() / before.height();
        if (!frame.isEmpty() && !before.isEmpty()) {
            // A defining point goes to the centre of its turned pixel, so every reading stays
            // on the same physical pixel; a radius keeps its length in pixels.
            turn = [before, after, frame](const QPointF &q) {
                const QPoint p = quarterTurn(sceneToPixel(q, before, frame.width(), frame.height()), frame.width());
                return QPointF(after.left() + (p.x() + 0.5) * after.width() / frame.height(),
                               after.top() + (p.y() + 0.5) * after.height() / frame.width());
            };
            radiusScale = double(frame.width()) / before.width() * after.width() / frame.height();
        } else {
            // Without a pixel grid the picture turns as a whole.
            turn = [before, after](const QPointF &q) {
                const double u = before.width() > 0 ? (q.x() - before.left()) / before.width() : 0.5;
                const double v = before.height() > 0 ? (q.y() - before.top()) / before.height() : 0.5;
                return QPointF(after.left() + v * after.width(), after.top() + (1 - u) * after.height());
            };
            if (before.isEmpty())
                radiusScale = 1.0;
        }
        const ItemPtr copy = it.value()->clone();
        copy->setMappingContext(after);
        copy->mapGeometry(turn, it.value()->pos(), radiusScale, true);
        copy->keepInsideImage();
        copy->computeStatistics(QPointF(0, 0), path);
        addMeasurementItem(copy);
        countName(path, copy);
        it.value() = copy;
    }
    showWholeFrame(m_wholeFrame);
    update();
}

bool MyGraphicsScene::setPalette(int index)
{
    if (index < 0 || index >= m_palettes.size())
        return false;
    changeShownRecord([index](PhotoRecord &record) {
        record.alarmMode = -1;
        record.paletteIndex = index;
    });
    update();
    return true;
}

bool MyGraphicsScene::setAlarm(int mode, float threshold)
{
    changeShownRecord([mode, threshold](PhotoRecord &record) {
        record.paletteIndex = -1;
        record.alarmMode = mode;
        record.alarmThreshold = threshold;
    });
    if (mode == -1)
        m_displayed = turned(m_fileImage);
    update();
    return true;
}

bool MyGraphicsScene::setRendering(Rendering rendering)
{
    PhotoRecord record;
    const bool known = PhotoStore::program().find(m_photoPath, record);
    if (rendering == Rendering::Temperatures && !(known && canRenderTemperatures(record)))
        return false;
    changeShownRecord([rendering](PhotoRecord &record) { record.rendering = rendering; });
    update();
    return true;
}

void MyGraphicsScene::setSpan(const TemperatureSpan &span)
{
    changeShownRecord([span](PhotoRecord &record) { record.span = span; });
    update();
}

void MyGraphicsScene::setItemsVisible(bool visible)
{
    m_itemsVisible = visible;
    for (const ItemPtr &item : m_sceneItems)
        item->setVisible(visible);
    m_overlay->setVisible(visible && m_wholeFrame);
}

void MyGraphicsScene::showWholeFrame(bool show)
{
    m_wholeFrame = show;
    m_overlay->setPen(QPen(m_color, m_sizeLevel));
    m_overlay->setImageRect(m_imageRect);
    PhotoRecord record; // no statistics and no size when the photograph never loaded
    PhotoStore::program().summary(m_photoPath, record);
    m_overlay->setPhoto(record.stats, QSize(record.width, record.height),
                        PhotoStore::program().rotationState(m_photoPath));
    m_overlay->setVisible(show && m_itemsVisible);
}

void MyGraphicsScene::hideSpotReadout()
{
    m_spotReadout->hide();
}

void MyGraphicsScene::deleteSelectedItems()
{
    ItemTable &table = itemTables()[m_photoPath];
    const QList<ItemPtr> onShow = m_sceneItems;
    for (const ItemPtr &item : onShow) {
        if (!item->isSelected())
            continue;
        dropFromScene(item);
        if (table.value(item->name()) == item)
            table.remove(item->name());
    }
    emit sig_layoutEdited(m_photoPath);
}

void MyGraphicsScene::dropFromScene(const ItemPtr &item)
{
    removeItem(item.get());
    m_sceneItems.removeOne(item);
    if (m_currentPoint == item)
        m_currentPoint.reset();
    if (m_currentRect == item)
        m_currentRect.reset();
    if (m_currentRound == item)
        m_currentRound.reset();
    if (m_currentLine == item)
        m_currentLine.reset();
    if (m_currentPolygon == item) {
        m_currentPolygon.reset();
        m_polygonInProgress = false;
    }
}

bool MyGraphicsScene::cancelDrawing()
{
    const auto drawing = std::find_if(m_sceneItems.cbegin(), m_sceneItems.cend(),
                                      [](const ItemPtr &item) { return item->isCreating(); });
    if (drawing == m_sceneItems.cend())
        return false;
    const ItemPtr item = *drawing;
    dropFromScene(item); // never entered in the tables: it was not finished
    // Its number goes to the next shape of its kind.
    int &count = itemCounters()[m_photoPath][item->kind()];
    if (count == nameNumber(item->name()))
        --count;
    update();
    return true;
}

QList<ItemStatsRow> MyGraphicsScene::collectItemStats(const QString &path) const
{
    return itemStatsRows(path);
}

void MyGraphicsScene::createItem(ItemKind kind)
{
    ItemPtr item;
    switch (kind) {
    case KindPoint:
        item = m_currentPoint = std::make_shared<MyGraphicPointItem>();
        break;
    case KindLine:
        item = m_currentLine = std::make_shared<MyGraphicLineItem>();
        break;
    case KindRect:
        item = m_currentRect = std::make_shared<MyGraphicRectItem>();
        break;
    case KindRound:
        item = m_currentRound = std::make_shared<MyGraphicRoundItem>();
        m_currentRound->setCircle(m_pressPoint, 0);
        break;
    case KindPolygon:
        item = m_currentPolygon = std::make_shared<MyGraphicPolygonItem>(m_pressPoint, m_pressPoint);
        break;
    }
    addMeasurementItem(item);
    item->setName(measurementName(kind, ++itemCounters()[m_photoPath][kind]));
    if (kind == KindLine || kind == KindRect)
        item->setPos(m_pressPoint);
    item->setCreating(true);
    item->setPen(QPen(QBrush(m_color), m_sizeLevel, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    item->setMappingContext(m_imageRect);
    if (kind == KindPoint)
        m_currentPoint->setPoint(m_pressPoint);
    if (kind == KindLine)
        m_lineDirection = 0;
    if (kind == KindPolygon) {
        m_polygonInProgress = true;
        m_currentPolygon->setInProgress(true);
        m_currentPolygon->addVertex(m_pressPoint);
    }
}

void MyGraphicsScene::finishItem(const ItemPtr &item)
{
    item->setCreating(false);
    if (item->kind() == KindPoint)
        m_currentPoint->computeTemperature(m_pressPoint, m_photoPath);
    else
        item->computeStatistics(item->pos(), m_photoPath);
    register_(item);
}

void MyGraphicsScene::register_(const ItemPtr &item)
{
    itemTables()[m_photoPath][item->name()] = item;
}

void MyGraphicsScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF p = event->scenePos();
    if (!m_imageRect.contains(p))
        return;
    m_pressPoint = p;
    const bool left = event->button() == Qt::LeftButton;
    static const QHash<int, ItemKind> kinds = {{ToolPoint, KindPoint}, {ToolLine, KindLine}, {ToolRect, KindRect},
                                               {ToolRound, KindRound}};
    if (left && kinds.contains(m_toolMode))
        createItem(kinds[m_toolMode]);
    if (m_toolMode == ToolPolygon) {
        if (event->button() == Qt::RightButton && finishPolygon())
            return;
        if (m_polygonInProgress && m_currentPolygon && left)
            m_currentPolygon->addVertex(p);
        else if (left)
            createItem(KindPolygon);
    }
    update();
    QGraphicsScene::mousePressEvent(event);
}

bool MyGraphicsScene::finishPolygon()
{
    if (!m_polygonInProgress || !m_currentPolygon)
        return false;
    m_currentPolygon->setInProgress(false);
    m_polygonInProgress = false;
    finishItem(m_currentPolygon);
    update();
    emit sig_layoutEdited(m_photoPath);
    return true;
}

void MyGraphicsScene::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    // The first click of the two placed the last corner; the second finishes instead of
    // placing it again.
    if (m_toolMode == ToolPolygon && event->button() == Qt::LeftButton && finishPolygon())
        return;
    QGraphicsScene::mouseDoubleClickEvent(event);
}

void MyGraphicsScene::dragNewItem(const QPointF &c)
{
    const QPointF &p = m_pressPoint;
    const QRectF spanned(std::min(c.x() - p.x(), 0.0), std::min(c.y() - p.y(), 0.0), std::abs(c.x() - p.x()),
                         std::abs(c.y() - p.y()));
    if (m_toolMode == ToolRect && m_currentRect && m_currentRect->isCreating())
        m_currentRect->setRect(c.x() == p.x() || c.y() == p.y() ? QRectF(0, 0, 0, 0) : spanned);
    if (m_toolMode == ToolLine && m_currentLine && m_currentLine->isCreating()) {
        m_lineDirection = (c.x() <= p.x()) == (c.y() <= p.y()) ? 2 : 1;
        m_currentLine->setRect(spanned);
        m_currentLine->setDirection(m_lineDirection);
    }
}

bool MyGraphicsScene::pinCursorToImage(const QPointF &position)
{
    if (m_imageRect.contains(position))
        return false;
    if (!views().isEmpty()) {
        // The part of the picture the view shows, zoomed or not.
        const QGraphicsView *view = views().first();
        const QRect shown = view->mapFromScene(m_imageRect).boundingRect().intersected(view->viewport()->rect());
        const QPoint origin = view->viewport()->mapToGlobal(QPoint(0, 0));
        const QPoint cursor = QCursor::pos();
        QCursor::setPos(std::clamp(cursor.x(), origin.x() + shown.left(), origin.x() + shown.right()),
                        std::clamp(cursor.y(), origin.y() + shown.top(), origin.y() + shown.bottom()));
    }
    return true;
}

void MyGraphicsScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF c = event->scenePos();
    if (event->buttons() == Qt::LeftButton && m_toolMode == ToolRound && m_currentRound && m_currentRound->isCreating()) {
        // However far past the border the pointer goes, the circle grows as far as the picture
        // holds it, not only as far as the last move inside.
        const double r = std::hypot(c.x() - m_pressPoint.x(), c.y() - m_pressPoint.y());
        m_currentRound->setCircle(m_pressPoint, std::min(r, m_currentRound->roomAround(m_pressPoint)));
    }
    if (pinCursorToImage(c))
        return;
    if (event->buttons() == Qt::LeftButton)
        dragNewItem(c);
    if (m_toolMode == ToolPolygon && m_polygonInProgress && m_currentPolygon && m_currentPolygon->inProgress())
        m_currentPolygon->setRubberBand(m_pressPoint, c);
    if (m_toolMode == ToolSpot) {
        const QRect area = m_imageRect.toRect();
        const QPoint at = c.toPoint();
        if (area.contains(at) && !area.contains(at, true)) {
            m_spotReadout->hide();
            return;
        }
        updateSpotReadout(c);
    }
    update();
    QGraphicsScene::mouseMoveEvent(event);
}

void MyGraphicsScene::updateSpotReadout(const QPointF &c)
{
    const TemperatureGrid grid = TemperatureGrid::of(m_photoPath);
    const float t = grid.at(sceneToPixel(c, m_imageRect, grid));
    m_spotReadout->setPlainText(t == NA_TEMPERATURE ? QString("NA") : QString::number(t, 'f', 1) + QString::fromUtf8("℃"));
    QFont font("Microsoft Yahei");
    font.setPointSize(12);
    m_spotReadout->setFont(font);
    m_spotReadout->setDefaultTextColor(m_color);
    const double x = c.x() > m_imageRect.left() + m_imageRect.width() / 2 ? c.x() - 40 : c.x() + 20;
    const double y = c.y() > m_imageRect.top() + m_imageRect.height() / 2 ? c.y() - 30 : c.y();
    m_spotReadout->setPos(x, y);
    m_spotReadout->show();
}

void MyGraphicsScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        ItemPtr created;
        if (m_toolMode == ToolPoint)
            created = m_currentPoint;
        else if (m_toolMode == ToolLine)
            created = m_currentLine;
        else if (m_toolMode == ToolRect)
            created = m_currentRect;
        else if (m_toolMode == ToolRound)
            created = m_currentRound;
        // A release past the picture still ends the drag: the shape keeps the last extent it
        // had inside, instead of staying on screen unmeasured and unlisted.
        if (created && created->isCreating())
            finishItem(created);
    }
    // Passed on wherever it happens: an item dragged and let go past the border must stop
    // grabbing the mouse, or the next drag would move it unselected, unclamped.
    QGraphicsScene::mouseReleaseEvent(event);
    // A drag, a resize or a shape drawn ends here, however many moves it took.
    emit sig_layoutEdited(m_photoPath);
}

void MyGraphicsScene::refreshImageRect()
{
    const QRect r = views().first()->viewport()->contentsRect();
    m_imageRect = QRectF(r.x(), r.y(), r.right() - r.left() + 1, r.bottom() - r.top() + 1);
}

void MyGraphicsScene::drawBackground(QPainter *painter, const QRectF &)
{
    if (views().isEmpty())
        return;
    refreshImageRect();
    setSceneRect(m_imageRect);
    bool coloured = false;
    // A snapshot carries its matrix, read again when it was dropped to keep within the memory
    // budget, and holds it while painting.
    PhotoRecord record;
    if (PhotoStore::program().find(m_photoPath, record))
        coloured = colour(record);
    if (coloured)
        emit sig_colouringChanged();
    if (!m_displayed.isNull())
        painter->drawImage(m_imageRect, m_displayed);
}

bool MyGraphicsScene::colour(const PhotoRecord &record)
{
    // Alarm colours need a matrix that matches the picture they paint, pixel for pixel: the
    // temperature picture always does, the embedded one when it has the photograph's size.
    if (!record.matrix)
        return false;
    const TemperatureMatrix &matrix = *record.matrix;
    const int palette = shownPalette(record);
    const bool temperatures = showsTemperatures(record) && palette < m_palettes.size();
    const bool alarmPossible = record.height > 0 && matrix.height() == record.height && matrix.width() == record.width
        && (temperatures || (m_fileImage.width() == record.width && m_fileImage.height() == record.height));
    const TemperatureScale scale = temperatureScale(record);
    const Colouring colouring{m_fileImage.cacheKey(), m_angle, record.paletteIndex, record.alarmMode,
                              record.alarmThreshold, alarmPossible, record.matrix, temperatures, scale.low,
                              scale.high};
    if (colouring == m_colouring)
        return false;
    m_colouring = colouring;
    const bool alarm = record.alarmMode != -1 && alarmPossible;
    QImage picture;
    if (temperatures)
        picture = renderTemperatures(matrix, m_palettes[palette], scale.low, scale.high);
    else if (record.paletteIndex >= 0 && record.paletteIndex < m_palettes.size() && !alarm)
        picture = renderInPalette(m_fileImage, m_palettes[record.paletteIndex]); // an alarm replaces the palette
    else
        picture = m_fileImage;
    if (alarm) {
        picture = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < record.height; ++y) {
            const float *row = matrix.row(y);
            auto *out = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < record.width; ++x) {
                if (record.alarmMode == 0 && row[x] < record.alarmThreshold)
                    out[x] = 0xFF0000FF;
                else if (record.alarmMode == 1 && row[x] > record.alarmThreshold)
                    out[x] = 0xFFFF0000;
            }
        }
    }
    m_displayed = turned(picture);
    return true;
}
