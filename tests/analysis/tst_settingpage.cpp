// The analysis page's picture display: rendering, span, the colour scale beside the picture and
// one span shared while paging.
#include "colourscalebar.h"
#include "itemtables.h"
#include "mygraphicrectitem.h"
#include "myitemtemp.h"
#include "pagetables.h"
#include "screenlayout.h"
#include "settingpage.h"
#include "snapshottables.h"
#include "viewfixture.h"

#include <QAction>
#include <QDir>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <cmath>

class TestSettingPage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_list;

    template<typename T>
    static T *child(SettingPage &page, const char *name)
    {
        T *found = page.findChild<T *>(name);
        if (!found)
            qWarning("no %s", name);
        return found;
    }

    static void turn(SettingPage &page, const char *button, const QString &photo)
    {
        child<QPushButton>(page, button)->click();
        QTRY_COMPARE(page.view()->measurementScene()->photoPath(), photo);
    }

    // The picture as the view draws it now.
    static QImage shown(SettingPage &page)
    {
        page.view()->viewport()->repaint();
        return page.view()->measurementScene()->displayedImage();
    }

    // A drag of the scale's top end from the bar's top to the given fraction of its height.
    static void dragTopEnd(ColourScaleBar *scale, double fraction)
    {
        const QRect bar = scale->barRect();
        const QPoint from(bar.center().x(), bar.top());
        const QPoint to(from.x(), bar.top() + int(fraction * (bar.bottom() + 1 - bar.top())));
        QTest::mousePress(scale, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(scale, &move);
        QTest::mouseRelease(scale, Qt::LeftButton, Qt::NoModifier, to);
    }

    // The page on show in an active window, the photographs loaded (not the file that is no
    // photograph: it would say so in a message box), the first one shown.
    void open(SettingPage &page)
    {
        page.setupView(480, 640);
        page.resize(1600, 800);
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        page.slot_selectImg(m_list.mid(0, 3), 0);
        QTRY_COMPARE(page.view()->measurementScene()->photoPath(), m_list[0]);
        page.waitForLoad();
    }

    static void key(SettingPage &page, QKeySequence keys)
    {
        const int code = keys[0];
        QTest::keyClick(page.view(), Qt::Key(code & ~Qt::KeyboardModifierMask),
                        Qt::KeyboardModifiers(code & Qt::KeyboardModifierMask));
        QCoreApplication::processEvents();
        // No row of the list ever opens as a window of its own (it would take the keyboard).
        QCOMPARE(QApplication::activeWindow(), &page);
    }

    static QStringList names(const QString &photo) { return itemTables().value(photo).keys(); }

    static QPoint over(SettingPage &page, const QPointF &scenePoint) { return page.view()->mapFromScene(scenePoint); }

    static void mouse(SettingPage &page, QEvent::Type type, const QPoint &at, Qt::MouseButton button,
                      Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(at), page.view()->viewport()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(page.view()->viewport(), &event);
    }

    // A rectangle drawn with the mouse between two scene points; its name.
    static QString drawRect(SettingPage &page, const QPointF &from, const QPointF &to)
    {
        const QString photo = page.view()->measurementScene()->photoPath();
        const QStringList before = names(photo);
        page.on_drawButtonClick(ToolRect);
        mouse(page, QEvent::MouseButtonPress, over(page, from), Qt::LeftButton, Qt::LeftButton);
        mouse(page, QEvent::MouseMove, over(page, to), Qt::NoButton, Qt::LeftButton);
        mouse(page, QEvent::MouseButtonRelease, over(page, to), Qt::LeftButton, Qt::NoButton);
        page.on_drawButtonClick(ToolNone);
        for (const QString &name : names(photo))
            if (!before.contains(name))
                return name;
        return QString();
    }

private slots:
    void initTestCase()
    {
        shellValues().tempImageDir = m_dir.filePath("tmpBmp");
        // t = shift + x / 10 + 10 y: 0 to 476.3, 100 to 576.3 and 200 to 676.3 degrees, then a
        // file that is no photograph at all.
        for (int i = 0; i < 3; ++i) {
            m_list << m_dir.filePath(QString("IR_%1.jpg").arg(i + 1));
            writePhoto(m_list.last(), placeSpec(64, 48, 100.0f * float(i)));
        }
        m_list << m_dir.filePath("IR_9999.jpg");
        QFile junk(m_list.last());
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4000, 'x'));
    }

    void init()
    {
        for (const QString &photo : m_list) {
            itemTables().remove(photo);
            itemCounters().remove(photo);
        }
        itemRowTables().clear(); // the rows went with the page of the test before
        QDir(shellValues().tempImageDir).removeRecursively();
        QVERIFY(QDir().mkpath(shellValues().tempImageDir));
        snapshotSources().clear();
    }

    void keyboardCommands()
    {
        SettingPage page;
        open(page);
        // Each command is listed with all its keys.
        QMap<QString, QAction *> byKey;
        for (QAction *action : page.keyActions()) {
            for (const QKeySequence &keys : action->shortcuts()) {
                QVERIFY2(action->text().contains('\t' + QString()) && action->text().contains(keys.toString(QKeySequence::NativeText)),
                         qPrintable(action->text()));
                byKey.insert(keys.toString(), action);
            }
        }
        for (const char *keys : {"Del", "Left", "PgUp", "Right", "PgDown", "Home", "End", "Ctrl+C", "Ctrl+V",
                                 "Ctrl+Shift+V", "Esc", "Ctrl+S", "Ctrl++", "Ctrl+=", "Ctrl+-", "Ctrl+0"})
            QVERIFY2(byKey.contains(keys), keys);

        // Paging.
        const QList<QPair<QKeySequence, int>> paging = {{Qt::Key_Right, 1}, {Qt::Key_PageDown, 2}, {Qt::Key_Left, 1},
                                                         {Qt::Key_PageUp, 0}, {Qt::Key_End, 2}, {Qt::Key_Home, 0}};
        for (const auto &[keys, index] : paging) {
            key(page, keys);
            QTRY_COMPARE(page.view()->measurementScene()->photoPath(), m_list[index]);
        }
        key(page, Qt::Key_Left); // nothing before the first
        QCOMPARE(page.currentIndex(), 0);

        // Delete takes the selected measurement away.
        drawRect(page, QPointF(100, 100), QPointF(300, 250));
        drawRect(page, QPointF(400, 100), QPointF(500, 250));
        QCOMPARE(names(m_list[0]), (QStringList{"Re1", "Re2"}));
        page.view()->measurementScene()->clearSelection();
        itemTables()[m_list[0]].value("Re1")->setSelected(true);
        key(page, Qt::Key_Delete);
        QCOMPARE(names(m_list[0]), QStringList{"Re2"});

        // Copy, paste, paste to all.
        key(page, QKeySequence(Qt::CTRL | Qt::Key_C));
        key(page, Qt::Key_Right);
        QTRY_COMPARE(page.currentIndex(), 1);
        key(page, QKeySequence(Qt::CTRL | Qt::Key_V));
        QCOMPARE(names(m_list[1]), QStringList{"Re2"});
        QVERIFY(names(m_list[2]).isEmpty());
        key(page, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
        QCOMPARE(names(m_list[2]), QStringList{"Re2"});

        // Esc during a drag leaves nothing of the shape, nor of its name.
        MyGraphicsScene *scene = page.view()->measurementScene();
        const int onShow = scene->items().size();
        page.on_drawButtonClick(ToolRect);
        mouse(page, QEvent::MouseButtonPress, over(page, QPointF(50, 50)), Qt::LeftButton, Qt::LeftButton);
        mouse(page, QEvent::MouseMove, over(page, QPointF(200, 150)), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(scene->items().size(), onShow + 1);
        key(page, Qt::Key_Escape);
        QCOMPARE(scene->items().size(), onShow);
        mouse(page, QEvent::MouseMove, over(page, QPointF(250, 180)), Qt::NoButton, Qt::LeftButton);
        mouse(page, QEvent::MouseButtonRelease, over(page, QPointF(250, 180)), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(scene->items().size(), onShow);
        QCOMPARE(names(m_list[1]), QStringList{"Re2"});
        // A polygon of two corners so far, the same.
        page.on_drawButtonClick(ToolPolygon);
        for (const QPointF &corner : {QPointF(60, 60), QPointF(160, 60)}) {
            mouse(page, QEvent::MouseButtonPress, over(page, corner), Qt::LeftButton, Qt::LeftButton);
            mouse(page, QEvent::MouseButtonRelease, over(page, corner), Qt::LeftButton, Qt::NoButton);
        }
        QVERIFY(scene->polygonInProgress());
        key(page, Qt::Key_Escape);
        QVERIFY(!scene->polygonInProgress());
        QCOMPARE(scene->items().size(), onShow);
        drawRect(page, QPointF(100, 100), QPointF(200, 200));
        QCOMPARE(names(m_list[1]), (QStringList{"Re2", "Re3"})); // the cancelled shape's number is free

        // Zoom in, out, fit.
        key(page, QKeySequence(Qt::CTRL | Qt::Key_Plus));
        QVERIFY(page.view()->zoom() > 1.0);
        key(page, QKeySequence(Qt::CTRL | Qt::Key_Equal));
        const double zoomed = page.view()->zoom();
        key(page, QKeySequence(Qt::CTRL | Qt::Key_Minus));
        QVERIFY(page.view()->zoom() < zoomed && page.view()->zoom() > 1.0);
        key(page, QKeySequence(Qt::CTRL | Qt::Key_0));
        QCOMPARE(page.view()->zoom(), 1.0);
        QVERIFY(page.view()->transform().isIdentity());

        // Save writes the snapshot of the photograph on show.
        QFile::remove(snapshotSources().key(m_list[1])); // the one written when it was left before
        key(page, QKeySequence(Qt::CTRL | Qt::Key_S));
        QVERIFY(QFile::exists(snapshotSources().key(m_list[1])));
        page.cancelLoad();
        page.waitForLoad();
    }

    void snapshotsAreWrittenWhenNeeded()
    {
        SettingPage page;
        open(page);
        const QString drawn = drawRect(page, QPointF(100, 100), QPointF(300, 250));
        QVERIFY(!drawn.isEmpty());
        const QDir folder(shellValues().tempImageDir);
        auto written = [&folder] { return folder.entryList(QDir::Files); };

        // Moving the rectangle with many small steps writes nothing.
        page.view()->measurementScene()->clearSelection();
        QPoint at = over(page, QPointF(200, 175));
        mouse(page, QEvent::MouseMove, over(page, QPointF(400, 400)), Qt::NoButton, Qt::NoButton);
        mouse(page, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        mouse(page, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        for (int i = 0; i < 200; ++i) {
            at += QPoint(i % 2, (i + 1) % 2);
            mouse(page, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
            QCoreApplication::processEvents();
        }
        mouse(page, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        QCoreApplication::processEvents();
        const ItemPtr moved = itemTables()[m_list[0]].value(drawn);
        QCOMPARE(moved->mapRectToScene(moved->boundingRect()).topLeft(), QPointF(193, 193));
        QCOMPARE(written(), QStringList());

        // Leaving the photograph writes its one snapshot.
        page.on_btn_nextImg_clicked();
        QTRY_COMPARE(page.view()->measurementScene()->photoPath(), m_list[1]);
        QCOMPARE(written(), QStringList{"IR_1.bmp"});

        // What the export saves first (on show) holds an edit made just before.
        const QString second = drawRect(page, QPointF(100, 100), QPointF(300, 250));
        page.saveCurrentState();
        const QString snapshot = snapshotSources().key(m_list[1]);
        const QImage before(snapshot);
        QVERIFY(!before.isNull());
        page.view()->measurementScene()->clearSelection();
        itemTables()[m_list[1]].value(second)->setSelected(true);
        page.view()->deleteSelected();
        page.saveCurrentState();
        QVERIFY(QImage(snapshot) != before);
        QCOMPARE(written(), (QStringList{"IR_1.bmp", "IR_2.bmp"}));
        page.cancelLoad();
        page.waitForLoad();
    }

    void sharedSpanSurvivesPaging()
    {
        SettingPage page;
        page.setupView(480, 640);
        page.resize(1600, 800);
        page.show();
        page.slot_selectImg(m_list, 0);
        QTRY_COMPARE(page.view()->measurementScene()->photoPath(), m_list[0]); // on show
        QTRY_VERIFY(PhotoStore::program().snapshot(m_list[2]).hasTemperature); // the whole list has loaded
        auto *scale = child<ColourScaleBar>(page, "colourScale");
        auto *temperatures = child<QRadioButton>(page, "radio_temperatures");
        auto *automatic = child<QCheckBox>(page, "check_automaticSpan");
        auto *low = child<QDoubleSpinBox>(page, "spin_spanLow");
        auto *high = child<QDoubleSpinBox>(page, "spin_spanHigh");
        auto *same = child<QCheckBox>(page, "check_sameSpan");
        const Palette iron = page.view()->measurementScene()->palettes()[2];

        // The embedded picture: the scale spans the photograph, and the span cannot be set.
        QTRY_COMPARE(scale->scale().high, PhotoStore::program().snapshot(m_list[0]).stats.max);
        QCOMPARE(scale->scale().low, 0.0f);
        QVERIFY(!scale->isDraggable());
        QVERIFY(!low->isEnabled() && !same->isEnabled());
        QVERIFY(!low->toolTip().isEmpty());

        // The temperatures over a typed span, 150 to 300 degrees.
        QVERIFY(temperatures->isEnabled());
        temperatures->click();
        QCOMPARE(PhotoStore::program().snapshot(m_list[0]).rendering, Rendering::Temperatures);
        QVERIFY(scale->isDraggable() && low->isEnabled() && automatic->isChecked());
        high->setValue(300.0);
        low->setValue(150.0);
        QCOMPARE(PhotoStore::program().snapshot(m_list[0]).span, (TemperatureSpan{false, 150.0f, 300.0f}));
        QVERIFY(!automatic->isChecked());
        QCOMPARE(scale->scale().low, 150.0f);
        QCOMPARE(scale->scale().high, 300.0f);
        QCOMPARE(shown(page).pixel(0, 15), iron[0]);   // 150.0
        QCOMPARE(shown(page).pixel(0, 30), iron[255]); // 300.0

        // Without sharing, the next photograph keeps its own rendering.
        turn(page, "btn_nextImg", m_list[1]);
        QCOMPARE(PhotoStore::program().snapshot(m_list[1]).rendering, Rendering::Embedded);
        QVERIFY(!scale->isDraggable());
        turn(page, "btn_prevImg", m_list[0]);

        // Shared: every photograph paged to is drawn over 150 to 300 degrees.
        same->click();
        QVERIFY(!automatic->isEnabled());
        turn(page, "btn_nextImg", m_list[1]);
        const TemperatureSpan shared{false, 150.0f, 300.0f};
        QCOMPARE(PhotoStore::program().snapshot(m_list[1]).rendering, Rendering::Temperatures);
        QCOMPARE(PhotoStore::program().snapshot(m_list[1]).span, shared);
        const QImage image = shown(page);
        QCOMPARE(image.pixel(0, 5), iron[0]);    // 150.0 in this photograph
        QCOMPARE(image.pixel(0, 20), iron[255]); // 300.0
        QTRY_COMPARE(scale->scale().high, 300.0f);
        QCOMPARE(low->value(), 150.0);
        QVERIFY(same->isChecked() && scale->isDraggable());

        // Dragging the scale's top end halfway down changes the shared span: 150 to about 225.
        dragTopEnd(scale, 0.5);
        const int bar = scale->barRect().height();
        const float top = float(std::round((150.0 + double(bar - bar / 2) / bar * 150.0) * 10) / 10);
        QVERIFY(top > 224.0f && top < 226.0f);
        const TemperatureSpan narrower{false, 150.0f, top};
        QCOMPARE(PhotoStore::program().snapshot(m_list[1]).span, narrower);
        QCOMPARE(high->value(), double(top));
        turn(page, "btn_nextImg", m_list[2]);
        QCOMPARE(PhotoStore::program().snapshot(m_list[2]).span, narrower);
        QCOMPARE(shown(page).pixel(0, 3), iron[255]); // 230.0
        turn(page, "btn_prevImg", m_list[1]);
        turn(page, "btn_prevImg", m_list[0]);
        QCOMPARE(PhotoStore::program().snapshot(m_list[0]).span, narrower);

        // A file without temperatures offers only its embedded picture and says why; sharing
        // stays on for the photographs after it.
        turn(page, "btn_nextImg", m_list[1]);
        turn(page, "btn_nextImg", m_list[2]);
        turn(page, "btn_nextImg", m_list[3]);
        QTRY_VERIFY(!scale->scale().known);
        QVERIFY(!temperatures->isEnabled());
        QVERIFY(!temperatures->toolTip().isEmpty());
        QVERIFY(child<QRadioButton>(page, "radio_embedded")->isChecked());
        QCOMPARE(PhotoStore::program().snapshot(m_list[3]).rendering, Rendering::Embedded);
        QVERIFY(same->isChecked() && same->isEnabled());

        // Back to the embedded picture: the span is no longer shared.
        turn(page, "btn_prevImg", m_list[2]);
        child<QRadioButton>(page, "radio_embedded")->click();
        QVERIFY(!same->isChecked());
        turn(page, "btn_prevImg", m_list[1]);
        high->setValue(260.0);
        turn(page, "btn_nextImg", m_list[2]);
        QCOMPARE(PhotoStore::program().snapshot(m_list[2]).rendering, Rendering::Embedded);
        QCOMPARE(PhotoStore::program().snapshot(m_list[2]).span, narrower);
        page.cancelLoad();
        page.waitForLoad();
    }

    // A measurement's row shows its name, maximum, minimum and average whole in the list, in
    // each language, on the page as large as under the title bar of a 1920 x 1080 screen.
    void measurementRowFitsTheList()
    {
        SettingPage page;
        const ScreenLayout layout = screenLayoutForHeight(1080);
        page.setupView(layout.minSide, layout.maxWidth);
        page.resize(1920, 1010);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.slot_selectImg(m_list.mid(0, 3), 0);
        QTRY_COMPARE(page.view()->measurementScene()->photoPath(), m_list[0]);
        page.waitForLoad();
        page.slot_updateItemTemp("Re10", 136.3f, -24.9f, 133.8f);
        MyItemTemp *row = itemRowTables().value(m_list[0]).value("Re10");
        QVERIFY(row);
        QWidget *viewport = child<QScrollArea>(page, "scrollArea")->viewport();
        const auto rowFits = [&](const QString &setting) {
            for (QLabel *label : row->findChildren<QLabel *>()) {
                const QString where = setting + " " + label->text();
                QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()), qPrintable(where));
                const QRect shown(label->mapTo(viewport, QPoint(0, 0)), label->size());
                QVERIFY2(viewport->rect().contains(shown), qPrintable(where));
            }
        };
        for (const char *language : {"", ":/res/language/english.qm", ":/res/language/japanese.qm"}) {
            QTranslator translator;
            QVERIFY(!*language || translator.load(language));
            QCoreApplication::installTranslator(&translator);
            page.retranslate();
            QTest::qWait(50); // the language change and the layouts are posted
            rowFits(language);
            QCoreApplication::removeTranslator(&translator);
        }
        page.retranslate();
        // The larger text of the title bar's font button, then back.
        MyItemTemp::setTextPixels(textPixelsForFontSize(6));
        QTest::qWait(50);
        rowFits("18 px");
        MyItemTemp::setTextPixels(textPixelsForFontSize(4));
        page.cancelLoad();
        page.waitForLoad();
    }

    void scaleFollowsPaletteAndLanguage()
    {
        SettingPage page;
        page.setupView(480, 640);
        page.show();
        page.slot_selectImg(m_list, 0);
        QTRY_COMPARE(page.view()->measurementScene()->photoPath(), m_list[0]); // on show
        auto *scale = child<ColourScaleBar>(page, "colourScale");
        const QVector<Palette> &palettes = page.view()->measurementScene()->palettes();
        auto *list = child<QListWidget>(page, "listWidget");
        emit list->itemClicked(list->item(7)); // Medical, palette 4
        QTRY_COMPARE(scale->palette(), palettes[4]);
        // Without a palette (an alarm is on) it reads Iron Red, as the picture's colours do.
        page.view()->setAlarm(1, 1000.0f);
        QTRY_COMPARE(scale->palette(), palettes[2]);
        page.view()->setAlarm(-1, 0.0f);

        const QString chinese = scale->toolTip();
        QTranslator english;
        QVERIFY(english.load(":/res/language/english.qm"));
        QCoreApplication::installTranslator(&english);
        page.retranslate();
        QCOMPARE(child<QRadioButton>(page, "radio_embedded")->text(), QString("Embedded picture"));
        QVERIFY(scale->toolTip() != chinese && !scale->toolTip().isEmpty());
        QCoreApplication::removeTranslator(&english);
        page.retranslate();
        QCOMPARE(scale->toolTip(), chinese);
        page.cancelLoad();
        page.waitForLoad();
    }
};

QTEST_MAIN(TestSettingPage)
#include "tst_settingpage.moc"
