#include "myactionwdg.h"
#include "mytitlebar.h"

#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QWidgetAction>
#include <QtTest>

namespace {
const QString kSelected = "color: #08A4FF;";
const QString kNormal = "color: rgba(255,255,255,0.55);";

// A place on the bar with no button on it, the bar spanning its window.
QPoint emptyPlace(MyTitleBar *bar)
{
    bar->resize(bar->window()->width(), bar->sizeHint().height());
    for (int x = bar->width() / 2; x < bar->width(); ++x) {
        if (!bar->childAt(x, bar->height() / 2))
            return {x, bar->height() / 2};
    }
    qFatal("no empty place on the title bar");
    return {};
}

bool showsIcon(const QAbstractButton *button, const QString &file)
{
    return button->icon().pixmap(26, 26).toImage() == QIcon(":/res/icon/" + file).pixmap(26, 26).toImage();
}
}

class TestMyTitleBar : public QObject
{
    Q_OBJECT

    QToolButton *button(MyTitleBar &bar, const char *name)
    {
        auto *found = bar.findChild<QToolButton *>(name);
        if (!found)
            qFatal("no button %s", name);
        return found;
    }

private slots:
    void drawToolToggling()
    {
        MyTitleBar bar;
        QSignalSpy spy(&bar, &MyTitleBar::sig_drawButtonClick);
        QToolButton *point = button(bar, "btn_point");
        QToolButton *line = button(bar, "btn_line");
        QVERIFY(showsIcon(point, "point-defult.svg"));

        point->click();
        QCOMPARE(spy.takeFirst().at(0).toInt(), 2);
        QCOMPARE(bar.currentDrawTool(), 2);
        QVERIFY(point->isChecked());
        QCOMPARE(point->styleSheet(), kSelected);
        QVERIFY(showsIcon(point, "point-selected.svg"));

        // Another tool: the point button falls back to its default look first.
        line->click();
        QCOMPARE(spy.takeFirst().at(0).toInt(), 3);
        QVERIFY(!point->isChecked());
        QCOMPARE(point->styleSheet(), kNormal);
        QVERIFY(showsIcon(point, "point-defult.svg"));
        QCOMPARE(line->styleSheet(), kSelected);
        QVERIFY(showsIcon(line, "line-selected.svg"));

        // The current tool clicked again is dropped.
        line->click();
        QCOMPARE(spy.takeFirst().at(0).toInt(), 0);
        QCOMPARE(bar.currentDrawTool(), 0);
        QVERIFY(!line->isChecked());
        QCOMPARE(line->styleSheet(), kNormal);
        QVERIFY(showsIcon(line, "line-defult.svg"));

        // Exclusivity is back: choosing one tool unchecks the other.
        button(bar, "btn_rect")->click();
        button(bar, "btn_arrow")->click();
        QCOMPARE(spy.takeLast().at(0).toInt(), 8);
        QVERIFY(!button(bar, "btn_rect")->isChecked());
        QVERIFY(button(bar, "btn_arrow")->isChecked());
        const QList<QPair<const char *, int>> tools = {{"btn_point", 2}, {"btn_line", 3}, {"btn_rect", 4},
                                                       {"btn_round", 5}, {"btn_polygon", 6}, {"btn_arrow", 8}};
        spy.clear();
        for (const auto &tool : tools) {
            button(bar, tool.first)->click();
            QCOMPARE(spy.takeFirst().at(0).toInt(), tool.second);
        }
        button(bar, "btn_arrow")->click();
        QCOMPARE(spy.takeFirst().at(0).toInt(), 0);
    }

    void actionRotateAndSaveSignals()
    {
        MyTitleBar bar;
        QSignalSpy actions(&bar, &MyTitleBar::sig_buttonClick);
        const QList<QPair<const char *, int>> expected = {
            {"btn_lowTemp", 9}, {"btn_highTemp", 10}, {"btn_color", 12}, {"btn_3d", 16}, {"btn_delete", 7}};
        for (const auto &entry : expected) {
            button(bar, entry.first)->click();
            QCOMPARE(actions.takeFirst().at(0).toInt(), entry.second);
        }
        QSignalSpy rotations(&bar, &MyTitleBar::sig_rotateButtonClick);
        button(bar, "btn_rorate")->click();
        button(bar, "btn_any")->click();
        QCOMPARE(rotations.count(), 2);
        QCOMPARE(rotations.at(0).at(0).toInt(), 0);
        QCOMPARE(rotations.at(1).at(0).toInt(), 1);

        QSignalSpy saves(&bar, &MyTitleBar::sig_saveBmp);
        bar.findChild<QPushButton *>("btn_savePage")->click();
        QCOMPARE(saves.count(), 1);

        QSignalSpy home(&bar, &MyTitleBar::sig_homePage_clicked);
        QSignalSpy report(&bar, &MyTitleBar::sig_reportPage_clicked);
        button(bar, "btn_homePage")->click();
        button(bar, "btn_reportPage")->click();
        QCOMPARE(home.count(), 1);
        QCOMPARE(report.count(), 1);
    }

