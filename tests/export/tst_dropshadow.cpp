// The frameless dialogs' shadow: drawn only where windows can be translucent; elsewhere it would
// show as a black band, so the panel fills the window.
#include "dropshadow.h"
#include "myprogressdlg.h"
#include "mymsgboxdlg.h"
#include "outputinfowdg.h"
#include "translucentwindows.h"

#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {

const QRgb kPanel = qRgb(0x33, 0x33, 0x33);

} // namespace

class TestDropShadow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setTranslucentWindowsCheck({}); }

    void widthFollowsTheCheck()
    {
        setTranslucentWindowsCheck([] { return false; });
        QVERIFY(!translucentWindows());
        QCOMPARE(dropShadowWidth(), 0);
        setTranslucentWindowsCheck([] { return true; });
        QCOMPARE(dropShadowWidth(), 10);
        setTranslucentWindowsCheck({});
        QVERIFY(translucentWindows()); // not X11: the platform composes
    }

    // A rounded menu's margin and corners are transparent only where they show what lies
    // behind (the menus always were, and showed black on a bare X server).
    void menus_data() { dialogs_data(); }
    void menus()
    {
        QFETCH(bool, translucent);
        setTranslucentWindowsCheck([=] { return translucent; });
        QMenu menu;
        menu.setStyleSheet("QMenu {background: #444444; border-radius: 6px; margin-top: 5px;}");
        menu.addAction("entry");
        fitMenuCorners(&menu);
        QCOMPARE(menu.testAttribute(Qt::WA_TranslucentBackground), translucent);
        QCOMPARE(menu.styleSheet().contains("margin: 0px"), !translucent);
    }

    void dialogs_data()
    {
        QTest::addColumn<bool>("translucent");
        QTest::newRow("compositor") << true;
        QTest::newRow("none") << false;
    }

    // The panel keeps its size and its contents their places on it; only the shadow around it
    // comes and goes, and without it no pixel of the window is transparent.
    void dialogs()
    {
        QFETCH(bool, translucent);
        setTranslucentWindowsCheck([=] { return translucent; });
        const int s = translucent ? 10 : 0;
        const auto corner = [](QWidget &widget) { return widget.grab().toImage().pixel(0, 0); };

        MyMsgBoxDlg box("title", QPixmap(), "text", MyMsgBoxDlg::BothButtons);
        QCOMPARE(box.size(), QSize(400 + 2 * s, 190 + 2 * s));
        QCOMPARE(box.testAttribute(Qt::WA_TranslucentBackground), translucent);
        QCOMPARE(box.findChild<QLabel *>("lab_title")->pos(), QPoint(30 + s, 20 + s));
        QCOMPARE(box.findChild<QPushButton *>("btn_confirm")->geometry().bottomRight(),
                 QPoint(s + 400 - 25 - 1, s + 190 - 55 + 32 - 1));
        box.setDetails("heading", {"a line"});
        QCOMPARE(box.size(), QSize(600 + 2 * s, 440 + 2 * s));
        QCOMPARE(qAlpha(corner(box)), translucent ? 0 : 255);
        if (!translucent)
            QCOMPARE(corner(box), kPanel);

        MyProgressDlg progress("title", 0, 10);
        QCOMPARE(progress.size(), QSize(620 + 2 * s, 198 + 2 * s));
        QCOMPARE(progress.layout()->contentsMargins(), QMargins(30 + s, 14 + s, 30 + s, 20 + s));
        QCOMPARE(progress.testAttribute(Qt::WA_TranslucentBackground), translucent);
        QCOMPARE(qAlpha(corner(progress)), translucent ? 0 : 255);

        OutputInfoWdg output;
        QCOMPARE(output.size(), QSize(1020 + 2 * s, 720 + 2 * s));
        QCOMPARE(output.layout()->contentsMargins(), QMargins(9 + s, 9 + s, 9 + s, 9 + s));
        QCOMPARE(output.testAttribute(Qt::WA_TranslucentBackground), translucent);
        if (!translucent)
            QCOMPARE(corner(output), kPanel);
    }
};

QTEST_MAIN(TestDropShadow)
#include "tst_dropshadow.moc"
