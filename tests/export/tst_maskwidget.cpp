#include "maskwidget.h"

#include <QDialog>
#include <QtTest>

class TestMaskWidget : public QObject
{
    Q_OBJECT
private slots:
    void followsNamedDialogs()
    {
        QWidget window;
        window.resize(640, 480);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        MaskWidget &mask = MaskWidget::instance();
        QCOMPARE(&mask, &MaskWidget::instance());
        mask.attachTo(&window);
        QCOMPARE(mask.size(), window.size());
        QCOMPARE(mask.parentWidget(), &window);
        QVERIFY(mask.isWindow()); // stays a window of its own above the main window
        mask.setNames({"OutputInfoWdg"});
        QCOMPARE(mask.property("names").toStringList(), QStringList{"OutputInfoWdg"});

        QDialog other;
        other.setObjectName("SomethingElse");
        other.show();
        QVERIFY(!mask.isVisible());
        other.hide();

        QDialog dialog;
        dialog.setObjectName("OutputInfoWdg");
        dialog.show();
        QVERIFY(mask.isVisible());
        dialog.hide();
        QVERIFY(!mask.isVisible());
    }

    void goesWithTheWidgetItCovers()
    {
        QPointer<MaskWidget> first;
        {
            QWidget page;
            first = &MaskWidget::instance();
            first->attachTo(&page);
        }
        QVERIFY(!first);
        QVERIFY(&MaskWidget::instance() != nullptr);
        MaskWidget::instance().setNames({"X"});
        QDialog dialog;
        dialog.setObjectName("X");
        dialog.show();
        QVERIFY(MaskWidget::instance().isVisible());
    }
};

QTEST_MAIN(TestMaskWidget)
#include "tst_maskwidget.moc"
