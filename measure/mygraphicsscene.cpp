#include "mygraphicsscene.h"

#include "mygraphicpointitem.h"
#include "phototables.h"
#include "regionstatistics.h"

#include <QCursor>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QPainter>

#include <algorithm>

MyGraphicsScene::MyGraphicsScene(QObject *parent)
    : QGraphicsScene(parent)
    , m_spotReadout(new QGraphicsTextItem)
{
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
    QMutexLocker lock(&photoTablesMutex());
    const PhotoRecord &record = photoRecords()[currentPhotoPath()];
    return QSize(record.width, record.height);
}

QImage MyGraphicsScene::turned(const QImage &image) const
{
    return m_angle == 0 ? image : image.transformed(QTransform().rotate(m_angle), Qt::FastTransformation);
}

void MyGraphicsScene::loadImage(const QString &path)
{
    m_displayed = QImage(path);
    m_fileImage = m_displayed;
    reloadItems(currentPhotoPath());
    const int state = rotationStates().value(currentPhotoPath());
    if (state != 0) {
        m_angle = -90.0 * state;
        m_displayed = turned(m_fileImage);
    }
    update();
}

void MyGraphicsScene::addMeasurementItem(const ItemPtr &item)
{
    m_sceneItems.append(item);
    addItem(item.get());
}

void MyGraphicsScene::removeMeasurementItems()
{
    for (const ItemPtr &item : m_sceneItems)
        removeItem(item.get());
    m_sceneItems.clear();
    m_currentPoint.reset();
}

void MyGraphicsScene::reloadItems(const QString &path)
{
    itemCounters()[path].clear();
    removeMeasurementItems();
    ItemTable &table = itemTables()[path];
    for (auto it = table.begin(); it != table.end(); ++it) {
        const ItemPtr stored = it.value();
        const ItemPtr copy = stored->clone();
        copy->setPos(stored->pos());
        addMeasurementItem(copy);
        copy->computeStatistics(copy->pos(), path);
        ++itemCounters()[path][copy->kind()];
        it.value() = copy;
    }
}

void MyGraphicsScene::rebuildForRotation()
{
    refreshImageRect();
    setSceneRect(m_imageRect);
    m_displayed = turned(m_fileImage);
    const QString path = currentPhotoPath();
    itemCounters()[path].clear();
    removeMeasurementItems();

    // The frame before this turn: the photograph's own size, or turned when it was narrow.
    const bool narrow = m_angle == -90 || m_angle == -270;
    QSize frame = frameSize();
    if (!narrow)
        frame.transpose();
    const QRectF before = m_previousImageRect, after = m_imageRect;
    // A defining point goes to the centre of its turned pixel, so every reading stays on the
    // same physical pixel.
    auto turn = [before, after, frame](const QPointF &q) {
        const QPoint p = quarterTurn(sceneToPixel(q, before, frame.width(), frame.height()), frame.width());
        return QPointF(after.left() + (p.x() + 0.5) * after.width() / frame.height(),
                       after.top() + (p.y() + 0.5) * after.height() / frame.width());
    };
    ItemTable &table = itemTables()[path];
    for (auto it = table.begin(); it != table.end(); ++it) {
        const ItemPtr copy = it.value()->clone();
        copy->setMappingContext(after, frame.height(), frame.width());
        copy->turnGeometry(turn, it.value()->pos(), narrow);
        copy->computeStatistics(QPointF(0, 0), path);
        addMeasurementItem(copy);
        ++itemCounters()[path][copy->kind()];
        it.value() = copy;
    }
    update();
}

bool MyGraphicsScene::setPalette(int index)
{
    if (index < 0 || index >= m_palettes.size())
        return false;
    {
        QMutexLocker lock(&photoTablesMutex());
        for (PhotoRecord *record : {&currentPhotoRecord(), &photoRecords()[currentPhotoPath()]}) {
            record->alarmMode = -1;
            record->paletteIndex = index;
        }
    }
    update();
    return true;
}

bool MyGraphicsScene::setAlarm(int mode, float threshold)
{
    {
        QMutexLocker lock(&photoTablesMutex());
        for (PhotoRecord *record : {&currentPhotoRecord(), &photoRecords()[currentPhotoPath()]}) {
            record->paletteIndex = -1;
            record->alarmMode = mode;
            record->alarmThreshold = threshold;
        }
    }
    if (mode == -1)
        m_displayed = turned(m_fileImage);
    update();
    return true;
}

void MyGraphicsScene::setItemsVisible(bool visible)
{
    for (const ItemPtr &item : m_sceneItems)
        item->setVisible(visible);
}

void MyGraphicsScene::hideSpotReadout()
{
    m_spotReadout->hide();
}

void MyGraphicsScene::deleteSelectedItems()
{
    ItemTable &table = itemTables()[currentPhotoPath()];
    const QList<ItemPtr> onShow = m_sceneItems;
    for (const ItemPtr &item : onShow) {
        if (!item->isSelected())
            continue;
        removeItem(item.get());
        m_sceneItems.removeOne(item);
        table.remove(item->name());
        if (m_currentPoint == item)
            m_currentPoint.reset();
    }
}

