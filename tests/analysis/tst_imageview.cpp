#include "mygraphicpointitem.h"
#include "mygraphicpolygonitem.h"
#include "mygraphicrectitem.h"
#include "mygraphicrounditem.h"
#include "mygraphictextitem.h"
#include "snapshottables.h"
#include "screenlayout.h"
#include "snapshotwriter.h"
#include "temperaturerendering.h"
#include "viewfixture.h"

#include <QAction>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsTextItem>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

class TestImageView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_photos;
    ViewFixture m_fixture;
    QGraphicsPaint *m_view = nullptr;

    MyGraphicsScene *scene() const { return m_fixture.scene(); }
    void show(const QString &path) { m_fixture.show(path); }
    void click(const QPoint &at) { m_fixture.click(at); }

    MyGraphicPointItem *point(const QString &name) const
    {
        return static_cast<MyGraphicPointItem *>(itemTables()[currentPhotoPath()].value(name).get());
    }

    MyGraphicRectItem *rect(const QString &name) const
    {
        return static_cast<MyGraphicRectItem *>(itemTables()[currentPhotoPath()].value(name).get());
    }

    // A move of the pointer over the view without a button.
    void hover(const QPoint &at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_view->viewport(), &move);
    }

    // The view's point over a scene point, zoomed or not.
    QPoint over(const QPointF &scenePoint) const { return m_view->mapFromScene(scenePoint); }

    // A rectangle drawn unzoomed from a to b reads what the named one reads.
    void compareWithUnzoomedTwin(const QString &name, const QPointF &a, const QPointF &b)
    {
        const double zoom = m_view->zoom();
        const QTransform transform = m_view->transform();
        const QPoint scrolled(m_view->horizontalScrollBar()->value(), m_view->verticalScrollBar()->value());
        m_view->fitToView();
        m_view->setDrawMode(ToolRect);
        const QStringList before = itemTables()[currentPhotoPath()].keys();
        m_fixture.drag(a.toPoint(), b.toPoint());
        m_view->setDrawMode(ToolNone);
        QStringList added = itemTables()[currentPhotoPath()].keys();
        for (const QString &name : before)
            added.removeOne(name);
        QCOMPARE(added.size(), 1);
        MyGraphicRectItem *twin = rect(added[0]);
        const MyGraphicRectItem *zoomed = rect(name);
        // The same pixels: the same geometry within a third of a scene unit, the same readings.
        const QRectF z = zoomed->rect().translated(zoomed->pos()), t = twin->rect().translated(twin->pos());
        QVERIFY2(std::abs(z.left() - t.left()) < 1 && std::abs(z.top() - t.top()) < 1
                     && std::abs(z.right() - t.right()) < 1 && std::abs(z.bottom() - t.bottom()) < 1,
                 qPrintable(QString("zoomed %1 %2 %3 %4, unzoomed %5 %6 %7 %8").arg(z.left()).arg(z.top())
                                .arg(z.right()).arg(z.bottom()).arg(t.left()).arg(t.top()).arg(t.right()).arg(t.bottom())));
        QCOMPARE(zoomed->stats().max, twin->stats().max);
        QCOMPARE(zoomed->stats().min, twin->stats().min);
        QCOMPARE(zoomed->stats().avg, twin->stats().avg);
        QVERIFY(zoomed->stats().max > zoomed->stats().min);
        QVERIFY(zoomed->stats().max != NA_TEMPERATURE);
        scene()->clearSelection();
        twin->setSelected(true);
        m_view->deleteSelected();
        // Back where the view was.
        m_view->zoomAbout(zoom, QPointF(0, 0));
        QCOMPARE(m_view->transform(), transform);
        m_view->horizontalScrollBar()->setValue(scrolled.x());
        m_view->verticalScrollBar()->setValue(scrolled.y());
    }