    void wholeFrameAndAlarmButtons()
    {
        MyTitleBar bar;
        QSignalSpy spy(&bar, &MyTitleBar::sig_allTemp);
        QToolButton *allTemp = button(bar, "btn_allTemp");
        allTemp->click();
        QCOMPARE(spy.takeFirst().at(0).toBool(), true);
        QCOMPARE(allTemp->styleSheet(), kSelected);
        QVERIFY(showsIcon(allTemp, "alltemp-selected.svg"));
        allTemp->click();
        QCOMPARE(spy.takeFirst().at(0).toBool(), false);
        QCOMPARE(allTemp->styleSheet(), kNormal);
        QVERIFY(showsIcon(allTemp, "alltemp-defult.svg"));

        QToolButton *low = button(bar, "btn_lowTemp");
        QToolButton *high = button(bar, "btn_highTemp");
        bar.OnUpdateBtnStatus(9, true);
        QCOMPARE(low->styleSheet(), kSelected);
        QVERIFY(showsIcon(low, "lowTemp-selected.svg"));
        QCOMPARE(high->styleSheet(), kNormal);
        bar.OnUpdateBtnStatus(10, true);
        bar.OnUpdateBtnStatus(9, false);
        QVERIFY(showsIcon(low, "lowTemp-defult.svg"));
        QVERIFY(showsIcon(high, "highTemp-selected.svg"));
        // Other ids are ignored, the delete button keeps its look.
        const QImage deleteIcon = button(bar, "btn_delete")->icon().pixmap(26, 26).toImage();
        bar.OnUpdateBtnStatus(7, true);
        QCOMPARE(button(bar, "btn_delete")->icon().pixmap(26, 26).toImage(), deleteIcon);
        QCOMPARE(button(bar, "btn_delete")->styleSheet(), kNormal);
    }

    void pageLayouts()
    {
        MyTitleBar bar;
        const QStringList pageButtons = {"btn_homePage", "btn_savePage", "btn_reportPage", "btn_allTemp",
                                         "btn_more", "btn_point", "btn_line", "btn_rect", "btn_round",
                                         "btn_polygon", "btn_arrow", "btn_color", "btn_delete", "line",
                                         "line_2", "line_3", "btn_lowTemp", "btn_highTemp", "btn_3d",
                                         "btn_rorate"};
        const QStringList neverShown = {"btn_any"};
        const QStringList alwaysShown = {"label", "cmb_switchLang", "btn_minWindow", "btn_maxWindow", "btn_closeWindow"};
        auto hidden = [&bar](const QString &name) {
            QWidget *widget = bar.findChild<QWidget *>(name);
            if (!widget)
                qFatal("no widget %s", qPrintable(name));
            return widget->isHidden();
        };

        // The home page layout is the initial one.
        QVERIFY(!hidden("lab_logo"));
        for (const QString &name : pageButtons + neverShown)
            QVERIFY2(hidden(name), qPrintable(name));
        for (const QString &name : alwaysShown)
            QVERIFY2(!hidden(name), qPrintable(name));

        bar.on_showButton();
        QVERIFY(hidden("lab_logo"));
        for (const QString &name : pageButtons + alwaysShown)
            QVERIFY2(!hidden(name), qPrintable(name));
        for (const QString &name : neverShown)
            QVERIFY2(hidden(name), qPrintable(name));

        QSignalSpy home(&bar, &MyTitleBar::sig_homePage_clicked);
        bar.on_btn_homePage_clicked();
        QCOMPARE(home.count(), 1);
        QVERIFY(!hidden("lab_logo"));
        for (const QString &name : pageButtons + neverShown)
            QVERIFY2(hidden(name), qPrintable(name));
    }