QList<ItemStatsRow> MyGraphicsScene::collectItemStats(const QString &path) const
{
    QList<ItemStatsRow> rows;
    const ItemTable table = itemTables().value(path);
    for (const ItemPtr &item : table) {
        const TempStats &s = item->stats();
        rows.append({item->type(), item->name(), s.avg, s.max, s.min});
    }
    return rows;
}

void MyGraphicsScene::createItem(ItemKind kind)
{
    ItemPtr item;
    if (kind == KindPoint) {
        m_currentPoint = std::make_shared<MyGraphicPointItem>();
        item = m_currentPoint;
    }
    if (!item)
        return;
    addMeasurementItem(item);
    static const char *const formats[] = {"P%0", "L%0", "Re%0", "Ro%0", "Poly%0"};
    const int count = ++itemCounters()[currentPhotoPath()][kind];
    item->setName(QString(formats[kind]).arg(count));
    item->setCreating(true);
    item->setPen(QPen(QBrush(m_color), m_sizeLevel, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    item->setMappingContext(m_imageRect, m_displayed.width(), m_displayed.height());
    if (kind == KindPoint)
        m_currentPoint->setPoint(m_pressPoint);
}

void MyGraphicsScene::register_(const ItemPtr &item)
{
    itemTables()[currentPhotoPath()][item->name()] = item;
}

void MyGraphicsScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF p = event->scenePos();
    if (!m_imageRect.contains(p))
        return;
    m_pressPoint = p;
    if (event->button() == Qt::LeftButton && m_toolMode == ToolPoint)
        createItem(KindPoint);
    update();
    QGraphicsScene::mousePressEvent(event);
}

bool MyGraphicsScene::pinCursorToImage(const QPointF &position)
{
    if (m_imageRect.contains(position))
        return false;
    if (!views().isEmpty()) {
        const QPoint origin = views().first()->mapToGlobal(QPoint(0, 0));
        const QPoint cursor = QCursor::pos();
        const int left = int(origin.x() + m_imageRect.left()), top = int(origin.y() + m_imageRect.top());
        QCursor::setPos(std::clamp(cursor.x(), left, int(left + m_imageRect.width())),
                        std::clamp(cursor.y(), top, int(top + m_imageRect.height())));
    }
    return true;
}

void MyGraphicsScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF c = event->scenePos();
    if (pinCursorToImage(c))
        return;
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
    const TemperatureGrid grid = TemperatureGrid::of(currentPhotoPath());
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
    if (!m_imageRect.contains(event->scenePos()))
        return;
    if (event->button() == Qt::LeftButton && m_toolMode == ToolPoint && m_currentPoint && m_currentPoint->isCreating()) {
        m_currentPoint->setCreating(false);
        m_currentPoint->computeTemperature(m_pressPoint, currentPhotoPath());
        register_(m_currentPoint);
    }
    QGraphicsScene::mouseReleaseEvent(event);
}

void MyGraphicsScene::refreshImageRect()
{
    m_previousImageRect = m_imageRect;
    const QRect r = views().first()->viewport()->contentsRect();
    m_imageRect = QRectF(r.x(), r.y(), r.right() - r.left() + 1, r.bottom() - r.top() + 1);
}

void MyGraphicsScene::drawBackground(QPainter *painter, const QRectF &)
{
    if (views().isEmpty())
        return;
    refreshImageRect();
    setSceneRect(m_imageRect);
    {
        QMutexLocker lock(&photoTablesMutex());
        const auto found = photoRecords().constFind(currentPhotoPath());
        if (found != photoRecords().constEnd()) {
            const PhotoRecord &record = *found;
            if (record.paletteIndex >= 0 && record.paletteIndex < m_palettes.size())
                m_displayed = turned(renderInPalette(m_fileImage, m_palettes[record.paletteIndex]));
            // Alarm colours need a matrix that matches the picture pixel for pixel.
            if (record.alarmMode != -1 && record.height > 0 && int(record.matrix.size()) == record.height
                && int(record.matrix[0].size()) == record.width && m_fileImage.width() == record.width
                && m_fileImage.height() == record.height) {
                QImage image = m_fileImage.convertToFormat(QImage::Format_ARGB32);
                for (int y = 0; y < record.height; ++y) {
                    const TemperatureRow &row = record.matrix[std::size_t(y)];
                    for (int x = 0; x < record.width; ++x) {
                        if (record.alarmMode == 0 && row[std::size_t(x)] < record.alarmThreshold)
                            image.setPixel(x, y, 0xFF0000FF);
                        else if (record.alarmMode == 1 && row[std::size_t(x)] > record.alarmThreshold)
                            image.setPixel(x, y, 0xFFFF0000);
                    }
                }
                m_displayed = turned(image);
            }
        }
    }
    if (!m_displayed.isNull())
        painter->drawImage(m_imageRect, m_displayed);
}
