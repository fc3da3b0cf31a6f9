// Measurement layouts on the real analysis page: kept in the sidecars across a restart, and
// every edit undone and redone to exactly the geometry and readings it had.

#include "itemtables.h"
#include "layouthistory.h"
#include "measurementitems.h"
#include "mygraphicsscene.h"
#include "mymsgboxdlg.h"
#include "openpage.h"
#include "myitemtemp.h"
#include "pagetables.h"
#include "photogenerator.h"
#include "photostore.h"
#include "qgraphicspaint.h"
#include "screenlayout.h"
#include "settingpage.h"
#include "sidecar.h"

#include <QApplication>
#include <QJsonDocument>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// Slope, ripples and a hot spot: readings change with every pixel a shape gains or loses.
PhotoSpec fieldSpec(int width, int height, float base)
{
    PhotoSpec shot;
    shot.width = width;
    shot.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float t = base + 0.03f * float(x) + 0.05f * float(y) + 2.0f * std::sin(float(x * 7 + y * 3) * 0.37f);
            if (std::abs(x - width / 3) < 3 && std::abs(y - height / 4) < 3)
                t += 40;
            shot.temperatures.push_back(t);
        }
    return shot;
}

// A photograph's layout with every item's readings, compared bit for bit.
struct State
{
    Layout layout;
    QVector<float> readings;
    bool operator==(const State &o) const { return sameLayout(layout, o.layout) && readings == o.readings; }
    bool operator!=(const State &o) const { return !(*this == o); }
};

State stateOf(const QString &path)
{
    State s;
    s.layout = layoutOf(path);
    for (const ItemPtr &item : itemTables().value(path))
        s.readings << item->stats().max << item->stats().min << item->stats().avg;
    return s;
}

char *describe(const State &s)
{
    QStringList parts;
    for (const Measurement &m : s.layout) {
        QString p = m.name + QString(" %1 w%2").arg(m.colour.name()).arg(m.penWidth);
        for (const QPointF &q : m.points)
            p += QString(" (%1,%2)").arg(q.x(), 0, 'g', 17).arg(q.y(), 0, 'g', 17);
        parts << p;
    }
    for (float r : s.readings)
        parts << QString::number(r, 'g', 9);
    return qstrdup(qPrintable(parts.join("; ")));
}

} // namespace

namespace QTest {
template<>
char *toString(const State &s)
{
    return describe(s);
}
} // namespace QTest