    void moreMenu()
    {
        MyTitleBar bar;
        QSignalSpy sizes(&bar, &MyTitleBar::sig_setFontSize);
        QSignalSpy visible(&bar, &MyTitleBar::sig_itemVisible);
        QList<MyActionWdg *> entries;
        for (QAction *action : bar.moreMenu()->actions()) {
            if (auto *widgetAction = qobject_cast<QWidgetAction *>(action))
                entries << static_cast<MyActionWdg *>(widgetAction->defaultWidget());
        }
        QCOMPARE(entries.size(), 4);
        QCOMPARE(entries[1]->isSelected(), true);
        QCOMPARE(entries[0]->isSelected(), false);

        // Clicking an entry's widget triggers it.
        QTest::mouseClick(entries[0], Qt::LeftButton);
        QCOMPARE(sizes.takeFirst().at(0).toInt(), 6);
        QCOMPARE(entries[0]->isSelected(), true);
        QCOMPARE(entries[1]->isSelected(), false);
        QTest::mouseClick(entries[2], Qt::LeftButton);
        QCOMPARE(sizes.takeFirst().at(0).toInt(), 2);
        QCOMPARE(entries[0]->isSelected(), false);
        QCOMPARE(entries[2]->isSelected(), true);
        QTest::mouseClick(entries[1], Qt::LeftButton);
        QCOMPARE(sizes.takeFirst().at(0).toInt(), 4);
        QCOMPARE(entries[1]->isSelected(), true);
        QCOMPARE(entries[2]->isSelected(), false);

        QTest::mouseClick(entries[3], Qt::LeftButton);
        QCOMPARE(visible.takeFirst().at(0).toBool(), false);
        QCOMPARE(entries[3]->isSelected(), true);
        QTest::mouseClick(entries[3], Qt::LeftButton);
        QCOMPARE(visible.takeFirst().at(0).toBool(), true);
        QCOMPARE(entries[3]->isSelected(), false);
        QCOMPARE(sizes.count(), 0);
    }

    void windowButtons()
    {
        QWidget window;
        auto *bar = new MyTitleBar(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        button(*bar, "btn_closeWindow")->click();
        QVERIFY(!window.isVisible());
    }

    void maximiseAndRestore()
    {
        QWidget window;
        auto *bar = new MyTitleBar(&window);
        window.resize(900, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QToolButton *maximise = button(*bar, "btn_maxWindow");
        QVERIFY(!window.isMaximized());
        QVERIFY(showsIcon(maximise, "max-size.svg"));
        maximise->click();
        QTRY_VERIFY(window.isMaximized());
        QVERIFY(showsIcon(maximise, "restore-size.svg"));
        maximise->click();
        QTRY_VERIFY(!window.isMaximized());
        QVERIFY(showsIcon(maximise, "max-size.svg"));

        // A double click on the bar itself does the same.
        const QPoint empty = emptyPlace(bar);
        QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, empty);
        QTRY_VERIFY(window.isMaximized());
        QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, empty);
        QTRY_VERIFY(!window.isMaximized());
        // A state set from elsewhere shows too.
        window.showMaximized();
        QTRY_VERIFY(showsIcon(maximise, "restore-size.svg"));
    }

    void draggingTheBarMovesTheWindow()
    {
        QWidget window;
        auto *bar = new MyTitleBar(&window);
        window.resize(900, 300);
        window.move(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint start = window.pos();
        const QPoint empty = emptyPlace(bar);
        const QPoint pressed = bar->mapToGlobal(empty);
        // The pointer's global position is what counts: the bar moves under it.
        auto send = [bar, pressed](QEvent::Type type, const QPoint &moved, Qt::MouseButtons buttons) {
            const QPoint global = pressed + moved;
            QMouseEvent event(type, bar->mapFromGlobal(global), global,
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(bar, &event);
        };
        send(QEvent::MouseButtonPress, {}, Qt::LeftButton);
        send(QEvent::MouseMove, {20, 10}, Qt::LeftButton);
        send(QEvent::MouseMove, {60, 40}, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, {60, 40}, Qt::NoButton);
        QTRY_COMPARE(window.pos(), start + QPoint(60, 40));
        QVERIFY(!window.isMaximized()); // letting go leaves it where it is
        // Moving without a press moves nothing.
        send(QEvent::MouseMove, {90, 90}, Qt::NoButton);
        QCOMPARE(window.pos(), start + QPoint(60, 40));
    }
};

QTEST_MAIN(TestMyTitleBar)
#include "tst_mytitlebar.moc"
