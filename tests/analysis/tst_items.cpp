#include "mygraphiclineitem.h"
#include "mygraphicpolygonitem.h"
#include "mygraphicpointitem.h"
#include "mygraphicrectitem.h"
#include "mygraphicrounditem.h"
#include "mygraphictextitem.h"
#include "viewfixture.h"

#include <QPolygonF>
#include <QTemporaryDir>

#include <cmath>

namespace {

struct Expected
{
    float max, min, avg;
    QPoint maxPixel, minPixel;
    int count;
};

// The statistics of a pixel list as defined: maximum and minimum start at the first value.
Expected over(const QString &path, const QVector<QPoint> &pixels, float t0, QPoint t0Pixel)
{
    Expected e{t0, t0, 0, t0Pixel, t0Pixel, 0};
    long double sum = 0;
    for (const QPoint &p : pixels) {
        const float t = matrixAt(path, p.x(), p.y());
        if (t > e.max) {
            e.max = t;
            e.maxPixel = p;
        }
        if (t < e.min) {
            e.min = t;
            e.minPixel = p;
        }
        sum += t;
        ++e.count;
    }
    e.avg = e.count ? float(sum / e.count) : t0;
    return e;
}

QPoint pixelOf(const QPointF &scene)
{
    return QPoint(std::clamp(int(scene.x() / 10), 0, 63), std::clamp(int(scene.y() / 10), 0, 47));
}

// The sample points of a segment in bisection order, built from their fractions.
QVector<QPointF> bisection(const QPointF &a, const QPointF &b, int n)
{
    QVector<QPointF> points;
    for (int level = 1; points.size() < n; ++level) {
        const int parts = 1 << level;
        for (int j = 1; j < parts && points.size() < n; j += 2)
            points.append(a + (b - a) * (double(j) / parts));
    }
    return points;
}

} // namespace

class TestItems : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_photo;
    ViewFixture m_fixture;

    template<typename Item>
    Item *item(const QString &name) const
    {
        return static_cast<Item *>(itemTables()[m_photo].value(name).get());
    }

    void checkLine(const QString &name, const QPointF &start, const QPointF &end)
    {
        auto *line = item<MyGraphicLineItem>(name);
        QVERIFY2(line, qPrintable(name));
        QCOMPARE(line->start() + line->pos(), start);
        QCOMPARE(line->end() + line->pos(), end);
        const int n = int(48 * std::hypot(end.x() - start.x(), end.y() - start.y()) / 480);
        const QPoint first = pixelOf(start);
        const float t0 = matrixAt(m_photo, first.x(), first.y());
        float max = t0, min = t0;
        long double sum = 0;
        QPointF maxAt = start, minAt = start;
        for (const QPointF &s : bisection(start, end, n)) {
            const QPoint p = pixelOf(s);
            const float t = matrixAt(m_photo, p.x(), p.y());
            if (t > max) { max = t; maxAt = s; }
            if (t < min) { min = t; minAt = s; }
            sum += t;
        }
        QCOMPARE(line->stats().max, max);
        QCOMPARE(line->stats().min, min);
        QCOMPARE(line->stats().avg, n ? float(sum / n) : t0);
        QCOMPARE(line->stats().maxPos + line->pos(), maxAt);
        QCOMPARE(line->stats().minPos + line->pos(), minAt);
        QCOMPARE(line->sampleList(m_photo).size(), n + 1);
        QCOMPARE(line->sampleList(m_photo).first(), t0);
    }

    // A line, a rectangle, a circle and a triangle, every defining point on a pixel centre.
    void drawOneOfEach()
    {
        m_fixture.view->setDrawMode(ToolLine);
        m_fixture.drag(QPoint(55, 105), QPoint(255, 305));
        m_fixture.view->setDrawMode(ToolRect);
        m_fixture.drag(QPoint(305, 205), QPoint(425, 325));
        m_fixture.view->setDrawMode(ToolRound);
        m_fixture.drag(QPoint(505, 305), QPoint(525, 305));
        m_fixture.view->setDrawMode(ToolPolygon);
        for (const QPoint &c : {QPoint(105, 405), QPoint(205, 405), QPoint(155, 455)})
            m_fixture.click(c);
        m_fixture.press(QPoint(155, 455), Qt::RightButton);
    }

