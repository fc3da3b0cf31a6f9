#include "qgraphicspaint.h"

#include "mygraphicsscene.h"
#include "myitemtemp.h"
#include "pagetables.h"
#include "openedphotos.h"
#include "photostore.h"
#include "translucentwindows.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QLayout>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kZoomStep = 1.25;
}

QGraphicsPaint::QGraphicsPaint(QWidget *parent)
    : QGraphicsView(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    // Zooming places the picture itself (zoomAbout), and a resize keeps the scroll position.
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::NoAnchor);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QGraphicsView::customContextMenuRequested, this, &QGraphicsPaint::slot_showMenu);
    rebuildMenu();
}

QGraphicsPaint::~QGraphicsPaint()
{
    delete m_menu;
}

void QGraphicsPaint::createScene(int width, int height)
{
    m_viewSize = QSize(width, height);
    m_wantedSize = m_viewSize;
    m_scene = new MyGraphicsScene(this);
    m_scene->setSceneRect(0, 0, width, height);
    setScene(m_scene);
    connect(m_scene, &QGraphicsScene::changed, this, &QGraphicsPaint::refreshItemStats);
}

QSize QGraphicsPaint::sizeHint() const
{
    return m_wantedSize.isValid() ? m_wantedSize : QGraphicsView::sizeHint();
}

void QGraphicsPaint::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    if (m_scene)
        m_scene->followViewport();
}

void QGraphicsPaint::zoomAbout(double factor, const QPointF &anchor)
{
    const double zoom = std::clamp(m_zoom * factor, 1.0, kMaxZoom);
    if (zoom == m_zoom)
        return;
    const QPointF fixed = transform().inverted().map(anchor + QPointF(horizontalScrollBar()->value(),
                                                                       verticalScrollBar()->value()));
    m_zoom = zoom;
    if (m_scene)
        m_scene->setViewZoom(zoom);
    if (zoom == 1.0) {
        resetTransform();
        return;
    }
    setTransform(QTransform::fromScale(zoom, zoom));
    // A viewport point shows the scene point (point + scroll) / zoom.
    horizontalScrollBar()->setValue(int(std::lround(fixed.x() * zoom - anchor.x())));
    verticalScrollBar()->setValue(int(std::lround(fixed.y() * zoom - anchor.y())));
}

QPointF QGraphicsPaint::zoomAnchor() const
{
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    return viewport()->rect().contains(pointer) ? QPointF(pointer) : QRectF(viewport()->rect()).center();
}

void QGraphicsPaint::zoomIn()
{
    zoomAbout(kZoomStep, zoomAnchor());
}

void QGraphicsPaint::zoomOut()
{
    zoomAbout(1 / kZoomStep, zoomAnchor());
}

void QGraphicsPaint::fitToView()
{
    m_zoom = 1.0;
    if (m_scene)
        m_scene->setViewZoom(1.0);
    resetTransform();
}

void QGraphicsPaint::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y();
    if (steps != 0)
        zoomAbout(std::pow(kZoomStep, steps / 120.0), event->position());
    event->accept();
}

bool QGraphicsPaint::startsPan(const QMouseEvent *event) const
{
    return event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && m_spaceHeld);
}

void QGraphicsPaint::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat() && !m_spaceHeld) {
            m_spaceHeld = true;
            viewport()->setCursor(Qt::OpenHandCursor);
        }
        event->accept();
        return;
    }
    QGraphicsView::keyPressEvent(event);
}

void QGraphicsPaint::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            m_spaceHeld = false;
            if (!m_panning)
                viewport()->unsetCursor();
        }
        event->accept();
        return;
    }
    QGraphicsView::keyReleaseEvent(event);
}

void QGraphicsPaint::focusOutEvent(QFocusEvent *event)
{
    // A release of space while another widget has the keyboard never comes here.
    m_spaceHeld = false;
    if (!m_panning)
        viewport()->unsetCursor();
    QGraphicsView::focusOutEvent(event);
}