class TestLayoutHistory : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_photos;
    std::unique_ptr<SettingPage> m_page;

    QGraphicsPaint *view() const { return m_page->view(); }
    MyGraphicsScene *scene() const { return view()->measurementScene(); }
    QString current() const { return scene()->photoPath(); }

    // A point of the picture at fractions of its width and height.
    QPointF at(double u, double v) const
    {
        const QRectF r = scene()->imageRect();
        return QPointF(r.left() + u * r.width(), r.top() + v * r.height());
    }
    void mouse(QEvent::Type type, const QPointF &where, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        const QPoint p = view()->mapFromScene(where);
        QMouseEvent event(type, p, view()->viewport()->mapToGlobal(p), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view()->viewport(), &event);
    }
    void press(const QPointF &p, Qt::MouseButton b = Qt::LeftButton) { mouse(QEvent::MouseButtonPress, p, b, b); }
    void drag(const QPointF &p) { mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void hover(const QPointF &p) { mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
    void release(const QPointF &p) { mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }

    void draw(int tool, const QPointF &from, const QPointF &to)
    {
        m_page->on_drawButtonClick(tool);
        press(from);
        drag((from + to) / 2);
        drag(to);
        release(to);
        m_page->on_drawButtonClick(ToolNone);
    }
    void drawPolygon(const QVector<QPointF> &vertices)
    {
        m_page->on_drawButtonClick(ToolPolygon);
        for (const QPointF &v : vertices) {
            hover(v);
            press(v);
            release(v);
        }
        press(vertices.first(), Qt::RightButton);
        m_page->on_drawButtonClick(ToolNone);
    }
    ItemPtr item(const QString &name) const { return itemTables().value(current()).value(name); }
    void select(const QString &name)
    {
        scene()->clearSelection();
        item(name)->setSelected(true);
    }
    void moveItem(const QString &name, const QPointF &by)
    {
        select(name);
        const ItemPtr moved = item(name);
        const QPointF grip = moved->mapToScene(moved->boundingRect().center());
        hover(grip);
        press(grip);
        drag(grip + by / 3);
        drag(grip + by / 2);
        drag(grip + by);
        release(grip + by);
    }
    void resizeItem(const QString &name, const QPointF &by)
    {
        select(name);
        const ItemPtr resized = item(name);
        const QPointF grip = resized->mapRectToScene(resized->boundingRect()).bottomRight() - QPointF(3, 3);
        hover(grip);
        press(grip);
        drag(grip + by / 2);
        drag(grip + by);
        release(grip + by);
    }
    void undo() { m_page->layoutHistory()->group()->undo(); }
    void redo() { m_page->layoutHistory()->group()->redo(); }

    void openPage(int index) { openSettingPage(m_page, m_photos, index); }
    void pageTo(int index)
    {
        while (m_page->currentIndex() < index)
            m_page->on_btn_nextImg_clicked();
        while (m_page->currentIndex() > index)
            m_page->on_btn_prevImg_clicked();
        QTRY_COMPARE(current(), m_photos[index]);
        QCoreApplication::processEvents();
    }
    // Closes the page and forgets everything a run keeps, as quitting and starting again would.
    void restart()
    {
        m_page->cancelLoad();
        m_page->waitForLoad();
        m_page->layoutHistory()->saver()->flushAll();
        for (const auto &rows : itemRowTables())
            qDeleteAll(rows);
        itemRowTables().clear();
        m_page.reset();
        itemTables().clear();
        itemCounters().clear();
        for (const QString &path : m_photos)
            PhotoStore::program().forget(path);
    }
    // Whatever message shows is answered and kept.
    static void answerMessages(QTimer &timer, QStringList &messages)
    {
        connect(&timer, &QTimer::timeout, [&messages] {
            if (auto *box = qobject_cast<MyMsgBoxDlg *>(QApplication::activeModalWidget())) {
                messages << box->findChild<QLabel *>("lab_text")->text();
                box->findChild<QPushButton *>("btn_confirm")->click();
            }
        });
        timer.start(20);
    }
    QList<State> states() const
    {
        QList<State> all;
        for (const QString &path : m_photos)
            all << stateOf(path);
        return all;
    }

private slots:
    void initTestCase()
    {
        shellValues().tempImageDir = m_dir.filePath("tmpBmp");
        QDir().mkpath(shellValues().tempImageDir);
        const QSize sizes[] = {{160, 120}, {80, 60}, {160, 120}};
        for (int i = 0; i < 3; ++i) {
            m_photos << m_dir.filePath(QString("IR_%1.jpg").arg(i + 1));
            writePhoto(m_photos.last(), fieldSpec(sizes[i].width(), sizes[i].height(), 10.0f * float(i + 1)));
        }
    }

    void cleanup()
    {
        if (m_page)
            restart();
        for (const QString &path : m_photos) {
            QFile::remove(sidecarPath(path));
            QDir(sidecarPath(path)).removeRecursively();
        }
    }

    void layoutSurvivesARestart()
    {
        openPage(0);
        draw(ToolRect, at(0.1, 0.1), at(0.45, 0.4));
        draw(ToolRound, at(0.6, 0.5), at(0.7, 0.6));
        draw(ToolLine, at(0.8, 0.1), at(0.2, 0.9));
        drawPolygon({at(0.1, 0.6), at(0.3, 0.65), at(0.25, 0.9)});
        for (double u : {0.2, 0.4, 0.6, 0.8})
            draw(ToolPoint, at(u, 0.33), at(u, 0.33));
        QCOMPARE(itemTables().value(current()).size(), 8);
        moveItem("Ro1", QPointF(23, 17));
        select("Re1");
        m_page->chooseColour(QColor(255, 0, 255));
        select("P1");
        m_page->on_buttonClick(7);
        select("P3");
        m_page->on_buttonClick(7);
        pageTo(1);
        draw(ToolRect, at(0.5, 0.5), at(0.9, 0.8));
        pageTo(0);
        const QList<State> before = states();
        QCOMPARE(before[0].layout.size(), 6);
        QCOMPARE(layoutOf(m_photos[0])[4].name, QString("Re1"));
        QCOMPARE(before[0].layout[4].colour, QColor(255, 0, 255)); // recoloured while selected
        QCOMPARE(before[0].layout[3].colour, QColor(0, 255, 0));
        QVERIFY(before[0].readings[0] != NA_TEMPERATURE);
        QCOMPARE(before[1].layout.size(), 1);

        restart();
        openPage(0);
        const QList<State> after = states();
        for (int i = 0; i < m_photos.size(); ++i)
            QCOMPARE(after[i], before[i]);
        QCOMPARE(itemRowTables().value(current()).size(), 6); // the list shows them
        // Names go on from the highest one kept: P2 and P4 are left, the next point is P5.
        draw(ToolPoint, at(0.5, 0.7), at(0.5, 0.7));
        QVERIFY(item("P5"));
        QCOMPARE(itemTables().value(current()).size(), 7);
        // The photograph never edited got no sidecar.
        QVERIFY(!QFile::exists(sidecarPath(m_photos[2])));
    }

    void everyEditUndoesAndRedoesExactly()
    {
        openPage(0);
        pageTo(1);
        draw(ToolRound, at(0.3, 0.3), at(0.4, 0.4)); // photograph 1 has a layout of its own
        pageTo(0);
        const QString first = current();
        draw(ToolRect, at(0.2, 0.2), at(0.6, 0.5));
        draw(ToolLine, at(0.7, 0.2), at(0.9, 0.7));

        struct Edit
        {
            const char *name;
            std::function<void()> run;
        };
        const QList<Edit> edits = {
            {"draw", [this] { draw(ToolRound, at(0.5, 0.7), at(0.6, 0.8)); }},
            {"draw polygon", [this] { drawPolygon({at(0.1, 0.6), at(0.3, 0.65), at(0.25, 0.9), at(0.1, 0.95)}); }},
            {"move", [this] { moveItem("Re1", QPointF(37.3, -12.6)); }},
            {"resize", [this] { resizeItem("Re1", QPointF(-41, 29)); }},
            {"resize circle", [this] { resizeItem("Ro1", QPointF(25, 25)); }},
            {"delete", [this] { select("L1"); m_page->on_buttonClick(7); }},
            {"colour", [this] { select("Re1"); m_page->chooseColour(QColor(10, 20, 30)); }},
            {"paste",
             [this] {
                 pageTo(1);
                 view()->slot_copyItem();
                 pageTo(0);
                 view()->slot_pasteToCurr();
             }},
        };
        for (const Edit &edit : edits) {
            const QList<State> before = states();
            edit.run();
            QCOMPARE(current(), first);
            const QList<State> after = states();
            QVERIFY2(after[0] != before[0], edit.name);
            undo();
            QVERIFY2(states() == before, edit.name);
            // The list shows what the items read.
            const ItemTable table = itemTables().value(current());
            QCOMPARE(itemRowTables().value(current()).size(), table.size());
            redo();
            QVERIFY2(states() == after, edit.name);
            undo();
            redo();
            QVERIFY2(states() == after, edit.name);
        }
        // Written as it stands after the last step.
        m_page->layoutHistory()->saver()->flushAll();
        QJsonArray saved;
        QVERIFY(readSidecarLayout(first, saved, nullptr));
        QVERIFY(sameLayout(layoutFromJson(saved, nullptr), layoutOf(first)));
    }

    void pasteToAllIsUndoneOnePhotographAtATime()
    {
        openPage(0);
        draw(ToolRect, at(0.2, 0.2), at(0.6, 0.5));
        draw(ToolPoint, at(0.7, 0.7), at(0.7, 0.7));
        view()->slot_copyItem();
        pageTo(1);
        draw(ToolRound, at(0.3, 0.3), at(0.4, 0.4));
        const QList<State> before = states();
        view()->slot_pasteToAll();
        const QList<State> after = states();
        for (int i = 0; i < m_photos.size(); ++i)
            QCOMPARE(after[i].layout.size(), 2);
        // Ctrl+Z on show undoes this photograph's paste only; the others keep theirs until shown.
        undo();
        QCOMPARE(stateOf(m_photos[1]), before[1]);
        QCOMPARE(stateOf(m_photos[0]), after[0]);
        QCOMPARE(stateOf(m_photos[2]), after[2]);
        pageTo(2);
        undo();
        QCOMPARE(stateOf(m_photos[2]), before[2]);
        QCOMPARE(stateOf(m_photos[0]), after[0]);
        redo();
        QCOMPARE(stateOf(m_photos[2]), after[2]);
        // The photograph the layout came from had it already: its paste changed nothing.
        QCOMPARE(after[0], before[0]);
        QVERIFY(before[2].layout.isEmpty());
    }

    // A layout copied from a photograph of other proportions (turned a quarter, so its view is
    // narrow) and pasted to all from another comes back from undo and redo on each photograph
    // as it was shown there.
    void pasteToAllAcrossProportionsUndoesExactly()
    {
        openPage(1);
        m_page->on_rotateButtonClick(0);
        draw(ToolRound, at(0.5, 0.5), at(0.5, 0.02));
        draw(ToolRect, at(0.05, 0.05), at(0.95, 0.9));
        draw(ToolLine, at(0.02, 0.5), at(0.98, 0.6));
        view()->slot_copyItem();
        pageTo(2);
        view()->slot_pasteToAll();
        for (const int photo : {2, 0, 1}) {
            pageTo(photo);
            const State pasted = stateOf(m_photos[photo]);
            QCOMPARE(pasted.layout.size(), 3);
            undo();
            redo();
            QCOMPARE(stateOf(m_photos[photo]), pasted);
        }
    }

    void pagingAwayFromATurnedPhotographKeepsItsLayout()
    {
        // The view narrows while a photograph is turned a quarter; the next photograph's wide
        // view must not reshape the measurements of the one left.
        openPage(0);
        draw(ToolRound, at(0.5, 0.5), at(0.5, 0.95));
        draw(ToolRect, at(0.05, 0.1), at(0.95, 0.3));
        m_page->on_rotateButtonClick(0);
        const State turned = stateOf(m_photos[0]);
        pageTo(1);
        QCOMPARE(stateOf(m_photos[0]).layout.size(), turned.layout.size());
        QVERIFY(sameLayout(stateOf(m_photos[0]).layout, turned.layout));
        pageTo(0);
        QCOMPARE(stateOf(m_photos[0]), turned);
    }

    void badEntriesAreSkippedWithAMessage()
    {
        Measurement kept;
        kept.kind = KindRect;
        kept.name = "Re4";
        kept.penWidth = 4;
        kept.points = {{10.5, 20}, {60, 50.25}};
        QJsonArray layout{measurementToJson(kept), QJsonObject{{"kind", "star"}, {"name", "S1"}}, 7};
        QVERIFY(writeSidecarLayout(m_photos[2], layout, nullptr));

        QStringList messages;
        QTimer answer;
        answerMessages(answer, messages);
        openPage(2);
        QTRY_COMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(QDir::toNativeSeparators(sidecarPath(m_photos[2]))), qPrintable(messages[0]));
        QVERIFY(messages[0].contains("2: ") && messages[0].contains("3: "));

        // The photograph opened with the entry it could read, measured.
        const ItemTable table = itemTables().value(m_photos[2]);
        QCOMPARE(table.keys(), QStringList{"Re4"});
        QVERIFY(table["Re4"]->stats().max != NA_TEMPERATURE);
        QVERIFY(layoutOf(m_photos[2])[0].sameAs(kept));
        // Names go on after it.
        draw(ToolRect, at(0.6, 0.6), at(0.8, 0.8));
        QVERIFY(item("Re5"));
    }

    void anUnwritableSidecarIsRemembered()
    {
        QVERIFY(QDir().mkpath(sidecarPath(m_photos[0]))); // a folder where the file would go
        QStringList messages;
        QTimer answer;
        answerMessages(answer, messages);
        openPage(0);
        QTRY_COMPARE(messages.size(), 1); // its settings cannot be read either
        draw(ToolPoint, at(0.5, 0.5), at(0.5, 0.5));
        LayoutSaver *saver = m_page->layoutHistory()->saver();
        QVERIFY(!saver->flushAll());
        QCOMPARE(saver->unsaved(), QStringList{m_photos[0]});
        QVERIFY(!saver->lastError(m_photos[0]).isEmpty());
        // Once it can be written, the next try succeeds and nothing is left.
        QVERIFY(QDir(sidecarPath(m_photos[0])).removeRecursively());
        QVERIFY(saver->flushAll());
        QVERIFY(saver->unsaved().isEmpty());
        QJsonArray saved;
        QVERIFY(readSidecarLayout(m_photos[0], saved, nullptr));
        QCOMPARE(saved.size(), 1);
    }
};

QTEST_MAIN(TestLayoutHistory)
#include "tst_layouthistory.moc"