private slots:
    void initTestCase()
    {
        for (int i = 0; i < 3; ++i) {
            m_photos << m_dir.filePath(QString("photo%1.jpg").arg(i));
            writePhoto(m_photos.last(), placeSpec(64, 48, 100.0f * i));
            QCOMPARE(PhotoStore::program().load(m_photos.last()), 0);
        }
        m_photos << m_dir.filePath("small.jpg");
        writePhoto(m_photos.last(), placeSpec(160, 120));
        QCOMPARE(PhotoStore::program().load(m_photos.last()), 0);
        loadedPhotoPaths() = m_photos.mid(0, 3);
    }

    void init()
    {
        for (const QString &path : m_photos) {
            itemTables().remove(path);
            itemCounters().remove(path);
            PhotoStore::program().setRotationState(path, 0);
        }
        QVERIFY(m_fixture.create());
        m_view = m_fixture.view;
        show(m_photos[0]);
        QCOMPARE(scene()->imageRect(), QRectF(0, 0, 640, 480));
    }

    void cleanup() { m_fixture.destroy(); }

    void namesAndCounters()
    {
        m_view->setDrawMode(ToolPoint);
        click(QPoint(105, 55));
        QVERIFY(point("P1"));
        QCOMPARE(point("P1")->temperature(), matrixAt(m_photos[0], 10, 5));
        QVERIFY(!point("P1")->isCreating());
        QSignalSpy deleted(m_view, &QGraphicsPaint::sig_deleteItem);
        const std::weak_ptr<MyGraphicItem> first = itemTables()[currentPhotoPath()].value("P1");
        point("P1")->setSelected(true);
        m_view->deleteSelected();
        QCOMPARE(deleted.takeFirst().at(0).toString(), QString("P1"));
        QVERIFY(first.expired()); // deleted, nothing holds it
        QVERIFY(itemTables()[currentPhotoPath()].isEmpty());
        click(QPoint(205, 55));
        QCOMPARE(itemTables()[currentPhotoPath()].keys(), QStringList{"P2"});

        // P2, P3, P4 with P3 deleted: a reload counts from the highest name in use, so the
        // next point is P5 and P4 keeps its name, its entry and its reading.
        click(QPoint(305, 55));
        click(QPoint(405, 55));
        scene()->clearSelection();
        point("P3")->setSelected(true);
        m_view->deleteSelected();
        const std::weak_ptr<MyGraphicItem> replaced = itemTables()[currentPhotoPath()].value("P2");
        scene()->reloadItems(currentPhotoPath());
        QVERIFY(replaced.expired()); // the copies took the originals' place
        QCOMPARE(itemCounters()[currentPhotoPath()][KindPoint], 4);
        click(QPoint(505, 155));
        QCOMPARE(itemTables()[currentPhotoPath()].keys(), (QStringList{"P2", "P4", "P5"}));
        QCOMPARE(point("P4")->temperature(), matrixAt(m_photos[0], 40, 5));
        QCOMPARE(point("P5")->temperature(), matrixAt(m_photos[0], 50, 15));
        // Deleting P5 leaves P4's entry alone.
        scene()->clearSelection();
        point("P5")->setSelected(true);
        m_view->deleteSelected();
        QCOMPARE(itemTables()[currentPhotoPath()].keys(), (QStringList{"P2", "P4"}));
    }

    void pressesOutsideTheImage()
    {
        m_view->setDrawMode(ToolPoint);
        click(QPoint(105, 55));
        point("P1")->setSelected(true);
        sceneEvent(scene(), QEvent::GraphicsSceneMousePress, QPointF(-5, 20), Qt::LeftButton, Qt::LeftButton);
        sceneEvent(scene(), QEvent::GraphicsSceneMouseRelease, QPointF(-5, 20), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(itemTables()[currentPhotoPath()].size(), 1);
        QVERIFY(point("P1")->isSelected());

        // The right edge itself reads the last column.
        sceneEvent(scene(), QEvent::GraphicsSceneMousePress, QPointF(640, 95), Qt::LeftButton, Qt::LeftButton);
        sceneEvent(scene(), QEvent::GraphicsSceneMouseRelease, QPointF(640, 95), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(point("P2")->temperature(), matrixAt(m_photos[0], 63, 9));
    }

    void movesStayInsideTheImage()
    {
        m_view->setDrawMode(ToolPoint);
        click(QPoint(105, 55));
        MyGraphicPointItem *p = point("P1");
        p->setSelected(true);
        for (QPointF target : {QPointF(5000, 5000), QPointF(-5000, 100), QPointF(100, -700)}) {
            p->setPos(target);
            const QRectF box = p->mapRectToScene(p->boundingRect());
            QVERIFY2(scene()->imageRect().contains(box), qPrintable(QString("%1,%2").arg(target.x()).arg(target.y())));
        }
        // An accepted move reads the pixel under the moved point, and so does a move held
        // back at the border: the reading is where the point stopped.
        p->setPos(QPointF(200, 100));
        QCOMPARE(p->temperature(), matrixAt(m_photos[0], 30, 15));
        p->setPos(QPointF(5000, 5000));
        const QPoint stopped = sceneToPixel(p->mapToScene(p->point()), scene()->imageRect(), 64, 48);
        QVERIFY(stopped.x() > 50 && stopped.y() > 40);
        QCOMPARE(p->temperature(), matrixAt(m_photos[0], stopped.x(), stopped.y()));

        // A circle as high as the picture and a polygon as wide: their margin boxes do not fit,
        // yet a move must not carry the shapes themselves out.
        m_view->setDrawMode(ToolRound);
        m_fixture.drag(QPoint(320, 240), QPoint(320, 1));
        m_view->setDrawMode(ToolPolygon);
        for (const QPoint &v : {QPoint(1, 100), QPoint(639, 120), QPoint(300, 300)})
            m_fixture.click(v);
        m_fixture.press(QPoint(300, 200), Qt::RightButton);
        m_view->setDrawMode(ToolNone);
        auto *circle = static_cast<MyGraphicRoundItem *>(itemTables()[currentPhotoPath()].value("Ro1").get());
        auto *polygon = static_cast<MyGraphicPolygonItem *>(itemTables()[currentPhotoPath()].value("Poly1").get());
        QVERIFY(circle && polygon);
        QCOMPARE(circle->radius(), 239.0);
        for (MyGraphicItem *item : {static_cast<MyGraphicItem *>(circle), static_cast<MyGraphicItem *>(polygon)}) {
            scene()->clearSelection();
            item->setSelected(true);
            for (const QPointF &by : {QPointF(30, 20), QPointF(-60, -45), QPointF(5000, 0)})
                item->setPos(item->pos() + by);
        }
        const QRectF disk(circle->mapToScene(circle->centre()) - QPointF(circle->radius(), circle->radius()),
                          QSizeF(2 * circle->radius(), 2 * circle->radius()));
        QVERIFY2(scene()->imageRect().contains(disk), qPrintable(QString("%1 %2").arg(disk.top()).arg(disk.bottom())));
        for (const QPointF &v : polygon->vertices())
            QVERIFY(scene()->imageRect().contains(polygon->mapToScene(v)));
    }

    void releasePastTheBorderEndsTheDrag()
    {
        m_view->setDrawMode(ToolPoint);
        click(QPoint(105, 55));
        m_view->setDrawMode(ToolNone);
        point("P1")->setSelected(true);
        m_fixture.press(QPoint(105, 55));
        m_fixture.dragTo(QPoint(200, 100));
        QCOMPARE(scene()->mouseGrabberItem(), point("P1"));
        sceneEvent(scene(), QEvent::GraphicsSceneMouseRelease, QPointF(-40, 100), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(scene()->mouseGrabberItem(), nullptr);
        // So a later drag elsewhere moves nothing that is not under it.
        const QPointF at = point("P1")->pos();
        scene()->clearSelection();
        m_fixture.dragTo(QPoint(400, 300));
        QCOMPARE(point("P1")->pos(), at);
    }

    void releasePastTheBorderFinishesTheShape()
    {
        m_view->setDrawMode(ToolRect);
        m_fixture.press(QPoint(100, 100));
        m_fixture.dragTo(QPoint(300, 200));
        sceneEvent(scene(), QEvent::GraphicsSceneMouseRelease, QPointF(900, 250), Qt::LeftButton, Qt::NoButton);
        const ItemPtr rect = itemTables()[currentPhotoPath()].value("Re1");
        QVERIFY(rect);
        QVERIFY(!rect->isCreating());
        // Pixels (10, 10) to (30, 20) of the 64 x 48 photograph: t = x / 10 + 10 y.
        QCOMPARE(rect->stats().min, matrixAt(m_photos[0], 10, 10));
        QCOMPARE(rect->stats().max, matrixAt(m_photos[0], 30, 20));
    }

    void pasteOntoPhotographsOfOtherSizes()
    {
        // A rectangle over the left half of a 64 x 48 photograph and a circle touching its
        // top, pasted onto a 160 x 120 photograph that is never shown.
        loadedPhotoPaths() = m_photos;
        m_view->setDrawMode(ToolRect);
        m_fixture.drag(QPoint(1, 1), QPoint(319, 479)); // (0, 0) would be taken for the centre
        m_view->setDrawMode(ToolRound);
        m_fixture.drag(QPoint(500, 100), QPoint(500, 5));
        m_view->slot_copyItem();
        m_view->slot_pasteToAll();
        const QString big = m_photos[3];
        const ItemPtr rect = itemTables()[big].value("Re1");
        QVERIFY(rect);
        // The left half of the big photograph: columns 0 to 79, every row; t = x / 10 + 10 y.
        QCOMPARE(rect->stats().min, matrixAt(big, 0, 0));
        QCOMPARE(rect->stats().max, matrixAt(big, 79, 119));
        const ItemPtr round = itemTables()[big].value("Ro1");
        QVERIFY(round->stats().max != NA_TEMPERATURE);
        QVERIFY(round->stats().min >= matrixAt(big, 0, 0) && round->stats().max <= matrixAt(big, 159, 119));

        // And back: the big photograph's layout on the small one reads the small one's pixels.
        show(big);
        m_view->slot_copyItem();
        show(m_photos[1]);
        m_view->slot_pasteToCurr();
        QCOMPARE(itemTables()[m_photos[1]].value("Re1")->stats().max, matrixAt(m_photos[1], 31, 47));
        QVERIFY(itemTables()[m_photos[1]].value("Ro1")->stats().avg != NA_TEMPERATURE);
        loadedPhotoPaths() = m_photos.mid(0, 3);
    }

    void overlayFollowsThePhotographOnShow()
    {
        loadedPhotoPaths() = m_photos;
        m_view->setWholeFrame(true);
        for (const QString &photo : {m_photos[0], m_photos[3], m_photos[1]}) {
            show(photo);
            const PhotoRecord record = PhotoStore::program().snapshot(photo);
            // The hottest pixel is the bottom-right one; its mark is drawn at that pixel.
            QCOMPARE(record.stats.maxPos, QPointF(record.width - 1, record.height - 1));
            QCOMPARE(scene()->wholeFrameOverlay()->maximumMarker(),
                     pixelToScene(QPoint(record.width - 1, record.height - 1), scene()->imageRect(), record.width,
                                  record.height));
            QCOMPARE(scene()->wholeFrameOverlay()->texts().first(),
                     "MAX:" + QString::number(record.stats.max, 'f', 1) + QString::fromUtf8("℃"));
        }
        m_view->setWholeFrame(false);
        loadedPhotoPaths() = m_photos.mid(0, 3);
    }

    void reloadAfterATurnKeepsTheReadings()
    {
        m_view->setDrawMode(ToolPoint);
        click(QPoint(105, 55));
        m_view->rotateQuarterTurn();
        const float before = point("P1")->temperature();
        const TemperatureGrid held = TemperatureGrid::of(currentPhotoPath());
        const float heldValue = held.at(QPoint(3, 5));
        // The list is opened again: the record loads anew while the photograph stays turned.
        QCOMPARE(PhotoStore::program().load(currentPhotoPath()), 0);
        QCOMPARE(PhotoStore::program().rotationState(currentPhotoPath()), 1);
        show(currentPhotoPath());
        QCOMPARE(point("P1")->temperature(), before);
        // A grid taken before the reload still reads its own values.
        QCOMPARE(held.at(QPoint(3, 5)), heldValue);
        m_view->rotateQuarterTurn();
        m_view->rotateQuarterTurn();
        m_view->rotateQuarterTurn();
        QCOMPARE(point("P1")->temperature(), matrixAt(m_photos[0], 10, 5));
    }

    void aPictureDeclaringAHugeSizeIsNeverDecoded()
    {
        const QString huge = declaringSize(m_photos[0], m_dir.filePath("huge.jpg"), 20000, 20000);
        QVERIFY(!huge.isEmpty());
        QVERIFY(PhotoStore::program().load(huge) != 0);
        QCOMPARE(PhotoStore::program().snapshot(huge).width, 0);
        QElapsedTimer timer;
        timer.start();
        show(huge);
        QVERIFY(scene()->displayedImage().isNull());
        QVERIFY(timer.elapsed() < 2000); // a 20000 x 20000 decode takes seconds and 1.6 GB
        m_view->setDrawMode(ToolRect);
        m_fixture.drag(QPoint(100, 100), QPoint(300, 200));
        QCOMPARE(itemTables()[huge].value("Re1")->stats().max, NA_TEMPERATURE);
    }

    void zoomedMeasurementsReadTheSamePixels()
    {
        // 64 x 48 in 640 x 480: ten scene units a pixel; the corners below are pixel centres.
        m_view->zoomAbout(3.0, QPointF(120, 90));
        QCOMPARE(m_view->zoom(), 3.0);
        // The scene point under the anchor stays there.
        QVERIFY((QLineF(m_view->mapToScene(QPoint(120, 90)), QPointF(120, 90)).length() < 1));
        QCOMPARE(scene()->imageRect(), QRectF(0, 0, 640, 480)); // the scene does not zoom

        // Drawn at 3x over the pixels (10, 8) to (20, 14).
        const QPointF a(105, 85), b(205, 145);
        m_view->setDrawMode(ToolRect);
        m_fixture.drag(over(a), over(b));
        m_view->setDrawMode(ToolNone);
        QVERIFY(rect("Re1"));
        compareWithUnzoomedTwin("Re1", a, b);

        // Moved at 3x by 60 x 30 view pixels: 20 x 10 scene units, two pixels and one.
        scene()->clearSelection();
        const QPoint grip = over(QPointF(150, 110));
        hover(grip);
        m_fixture.drag(grip, grip + QPoint(60, 30));
        QVERIFY(rect("Re1")->isSelected());
        compareWithUnzoomedTwin("Re1", a + QPointF(20, 10), b + QPointF(20, 10));

        // Resized at 3x through the lower right handle (as large on screen as unzoomed) to the
        // centre of pixel (25, 17).
        rect("Re1")->setSelected(true);
        const QRectF moved = rect("Re1")->rect().translated(rect("Re1")->pos());
        const QPoint handle = over(moved.bottomRight()) + QPoint(3, 3);
        hover(handle);
        m_fixture.drag(handle, over(QPointF(255, 175)));
        compareWithUnzoomedTwin("Re1", a + QPointF(20, 10), QPointF(255, 175));

        // Zoom never goes below the whole picture; fit gives the unzoomed view back.
        m_view->zoomAbout(0.01, QPointF(0, 0));
        QCOMPARE(m_view->zoom(), 1.0);
        QVERIFY(m_view->transform().isIdentity());
        m_view->zoomAbout(100, QPointF(0, 0));
        QCOMPARE(m_view->zoom(), QGraphicsPaint::kMaxZoom);
        m_view->fitToView();
        QVERIFY(m_view->transform().isIdentity());
        QCOMPARE(m_view->mapToScene(QPoint(0, 0)), QPointF(0, 0));
        QCOMPARE(m_view->mapToScene(QPoint(639, 479)), QPointF(639, 479));
    }

    // Zoomed in, a shape's outline stays as wide on screen as unzoomed and its handles as
    // small: a grip well inside a corner moves the shape instead of resizing it.
    void zoomKeepsPensAndHandlesTheirScreenSize()
    {
        m_view->setDrawMode(ToolRect);
        m_fixture.drag(QPoint(200, 150), QPoint(400, 300));
        m_view->setDrawMode(ToolNone);
        MyGraphicRectItem *shape = rect("Re1");
        QVERIFY(shape);
        const QColor pen = shape->pen().color();
        const auto outlineWidth = [&](int row) {
            const QImage shown = m_view->grab().toImage();
            int widest = 0, run = 0;
            for (int x = 0; x < shown.width(); ++x) {
                run = QColor(shown.pixel(x, row)) == pen ? run + 1 : 0;
                widest = std::max(widest, run);
            }
            return widest;
        };
        scene()->clearSelection();
        const int unzoomed = outlineWidth(over(QPointF(200, 170)).y()); // above the label
        QCOMPARE(unzoomed, shape->pen().width());
        const QRectF corner = shape->rect().translated(shape->pos());
        m_view->zoomAbout(4.0, over(corner.bottomRight()));
        QCOMPARE(outlineWidth(over(corner.bottomRight() - QPointF(0, 5)).y()), unzoomed);

        shape->setSelected(true);
        hover(over(corner.bottomRight()) + QPoint(3, 3));
        QVERIFY(shape->cursor().shape() != Qt::SizeAllCursor); // on the handle
        // Five scene units out, in the margin: the handle's place unzoomed, a move now.
        hover(over(corner.bottomRight()) + QPoint(20, 20));
        QCOMPARE(shape->cursor().shape(), Qt::SizeAllCursor);
        m_view->fitToView();
        hover(over(corner.bottomRight()) + QPoint(5, 5));
        QVERIFY(shape->cursor().shape() != Qt::SizeAllCursor);
    }

    void cancelledShapesLeaveNothing()
    {
        // A rectangle in the middle of its drag, then a polygon of two corners.
        m_view->setDrawMode(ToolRect);
        const int onShow = scene()->items().size();
        m_fixture.press(QPoint(100, 100));
        m_fixture.dragTo(QPoint(200, 150));
        QCOMPARE(scene()->items().size(), onShow + 1);
        QVERIFY(scene()->cancelDrawing());
        QCOMPARE(scene()->items().size(), onShow);
        m_fixture.dragTo(QPoint(250, 180));
        m_fixture.release(QPoint(250, 180));
        m_view->setDrawMode(ToolPolygon);
        click(QPoint(60, 60));
        click(QPoint(160, 60));
        QVERIFY(scene()->polygonInProgress());
        QVERIFY(scene()->cancelDrawing());
        QVERIFY(!scene()->polygonInProgress());
        QVERIFY(!scene()->cancelDrawing()); // nothing left to cancel
        QCOMPARE(scene()->items().size(), onShow);
        QVERIFY(itemTables()[currentPhotoPath()].isEmpty());
        // The next shapes take the numbers the cancelled ones had.
        m_view->setDrawMode(ToolRect);
        m_fixture.drag(QPoint(100, 100), QPoint(200, 200));
        m_view->setDrawMode(ToolPolygon);
        click(QPoint(60, 60));
        click(QPoint(160, 60));
        click(QPoint(160, 160));
        m_fixture.press(QPoint(160, 160), Qt::RightButton);
        QCOMPARE(itemTables()[currentPhotoPath()].keys(), (QStringList{"Poly1", "Re1"}));
        QCOMPARE(scene()->items().size(), onShow + 2);
        m_view->setDrawMode(ToolNone);
    }

    // A double click on the last corner closes a polygon as a right click does, the corner
    // placed once; elsewhere a double click draws nothing of its own.
    void doubleClickFinishesAPolygon()
    {
        m_view->setDrawMode(ToolPolygon);
        click(QPoint(60, 60));
        click(QPoint(260, 60));
        // As the window system sends one: a click, then the second press as a double click.
        click(QPoint(260, 260));
        QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(260, 260), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_view->viewport(), &twice);
        m_fixture.release(QPoint(260, 260));
        QVERIFY(!scene()->polygonInProgress());
        const auto *polygon = static_cast<MyGraphicPolygonItem *>(itemTables()[currentPhotoPath()].value("Poly1").get());
        QVERIFY(polygon);
        QCOMPARE(polygon->vertices().size(), 3);
        QVERIFY(polygon->stats().max != NA_TEMPERATURE);
        QVERIFY(!scene()->finishPolygon()); // none left to finish
        m_view->setDrawMode(ToolNone);
    }

    void wheelZoomsAboutThePointerAndPanningMovesThePicture()
    {
        show(m_photos[3]);
        m_view->setDrawMode(ToolRect);
        const QPoint at(400, 300);
        QWheelEvent wheel(QPointF(at), m_view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_view->viewport(), &wheel);
        QCOMPARE(m_view->zoom(), 1.25 * 1.25);
        QVERIFY((QLineF(m_view->mapToScene(at), QPointF(at)).length() < 1));

        // A middle drag moves the picture and draws nothing.
        const QPointF under = m_view->mapToScene(QPoint(300, 200));
        QTest::mousePress(m_view->viewport(), Qt::MiddleButton, Qt::NoModifier, QPoint(300, 200));
        QMouseEvent move(QEvent::MouseMove, QPointF(250, 170), Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(m_view->viewport(), &move);
        QTest::mouseRelease(m_view->viewport(), Qt::MiddleButton, Qt::NoModifier, QPoint(250, 170));
        QVERIFY((QLineF(m_view->mapToScene(QPoint(250, 170)), under).length() < 1));

        // So does a left drag with space held; without it the left button draws again.
        QTest::keyPress(m_view, Qt::Key_Space);
        m_fixture.drag(QPoint(250, 170), QPoint(350, 250));
        QTest::keyRelease(m_view, Qt::Key_Space);
        QVERIFY((QLineF(m_view->mapToScene(QPoint(350, 250)), under).length() < 1));
        QVERIFY(itemTables()[currentPhotoPath()].isEmpty());
        QVERIFY(scene()->items().size() == 2); // the overlay and the readout only
        m_fixture.drag(QPoint(250, 170), QPoint(350, 250));
        QCOMPARE(itemTables()[currentPhotoPath()].keys(), QStringList{"Re1"});

        // A snapshot shows the whole picture, and the view stays zoomed where it was.
        const QTransform zoomed = m_view->transform();
        const QPointF corner = m_view->mapToScene(QPoint(0, 0));
        QDir().mkpath(m_dir.filePath("zoomed"));
        const QImage snapshot(saveSnapshot(m_view, m_photos[3], m_dir.filePath("zoomed")));
        QCOMPARE(m_view->transform(), zoomed);
        QCOMPARE(m_view->mapToScene(QPoint(0, 0)), corner);
        m_view->fitToView();
        scene()->clearSelection();
        QCOMPARE(snapshot.copy(0, 0, 160, 120).convertToFormat(QImage::Format_RGB32),
                 m_view->grab().scaled(160, 120, Qt::IgnoreAspectRatio).toImage().convertToFormat(QImage::Format_RGB32));
        m_view->setDrawMode(ToolNone);
    }

    void snapshotOfAPhotographNotOnShow()
    {
        // Photograph 1 gets a rectangle, a palette and a turn; then another is shown.
        show(m_photos[1]);
        m_view->setDrawMode(ToolRect);
        m_fixture.drag(QPoint(100, 100), QPoint(300, 200));
        QVERIFY(scene()->setPalette(3));
        m_view->rotateQuarterTurn();
        const QString shownSnapshot = saveSnapshot(m_view, m_photos[1], m_dir.filePath("onShow"));
        QVERIFY(shownSnapshot.isEmpty()); // no such folder: nothing written, nothing recorded
        QDir().mkpath(m_dir.filePath("onShow"));
        QDir().mkpath(m_dir.filePath("offscreen"));
        const QImage onShow(saveSnapshot(m_view, m_photos[1], m_dir.filePath("onShow")));
        // As high as the photograph is wide, its colour scale beside the picture.
        QCOMPARE(onShow.size(), withColourScale(QImage(48, 64, QImage::Format_RGB32), PhotoRecord(), Palette()).size());
        show(m_photos[0]);

        // Drawn off screen at the page's view size, it is the snapshot the page made.
        ScreenLayout &layout = shellValues().layout;
        const ScreenLayout saved = layout;
        layout.viewWidth = 640;
        layout.viewHeight = 480;
        const QString path = renderSnapshot(m_photos[1], m_dir.filePath("offscreen"), false);
        layout = saved;
        QCOMPARE(snapshotSources().value(path), m_photos[1]);
        const QImage offscreen(path);
        QCOMPARE(offscreen.size(), onShow.size());
        QCOMPARE(offscreen.convertToFormat(QImage::Format_RGB32), onShow.convertToFormat(QImage::Format_RGB32));
        // The photograph on show keeps its items; photograph 1 keeps its own.
        QCOMPARE(itemTables()[m_photos[1]].keys(), QStringList{"Re1"});
        show(m_photos[1]);
        QCOMPARE(itemTables()[m_photos[1]].value("Re1")->scene(), scene());
    }

    void snapshotsShowNoSelectionHandles()
    {
        show(m_photos[3]);
        m_view->setDrawMode(ToolRect);
        m_fixture.drag(QPoint(100, 100), QPoint(300, 200));
        m_view->setDrawMode(ToolNone);
        MyGraphicItem *rect = itemTables()[m_photos[3]].value("Re1").get();
        QDir().mkpath(m_dir.filePath("handles"));
        rect->setSelected(false);
        const QImage plain = QImage(saveSnapshot(m_view, m_photos[3], m_dir.filePath("handles")));
        rect->setSelected(true);
        QVERIFY(m_view->grab().toImage() != [&] {
            rect->setSelected(false);
            const QImage unselected = m_view->grab().toImage();
            rect->setSelected(true);
            return unselected;
        }()); // the handles are there on the page
        const QImage selected = QImage(saveSnapshot(m_view, m_photos[3], m_dir.filePath("handles")));
        QCOMPARE(selected.convertToFormat(QImage::Format_RGB32), plain.convertToFormat(QImage::Format_RGB32));
        QVERIFY(rect->isSelected());
        m_view->deleteSelected();
    }

    void snapshotShowsTheColourScale()
    {
        // Photograph 3 (160 x 120) in palette 5, drawn from its temperatures over 100 to 200.
        show(m_photos[3]);
        QVERIFY(scene()->setPalette(5));
        QVERIFY(scene()->setRendering(Rendering::Temperatures));
        scene()->setSpan({false, 100.0f, 200.0f});
        QDir().mkpath(m_dir.filePath("scale"));
        const QImage snapshot = QImage(saveSnapshot(m_view, m_photos[3], m_dir.filePath("scale")))
                                    .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(snapshot.height(), 120);
        QVERIFY(snapshot.width() > 200);
        // The picture on the left, as the view shows it.
        QCOMPARE(snapshot.copy(0, 0, 160, 120),
                 m_view->grab().scaled(160, 120, Qt::IgnoreAspectRatio).toImage().convertToFormat(QImage::Format_RGB32));
        scene()->setSpan(TemperatureSpan());
        QVERIFY(scene()->setRendering(Rendering::Embedded));
        // To its right the palette: its last entry at the top, its first at the bottom.
        const Palette &palette = scene()->palettes()[5];
        int top = -1, bottom = -1;
        for (int y = 0; y < snapshot.height(); ++y) {
            for (int x = 160; x < snapshot.width(); ++x) {
                if (snapshot.pixel(x, y) == palette[255] && top < 0)
                    top = y;
                if (snapshot.pixel(x, y) == palette[0])
                    bottom = y;
            }
        }
        QVERIFY(top >= 0);
        QVERIFY(bottom > top + 60);
    }

    void turningAPhotographThatDidNotLoad()
    {
        // A picture without temperatures, and a file that is not there at all.
        const QString plain = m_dir.filePath("plain.jpg"), missing = m_dir.filePath("missing.jpg");
        QImage picture(80, 60, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        QVERIFY(picture.save(plain));
        for (const QString &broken : {plain, missing}) {
            QVERIFY(PhotoStore::program().load(broken) != 0);
            show(broken);
            m_view->setDrawMode(ToolPoint);
            click(QPoint(105, 55));
            m_view->setDrawMode(ToolRound);
            m_fixture.drag(QPoint(300, 200), QPoint(300, 260));
            for (int turn = 0; turn < 4; ++turn) {
                m_view->rotateQuarterTurn();
                for (const ItemPtr &item : itemTables()[broken]) {
                    const QRectF box = item->mapRectToScene(item->boundingRect());
                    QVERIFY2(std::isfinite(box.left()) && std::isfinite(box.top()) && std::isfinite(box.width()),
                             qPrintable(item->name()));
                    QVERIFY(scene()->imageRect().adjusted(-10, -10, 10, 10).contains(box));
                    QCOMPARE(item->stats().avg, NA_TEMPERATURE);
                }
            }
            // Four turns bring the point back onto the pixel it was placed on.
            const QPointF back = point("P1")->mapToScene(point("P1")->point());
            QCOMPARE(sceneToPixel(back, scene()->imageRect(), 80, 60), QPoint(13, 6));
        }
    }

    void paletteAndAlarm()
    {
        QVERIFY(scene()->paletteCount() == 10);
        QVERIFY(scene()->setAlarm(1, 30.0f));
        QCOMPARE(currentPhotoRecord().alarmMode, 1);
        QVERIFY(scene()->setPalette(2));
        QCOMPARE(currentPhotoRecord().alarmMode, -1);
        QCOMPARE(PhotoStore::program().snapshot(currentPhotoPath()).paletteIndex, 2);
        QVERIFY(!scene()->setPalette(10));
        QCOMPARE(currentPhotoRecord().paletteIndex, 2);

        // High alarm at 30.0: exactly the pixels above it turn red; (0, 3) holds 30.0 itself.
        QVERIFY(scene()->setAlarm(1, 30.0f));
        QCOMPARE(PhotoStore::program().snapshot(currentPhotoPath()).paletteIndex, -1);
        m_view->viewport()->repaint();
        const QImage file(currentPhotoPath());
        const QImage shown = scene()->displayedImage();
        QCOMPARE(shown.size(), QSize(64, 48));
        QCOMPARE(matrixAt(currentPhotoPath(), 0, 3), 30.0f);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                const bool hot = matrixAt(currentPhotoPath(), x, y) > 30.0f;
                if (hot ? shown.pixel(x, y) != 0xFFFF0000u : shown.pixel(x, y) != file.pixel(x, y))
                    QFAIL(qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
            }
        }
        // A repaint that changes nothing shows the same picture without colouring it again.
        m_view->viewport()->repaint();
        QCOMPARE(scene()->displayedImage().cacheKey(), shown.cacheKey());
        // Low alarm at 30.0: exactly the pixels below it turn blue, 30.0 itself keeps its colour.
        QVERIFY(scene()->setAlarm(0, 30.0f));
        m_view->viewport()->repaint();
        const QImage low = scene()->displayedImage();
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                const bool cold = matrixAt(currentPhotoPath(), x, y) < 30.0f;
                if (cold ? low.pixel(x, y) != 0xFF0000FFu : low.pixel(x, y) != file.pixel(x, y))
                    QFAIL(qPrintable(QString("low alarm pixel %1,%2").arg(x).arg(y)));
            }
        }
        QCOMPARE(low.pixel(0, 3), file.pixel(0, 3));
        scene()->setAlarm(-1, 0.0f);
        QCOMPARE(scene()->displayedImage(), file.convertToFormat(scene()->displayedImage().format()));

        // A colour change while no loaded photograph is on show leaves the tables alone.
        const QString onShow = currentPhotoPath();
        currentPhotoPath() = QStringLiteral("/nowhere/never-loaded.jpg");
        QVERIFY(scene()->setPalette(1));
        QVERIFY(scene()->setAlarm(1, 20.0f));
        QVERIFY(!PhotoStore::program().contains(currentPhotoPath()));
        currentPhotoPath() = onShow;
        scene()->setAlarm(-1, 0.0f);
    }

    void temperatureRendering()
    {
        // Photograph 0 reads x / 10 + 10 y: 0.0 at the top left, 476.3 at the bottom right.
        const QString photo = m_photos[0];
        const QVector<Palette> &palettes = scene()->palettes();
        auto shown = [this] {
            m_view->viewport()->repaint();
            return scene()->displayedImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage embedded = shown();
        QVERIFY(scene()->setRendering(Rendering::Temperatures));
        QCOMPARE(PhotoStore::program().snapshot(photo).rendering, Rendering::Temperatures);
        QCOMPARE(currentPhotoRecord().rendering, Rendering::Temperatures);
        // No palette chosen: Iron Red, over the photograph's minimum to maximum.
        QImage image = shown();
        QCOMPARE(image.size(), QSize(64, 48));
        QCOMPARE(image.pixel(0, 0), palettes[2][0]);
        QCOMPARE(image.pixel(63, 47), palettes[2][255]);
        QCOMPARE(image, renderTemperatures(*PhotoStore::program().snapshot(photo).matrix, palettes[2], 0.0f, matrixAt(photo, 63, 47)));

        // A palette and a manual span: 100 to 200 degrees, rows 10 to 20.
        QVERIFY(scene()->setPalette(5));
        scene()->setSpan({false, 100.0f, 200.0f});
        QCOMPARE(PhotoStore::program().snapshot(photo).span, (TemperatureSpan{false, 100.0f, 200.0f}));
        image = shown();
        QCOMPARE(image.pixel(10, 5), palettes[5][0]);    // 51.0: below the span
        QCOMPARE(image.pixel(10, 25), palettes[5][255]); // 251.0: above
        QCOMPARE(image.pixel(0, 15), palettes[5][128]);  // 150.0: the middle

        // Alarm colours paint over the temperatures (the alarm switches the palette off).
        QVERIFY(scene()->setAlarm(1, 300.0f));
        image = shown();
        QCOMPARE(image.pixel(0, 31), 0xFFFF0000u); // 310.0
        QCOMPARE(image.pixel(0, 30), palettes[2][255]); // 300.0 itself is no alarm
        QCOMPARE(image.pixel(10, 5), palettes[2][0]);

        // Turned with the photograph.
        m_view->rotateQuarterTurn();
        QCOMPARE(shown(), image.transformed(QTransform().rotate(-90), Qt::FastTransformation));

        // Back to the embedded picture, in its own colours without alarm.
        QVERIFY(scene()->setRendering(Rendering::Embedded));
        QVERIFY(scene()->setAlarm(-1, 0.0f));
        QCOMPARE(shown(), embedded.transformed(QTransform().rotate(-90), Qt::FastTransformation));
        scene()->setSpan(TemperatureSpan());

        // A photograph without temperatures keeps its embedded picture.
        const QString plain = m_dir.filePath("plainpicture.jpg");
        QImage picture(80, 60, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        QVERIFY(picture.save(plain));
        QVERIFY(PhotoStore::program().load(plain) != 0);
        show(plain);
        QVERIFY(!scene()->setRendering(Rendering::Temperatures));
        QCOMPARE(PhotoStore::program().snapshot(plain).rendering, Rendering::Embedded);
    }

    void newTemperaturesAreDrawnAnew()
    {
        // A reload that changes the temperatures (a corrected camera, a rewritten file) is
        // coloured again, though picture, palette, alarm and span stayed the same.
        const QString path = m_dir.filePath("reloaded.jpg");
        writePhoto(path, placeSpec(64, 48));
        QCOMPARE(PhotoStore::program().load(path), 0);
        show(path);
        QVERIFY(scene()->setAlarm(1, 300.0f));
        m_view->viewport()->repaint();
        QVERIFY(scene()->displayedImage().pixel(0, 0) != 0xFFFF0000u); // 0.0
        writePhoto(path, placeSpec(64, 48, 1000.0f));
        QCOMPARE(PhotoStore::program().load(path), 0);
        m_view->viewport()->repaint();
        QCOMPARE(scene()->displayedImage().pixel(0, 0), 0xFFFF0000u); // 1000.0

        QVERIFY(scene()->setRendering(Rendering::Temperatures));
        scene()->setSpan({false, 1000.0f, 1100.0f});
        QVERIFY(scene()->setAlarm(-1, 0.0f));
        m_view->viewport()->repaint();
        const Palette &iron = scene()->palettes()[2];
        QCOMPARE(scene()->displayedImage().pixel(0, 0), iron[0]);
        writePhoto(path, placeSpec(64, 48, 1050.0f));
        QCOMPARE(PhotoStore::program().load(path), 0);
        m_view->viewport()->repaint();
        QCOMPARE(scene()->displayedImage().pixel(0, 0), iron[128]);
    }

    void spotReadout()
    {
        m_view->setDrawMode(ToolSpot);
        QMouseEvent move(QEvent::MouseMove, QPointF(305, 255), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_view->viewport(), &move);
        QCOMPARE(scene()->spotReadout()->toPlainText(), QString::number(matrixAt(m_photos[0], 30, 25), 'f', 1) + QString::fromUtf8("℃"));
        QVERIFY(scene()->spotReadout()->isVisible());
        loadedPhotoPaths().clear(); // no temperatures for this photograph
        QApplication::sendEvent(m_view->viewport(), &move);
        QCOMPARE(scene()->spotReadout()->toPlainText(), QString("NA"));
        loadedPhotoPaths() = m_photos.mid(0, 3);
        // Another photograph on show: the reading of the one before is not left on it.
        QApplication::sendEvent(m_view->viewport(), &move);
        QVERIFY(scene()->spotReadout()->isVisible());
        show(m_photos[1]);
        QVERIFY(!scene()->spotReadout()->isVisible());
        show(m_photos[0]);
    }

    void rotationKeepsEveryReading()
    {
        for (const QString &photo : {m_photos[0], m_photos[3]}) {
            loadedPhotoPaths() = m_photos;
            show(photo);
            m_view->setDrawMode(ToolPoint);
            const QList<QPoint> clicks = {QPoint(5, 5), QPoint(634, 3), QPoint(320, 240), QPoint(13, 476), QPoint(639, 479)};
            for (const QPoint &at : clicks)
                click(at);
            QMap<QString, float> readings;
            for (const ItemPtr &item : itemTables()[photo])
                readings[item->name()] = item->stats().avg;
            QCOMPARE(readings.size(), clicks.size());
            const QRect home = m_view->geometry();
            for (int turn = 1; turn <= 4; ++turn) {
                m_view->rotateQuarterTurn();
                QCOMPARE(PhotoStore::program().rotationState(photo), turn % 4);
                QCOMPARE(scene()->rotationAngle(), turn % 4 == 0 ? 0.0 : -90.0 * turn);
                for (const ItemPtr &item : itemTables()[photo])
                    QCOMPARE(item->stats().avg, readings[item->name()]);
            }
            QCOMPARE(m_view->geometry(), home);
            QCOMPARE(itemCounters()[photo][KindPoint], clicks.size());
        }
        loadedPhotoPaths() = m_photos.mid(0, 3);
    }

    void quarterTurnGeometry()
    {
        const QRect home = m_view->geometry();
        m_view->rotateQuarterTurn();
        // 640 x 480: a 384 x 480 view, centred.
        QCOMPARE(m_view->geometry(), QRect(home.x() + 128, home.y(), 384, 480));
        QCOMPARE(scene()->displayedImage().size(), QSize(48, 64));
        // Another photograph keeps its own rotation.
        show(m_photos[1]);
        QCOMPARE(m_view->geometry(), home);
        show(m_photos[0]);
        QCOMPARE(m_view->geometry().width(), 384);
        QCOMPARE(scene()->rotationAngle(), -90.0);
    }

    void copyAndPaste()
    {
        QMenu *menu = m_view->contextMenu();
        QCOMPARE(menu->actions().size(), 3);
        // Nothing copied yet: pasting is not offered and does nothing.
        QVERIFY(!menu->actions()[1]->isEnabled());
        QVERIFY(!menu->actions()[2]->isEnabled());
        m_view->setDrawMode(ToolPoint);
        click(QPoint(105, 55));
        show(m_photos[1]);
        click(QPoint(305, 155));
        m_view->slot_pasteToCurr();
        QCOMPARE(itemTables()[m_photos[1]].keys(), QStringList{"P1"});

        show(m_photos[0]);
        click(QPoint(205, 255));
        m_view->slot_copyItem();
        QVERIFY(menu->actions()[1]->isEnabled());
        m_view->slot_pasteToAll();
        QTRY_COMPARE(itemTables()[m_photos[2]].keys(), (QStringList{"P1", "P2"}));
        for (const QString &photo : m_photos.mid(0, 3)) {
            show(photo);
            QCOMPARE(itemTables()[photo].keys(), (QStringList{"P1", "P2"}));
            QCOMPARE(point("P1")->temperature(), matrixAt(photo, 10, 5));
            QCOMPARE(point("P2")->temperature(), matrixAt(photo, 20, 25));
        }
        // Each photograph edits its own copies.
        point("P1")->setSelected(true);
        m_view->deleteSelected();
        show(m_photos[0]);
        QCOMPARE(itemTables()[m_photos[0]].keys(), (QStringList{"P1", "P2"}));
    }
};

QTEST_MAIN(TestImageView)
#include "tst_imageview.moc"