void QGraphicsPaint::rebuildMenu()
{
    delete m_menu;
    m_menu = new QMenu;
    m_menu->setWindowFlags(m_menu->windowFlags() | Qt::FramelessWindowHint);
    m_menu->setStyleSheet(
        " QMenu {min-width: 200px;min-height: 140px;background: #444444;border-radius: 6px;border: 1px solid "
        "rgba(255,255,255,0.1);color:#ffffff;font-size:12pt;} QMenu::item {min-width: 174px;min-height: 32px;"
        "background: rgba(33,87,143,0);border-radius: 4px;margin:5px;padding:2px 2px 2px 12px;} "
        "QMenu::item:selected {background: rgba(255,255,255,0.06)}"
        " QMenu::item:disabled {color: rgba(255,255,255,0.3);}");
    fitMenuCorners(m_menu);
    m_menu->addAction(tr("复制红外样式"), this, &QGraphicsPaint::slot_copyItem);
    m_pasteToCurrent = m_menu->addAction(tr("粘贴红外样式"), this, &QGraphicsPaint::slot_pasteToCurr);
    m_pasteToAll = m_menu->addAction(tr("粘贴红外样式至全部文件"), this, &QGraphicsPaint::slot_pasteToAll);
    // Pasting before anything was copied would wipe the photographs' items.
    m_pasteToCurrent->setEnabled(m_copied);
    m_pasteToAll->setEnabled(m_copied);
}

void QGraphicsPaint::setDrawMode(int mode)
{
    m_drawMode = mode;
    m_scene->setToolMode(mode);
}

QColor QGraphicsPaint::drawColor() const
{
    return m_scene->color();
}

void QGraphicsPaint::setDrawColor(const QColor &color)
{
    m_scene->setColor(color);
}

void QGraphicsPaint::setSizeLevel(int level)
{
    m_scene->setSizeLevel(level);
}

void QGraphicsPaint::setItemsVisible(bool visible)
{
    m_scene->setItemsVisible(visible);
}

void QGraphicsPaint::setWholeFrame(bool show)
{
    m_scene->showWholeFrame(show);
}

void QGraphicsPaint::setPalette(int index)
{
    m_scene->setPalette(index);
}

void QGraphicsPaint::setAlarm(int mode, float threshold)
{
    m_scene->setAlarm(mode, threshold);
}

void QGraphicsPaint::slot_showMenu()
{
    if (m_drawMode == ToolPolygon)
        return; // the right button finishes polygons
    m_menu->exec(QCursor::pos());
}

void QGraphicsPaint::slot_copyItem()
{
    // Copies, so later edits of the source photograph do not travel with the layout.
    m_clipboard = copiesOf(itemTables()[m_scene->photoPath()]);
    m_copied = true;
    m_pasteToCurrent->setEnabled(true);
    m_pasteToAll->setEnabled(true);
}

void QGraphicsPaint::pasteTo(const QString &path)
{
    // The photograph's list rows go with its old items; new rows come with the statistics.
    for (MyItemTemp *row : itemRowTables().take(path))
        row->deleteLater();
    // Each photograph gets copies of its own, measured at once on its own pixels, so its
    // list, snapshot tables and export agree before it is ever shown.
    ItemTable &table = itemTables()[path];
    table = copiesOf(m_clipboard);
    const QRectF picture = pictureRectFor(path);
    for (const ItemPtr &copy : table) {
        if (!picture.isEmpty())
            copy->placeOn(picture);
        copy->computeStatistics(copy->pos(), path);
    }
    emit sig_layoutEdited(path);
}

void QGraphicsPaint::slot_pasteToCurr()
{
    if (!m_copied)
        return;
    pasteTo(m_scene->photoPath());
    m_scene->reloadItems(m_scene->photoPath());
    refreshItemStats();
    emit sig_copyItemToCurrent();
}

void QGraphicsPaint::slot_pasteToAll()
{
    if (!m_copied)
        return;
    slot_pasteToCurr();
    const QStringList paths = loadedPhotoPaths();
    const int n = paths.size();
    const int m = paths.indexOf(currentPhotoPath());
    // Nearer photographs first, the earlier one first at equal distance.
    for (int d = 1; d <= std::max(m, n - m); ++d) {
        if (m - d >= 0)
            pasteTo(paths[m - d]);
        if (m + d < n)
            pasteTo(paths[m + d]);
    }
}

void QGraphicsPaint::refreshItemStats()
{
    for (const ItemStatsRow &row : m_scene->collectItemStats(m_scene->photoPath()))
        emit sig_updateItem(row.name, row.max, row.min, row.avg);
}

void QGraphicsPaint::deleteSelected()
{
    for (QGraphicsItem *item : m_scene->selectedItems())
        emit sig_deleteItem(item->data(MyGraphicItem::NameKey).toString());
    m_scene->deleteSelectedItems();
}