private slots:
    void initTestCase()
    {
        m_photo = m_dir.filePath("place.jpg");
        writePhoto(m_photo, placeSpec(64, 48));
        QCOMPARE(PhotoStore::program().load(m_photo), 0);
        loadedPhotoPaths() = QStringList{m_photo};
    }

    void init()
    {
        itemTables().remove(m_photo);
        itemCounters().remove(m_photo);
        PhotoStore::program().setRotationState(m_photo, 0);
        QVERIFY(m_fixture.create());
        m_fixture.show(m_photo);
    }

    void cleanup() { m_fixture.destroy(); }

    void lines()
    {
        m_fixture.view->setDrawMode(ToolLine);
        m_fixture.drag(QPoint(55, 105), QPoint(255, 105));
        m_fixture.drag(QPoint(305, 25), QPoint(305, 425));
        m_fixture.drag(QPoint(455, 405), QPoint(255, 205)); // drawn up and to the left
        m_fixture.click(QPoint(305, 305));                  // no drag: zero length
        QCOMPARE(itemTables()[m_photo].keys(), (QStringList{"L1", "L2", "L3", "L4"}));
        // Drawn to the right along a row: direction 1 runs from the top-right corner.
        QCOMPARE(item<MyGraphicLineItem>("L1")->direction(), 1);
        checkLine("L1", QPointF(255, 105), QPointF(55, 105));
        checkLine("L2", QPointF(305, 25), QPointF(305, 425));
        QCOMPARE(item<MyGraphicLineItem>("L3")->direction(), 2);
        checkLine("L3", QPointF(255, 205), QPointF(455, 405));
        checkLine("L4", QPointF(305, 305), QPointF(305, 305));
        QCOMPARE(item<MyGraphicLineItem>("L4")->stats().avg, matrixAt(m_photo, 30, 30));
        // Drawn up and to the right: the other diagonal.
        m_fixture.drag(QPoint(105, 405), QPoint(305, 205));
        QCOMPARE(item<MyGraphicLineItem>("L5")->direction(), 1);
        checkLine("L5", QPointF(305, 205), QPointF(105, 405));
    }

    void rectangles()
    {
        m_fixture.view->setDrawMode(ToolRect);
        m_fixture.drag(QPoint(105, 205), QPoint(226, 316));
        auto *rect = item<MyGraphicRectItem>("Re1");
        QCOMPARE(rect->rect(), QRectF(0, 0, 121, 111));
        QVector<QPoint> pixels;
        for (int y = 20; y <= 31; ++y)
            for (int x = 10; x <= 22; ++x)
                pixels.append(QPoint(x, y));
        const Expected e = over(m_photo, pixels, matrixAt(m_photo, 10, 20), QPoint(10, 20));
        QCOMPARE(rect->stats().max, e.max);
        QCOMPARE(rect->stats().min, e.min);
        QCOMPARE(rect->stats().avg, e.avg);
        QCOMPARE(rect->stats().maxPos + rect->pos(), QPointF(220, 310)); // pixel (22, 31)
        QCOMPARE(rect->stats().minPos + rect->pos(), QPointF(100, 200));
        QCOMPARE(rect->sampleList(m_photo).size(), 13 * 12);

        // Dragged exactly along a row: an empty rectangle covering its one pixel.
        m_fixture.drag(QPoint(105, 205), QPoint(226, 205));
        auto *flat = item<MyGraphicRectItem>("Re2");
        QCOMPARE(flat->rect(), QRectF(0, 0, 0, 0));
        QCOMPARE(flat->stats().avg, matrixAt(m_photo, 10, 20));
        QCOMPARE(flat->stats().max, flat->stats().min);
    }

    void labelsShowTheHottestReading()
    {
        drawOneOfEach();
        m_fixture.view->setDrawMode(ToolPoint);
        m_fixture.click(QPoint(105, 55));
        m_fixture.view->setDrawMode(ToolNone);
        // t = x / 10 + 10 y: the rectangle's hottest pixel is (42, 32), the point's own (10, 5).
        QCOMPARE(item<MyGraphicRectItem>("Re1")->labelText(), QString::fromUtf8("Re1 324.2℃"));
        QCOMPARE(item<MyGraphicPointItem>("P1")->labelText(), QString::fromUtf8("P1 51.0℃"));
        for (const QString &name : itemTables()[m_photo].keys()) {
            const MyGraphicItem *shape = itemTables()[m_photo].value(name).get();
            QCOMPARE(shape->labelText(), name + ' ' + QString::number(shape->stats().max, 'f', 1) + QString::fromUtf8("℃"));
        }
        // Moved, it reads and shows the pixels under it now: ten rows lower, 100 degrees more.
        MyGraphicItem *rect = item<MyGraphicRectItem>("Re1");
        const QImage before = m_fixture.view->grab().toImage();
        rect->setSelected(true);
        rect->setPos(rect->pos() + QPointF(0, 100));
        QCOMPARE(rect->labelText(), QString::fromUtf8("Re1 424.2℃"));
        rect->setSelected(false);
        QVERIFY(m_fixture.view->grab().toImage() != before);
    }

    void resizingThroughHandles()
    {
        m_fixture.view->setDrawMode(ToolRect);
        m_fixture.drag(QPoint(105, 205), QPoint(226, 316));
        m_fixture.view->setDrawMode(ToolNone);
        auto *rect = item<MyGraphicRectItem>("Re1");
        rect->setSelected(true);
        // Handle 4 sits in the bottom-right corner of the bounding rectangle.
        auto dragHandle = [this](const QPoint &handle, const QPoint &to) {
            QMouseEvent hover(QEvent::MouseMove, QPointF(handle), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(m_fixture.view->viewport(), &hover);
            m_fixture.press(handle);
            m_fixture.dragTo(to);
            m_fixture.release(to);
        };
        dragHandle(QPoint(229, 319), QPoint(305, 405));
        QCOMPARE(rect->rect(), QRectF(0, 0, 200, 200));
        QCOMPARE(rect->stats().max, matrixAt(m_photo, 30, 40));
        QCOMPARE(rect->pos(), QPointF(105, 205));
        // Too close to the opposite corner: refused.
        dragHandle(QPoint(309, 409), QPoint(110, 210));
        QCOMPARE(rect->rect(), QRectF(0, 0, 200, 200));
        // Handle 1, top-left.
        dragHandle(QPoint(101, 201), QPoint(155, 255));
        QCOMPARE(rect->rect(), QRectF(50, 50, 150, 150));
        QCOMPARE(rect->stats().min, matrixAt(m_photo, 15, 25));
        // Handle 5, the top edge.
        dragHandle(QPoint(105 + 125 - 4 + 4, 255 - 7 + 4), QPoint(230, 305));
        QCOMPARE(rect->rect(), QRectF(50, 100, 150, 100));

        // A circle cannot shrink below radius 4 or grow past the picture.
        m_fixture.view->setDrawMode(ToolRound);
        m_fixture.drag(QPoint(505, 105), QPoint(525, 105));
        m_fixture.view->setDrawMode(ToolNone);
        auto *circle = item<MyGraphicRoundItem>("Ro1");
        QCOMPARE(circle->radius(), 20.0);
        circle->setSelected(true);
        dragHandle(QPoint(505 + 27 - 4, 105), QPoint(507, 105));
        QCOMPARE(circle->radius(), 20.0);
        dragHandle(QPoint(505 + 27 - 4, 105), QPoint(545, 105));
        QCOMPARE(circle->radius(), 40.0);
        QCOMPARE(circle->stats().max, matrixAt(m_photo, 50, 14));
        // Radius 110 would leave the picture: the circle stops at the top edge, 105 away.
        dragHandle(QPoint(505 + 47 - 4, 105), QPoint(615, 105));
        QCOMPARE(circle->radius(), 105.0);

        // A flat line along the top edge: its top-right handle keeps the ends 16 apart, which
        // would push the upper end past the border; it stays on the picture and reads there.
        circle->setSelected(false);
        m_fixture.view->setDrawMode(ToolLine);
        m_fixture.drag(QPoint(400, 1), QPoint(300, 8));
        m_fixture.view->setDrawMode(ToolNone);
        auto *line = item<MyGraphicLineItem>("L1");
        line->setSelected(true);
        dragHandle(QPoint(403, 1), QPoint(420, 9));
        const QPointF start = line->start() + line->pos(), end = line->end() + line->pos();
        QVERIFY2(start.y() >= 0 && end.y() >= 0, qPrintable(QString("%1 %2").arg(start.y()).arg(end.y())));
        QCOMPARE(line->stats().avg, line->measure(TemperatureGrid::of(m_photo), line->pos()).stats.avg);
    }

    void circleAtTheBorder()
    {
        m_fixture.view->setDrawMode(ToolRound);
        m_fixture.press(QPoint(605, 105));
        m_fixture.dragTo(QPoint(625, 105)); // radius 20
        // Radius 45, and then a pointer far past the border, would cross the right edge: the
        // circle grows to the edge, 35 away, however fast the pointer left.
        m_fixture.dragTo(QPoint(605, 150));
        m_fixture.dragTo(QPoint(2000, 150));
        m_fixture.release(QPoint(2000, 150));
        auto *circle = item<MyGraphicRoundItem>("Ro1");
        QCOMPARE(circle->radius(), 35.0);
        QVector<QPoint> disk;
        for (int y = 7; y <= 13; ++y)
            for (int x = 57; x <= 63; ++x)
                if ((x - 60) * (x - 60) + (y - 10) * (y - 10) <= 9)
                    disk.append(QPoint(x, y));
        const Expected e = over(m_photo, disk, matrixAt(m_photo, 60, 10), QPoint(60, 10));
        QCOMPARE(e.count, 29);
        QCOMPARE(circle->stats().max, e.max);
        QCOMPARE(circle->stats().min, e.min);
        QCOMPARE(circle->stats().avg, e.avg);
    }

    void polygons()
    {
        m_fixture.view->setDrawMode(ToolPolygon);
        auto draw = [this](const QVector<QPoint> &clicks) {
            for (const QPoint &c : clicks)
                m_fixture.click(c);
            m_fixture.press(clicks.last(), Qt::RightButton);
            QTest::mouseRelease(m_fixture.view->viewport(), Qt::RightButton, Qt::NoModifier, clicks.last());
        };
        auto check = [this](const QString &name, const QVector<QPoint> &pixelVertices) {
            auto *polygon = item<MyGraphicPolygonItem>(name);
            QVERIFY2(polygon && !polygon->inProgress(), qPrintable(name));
            const QPolygonF shape(QVector<QPointF>(pixelVertices.begin(), pixelVertices.end()));
            const QRectF b = shape.boundingRect();
            QVector<QPoint> inside;
            for (int y = int(b.top()); y < b.bottom(); ++y)
                for (int x = int(b.left()); x < b.right(); ++x)
                    if (shape.containsPoint(QPointF(x, y), Qt::OddEvenFill))
                        inside.append(QPoint(x, y));
            const Expected e = over(m_photo, inside, matrixAt(m_photo, inside[0].x(), inside[0].y()), inside[0]);
            QCOMPARE(polygon->stats().max, e.max);
            QCOMPARE(polygon->stats().min, e.min);
            QCOMPARE(polygon->stats().avg, e.avg);
            QCOMPARE(polygon->sampleList(m_photo).size(), e.count);
        };
        draw({QPoint(5, 5), QPoint(105, 5), QPoint(5, 105)});
        check("Poly1", {QPoint(0, 0), QPoint(10, 0), QPoint(0, 10)});
        QCOMPARE(item<MyGraphicPolygonItem>("Poly1")->sampleList(m_photo).size(), 55);
        draw({QPoint(5, 5), QPoint(305, 5), QPoint(155, 155), QPoint(305, 305), QPoint(5, 305)}); // concave
        check("Poly2", {QPoint(0, 0), QPoint(30, 0), QPoint(15, 15), QPoint(30, 30), QPoint(0, 30)});

        // Two vertices: along the segment, both end pixels included.
        draw({QPoint(5, 205), QPoint(105, 205)});
        auto *two = item<MyGraphicPolygonItem>("Poly3");
        QCOMPARE(two->stats().min, matrixAt(m_photo, 0, 20));
        QCOMPARE(two->stats().max, matrixAt(m_photo, 10, 20));
        // One vertex: that pixel alone.
        draw({QPoint(405, 405)});
        auto *one = item<MyGraphicPolygonItem>("Poly4");
        QCOMPARE(one->stats().avg, matrixAt(m_photo, 40, 40));
        QCOMPARE(one->stats().max, one->stats().avg);
        QVERIFY(!m_fixture.scene()->polygonInProgress());
    }

    void layoutsTravelBetweenPhotographs()
    {
        const QString other = m_dir.filePath("other.jpg");
        writePhoto(other, placeSpec(64, 48, 1000.0f));
        QCOMPARE(PhotoStore::program().load(other), 0);
        loadedPhotoPaths() = QStringList{m_photo, other};
        itemTables().remove(other);
        drawOneOfEach();
        QMap<QString, float> here;
        for (const ItemPtr &i : itemTables()[m_photo])
            here[i->name()] = i->stats().avg;
        m_fixture.view->slot_copyItem();
        m_fixture.show(other);
        m_fixture.view->slot_pasteToCurr();
        QCOMPARE(itemTables()[other].keys(), (QStringList{"L1", "Poly1", "Re1", "Ro1"}));
        // The same places read the other photograph: 1000 degrees warmer everywhere.
        for (const ItemPtr &i : itemTables()[other])
            QCOMPARE(i->stats().avg, here[i->name()] + 1000.0f);
        m_fixture.show(m_photo);
        for (const ItemPtr &i : itemTables()[m_photo])
            QCOMPARE(i->stats().avg, here[i->name()]);
        QCOMPARE(itemCounters()[m_photo][KindPolygon], 1);
        loadedPhotoPaths() = QStringList{m_photo};
    }

    void fourTurnsRestoreEverything()
    {
        MyGraphicsScene *scene = m_fixture.scene();
        drawOneOfEach();
        QMap<QString, TempStats> before;
        for (const ItemPtr &i : itemTables()[m_photo])
            before[i->name()] = i->stats();
        const QPointF lineStart = item<MyGraphicLineItem>("L1")->start() + item<MyGraphicLineItem>("L1")->pos();
        scene->showWholeFrame(true);
        for (int turn = 1; turn <= 4; ++turn) {
            m_fixture.view->rotateQuarterTurn();
            // The rectangle and the circle read the same pixels at every turn (a polygon's
            // exclusive bounds and a line's sample count depend on the direction).
            for (const QString &name : {"Re1", "Ro1"}) {
                const TempStats &s = itemTables()[m_photo][name]->stats();
                QCOMPARE(s.max, before[name].max);
                QCOMPARE(s.min, before[name].min);
                QCOMPARE(s.avg, before[name].avg);
            }
            if (turn == 1) {
                // The hottest pixel (63, 47) turns to (47, 0) of the 48 x 64 picture.
                QCOMPARE(scene->wholeFrameOverlay()->maximumMarker(), QPointF(376, 0));
                QCOMPARE(scene->wholeFrameOverlay()->texts(),
                         (QStringList{QString::fromUtf8("MAX:476.3℃"), QString::fromUtf8("MIN:0.0℃"),
                                      "AVG:" + QString::number(currentPhotoRecord().stats.avg, 'f', 1) + QString::fromUtf8("℃")}));
                QVERIFY(scene->wholeFrameOverlay()->isVisible());
            }
        }
        for (const ItemPtr &i : itemTables()[m_photo]) {
            QCOMPARE(i->stats().max, before[i->name()].max);
            QCOMPARE(i->stats().min, before[i->name()].min);
            QCOMPARE(i->stats().avg, before[i->name()].avg);
        }
        auto *line = item<MyGraphicLineItem>("L1");
        QCOMPARE(line->start() + line->pos(), lineStart);
        QCOMPARE(item<MyGraphicRectItem>("Re1")->rect(), QRectF(305, 205, 120, 120));
        QCOMPARE(item<MyGraphicRoundItem>("Ro1")->centre(), QPointF(505, 305));
        QVERIFY(qFuzzyCompare(item<MyGraphicRoundItem>("Ro1")->radius(), 20.0));
        QCOMPARE(item<MyGraphicPolygonItem>("Poly1")->vertices(),
                 (QVector<QPointF>{{105, 405}, {205, 405}, {155, 455}}));
        QCOMPARE(scene->wholeFrameOverlay()->maximumMarker(), QPointF(630, 470));
    }
};

QTEST_MAIN(TestItems)
#include "tst_items.moc"