QSize QGraphicsPaint::sizeFor(int rotationState) const
{
    return rotationState % 2 ? QSize(4 * m_viewSize.height() / 5, m_viewSize.height()) : m_viewSize;
}

QRectF QGraphicsPaint::pictureRectFor(const QString &path) const
{
    const QRectF shown = m_scene ? m_scene->imageRect() : QRectF();
    const int state = PhotoStore::program().rotationState(path), shownState = PhotoStore::program().rotationState(m_scene ? m_scene->photoPath() : QString());
    if (shown.isEmpty() || state % 2 == shownState % 2)
        return shown;
    // What the view's frame takes from its size, it takes in the other shape too.
    const QSizeF frame = QSizeF(sizeFor(shownState)) - shown.size();
    return QRectF(shown.topLeft(), QSizeF(sizeFor(state)) - frame);
}

void QGraphicsPaint::applyRotationState(int state)
{
    static const double angles[] = {0, -90, -180, -270};
    m_scene->setRotationAngle(angles[state]);
    const int width = m_viewSize.width(), height = m_viewSize.height();
    const int narrow = sizeFor(1).width();
    m_wantedSize = sizeFor(state);
    // In a layout the view asks for its new size and the layout places it at once; alone it
    // takes the place itself.
    updateGeometry();
    if (parentWidget() && parentWidget()->layout()) {
        parentWidget()->layout()->activate();
    } else if (state % 2) {
        setGeometry((width - narrow) / 2 + m_homeGeometry.x(), m_homeGeometry.y(), narrow, height);
    } else {
        setGeometry(m_homeGeometry.x(), m_homeGeometry.y(), width, height);
    }
}

void QGraphicsPaint::rotateQuarterTurn()
{
    fitToView();
    if (!m_homeRecorded) {
        m_homeGeometry = geometry();
        m_homeRecorded = true;
    }
    const QString path = m_scene->photoPath();
    const int state = (PhotoStore::program().rotationState(path) + 1) % 4;
    PhotoStore::program().setRotationState(path, state);
    applyRotationState(state);
    m_scene->rebuildForRotation();
}

void QGraphicsPaint::showPhoto(const QString &path)
{
    fitToView(); // each photograph opens whole
    if (path != m_scene->photoPath())
        m_scene->setItemsAside();
    if (m_homeRecorded)
        applyRotationState(PhotoStore::program().rotationState(path));
    m_scene->loadImage(path);
}

void QGraphicsPaint::slot_clickprenext()
{
    // A right press at (0, 0) finishes a polygon still being drawn.
    QGraphicsSceneMouseEvent press(QEvent::GraphicsSceneMousePress);
    press.setButton(Qt::RightButton);
    press.setButtons(Qt::RightButton);
    press.setScenePos(QPointF(0, 0));
    QCoreApplication::sendEvent(m_scene, &press);
}

void QGraphicsPaint::mousePressEvent(QMouseEvent *event)
{
    viewport()->update();
    if (!m_panning && startsPan(event)) {
        // The picture is dragged, nothing on it: the scene does not see the press.
        m_panning = true;
        m_panFrom = event->pos();
        viewport()->setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    if (m_panning) {
        event->accept();
        return;
    }
    QGraphicsView::mousePressEvent(event);
}

void QGraphicsPaint::mouseMoveEvent(QMouseEvent *event)
{
    viewport()->update();
    if (m_panning) {
        const QPoint moved = event->pos() - m_panFrom;
        m_panFrom = event->pos();
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
        event->accept();
        return;
    }
    QGraphicsView::mouseMoveEvent(event);
}

void QGraphicsPaint::mouseReleaseEvent(QMouseEvent *event)
{
    viewport()->update();
    if (m_panning) {
        if (!(event->buttons() & (Qt::LeftButton | Qt::MiddleButton))) {
            m_panning = false;
            if (m_spaceHeld)
                viewport()->setCursor(Qt::OpenHandCursor);
            else
                viewport()->unsetCursor();
        }
        event->accept();
        return;
    }
    QGraphicsView::mouseReleaseEvent(event);
}

void QGraphicsPaint::leaveEvent(QEvent *event)
{
    m_scene->hideSpotReadout();
    QGraphicsView::leaveEvent(event);
}
