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

    void dimsThePictureOfTheWindowBeneath()
    {
        // Without a compositing manager a translucent window shows black: the mask paints the
        // window's own picture, darkened, over it.
        QWidget window;
        window.setStyleSheet("background-color: rgb(200, 120, 60);");
        window.resize(320, 240);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        MaskWidget &mask = MaskWidget::instance();
        mask.attachTo(&window);
        window.resize(400, 300); // after attaching: the mask follows when it shows
        mask.setNames({"Dimmed"});
        QDialog dialog;
        dialog.setObjectName("Dimmed");
        dialog.show();
        QVERIFY(mask.isVisible());
        QCOMPARE(mask.size(), window.size());
        const QImage painted = mask.grab().toImage();
        for (const QPoint &at : {QPoint(5, 5), QPoint(200, 150), QPoint(395, 295)}) {
            const QColor pixel = painted.pixelColor(at);
            QVERIFY2(pixel.red() < 200 && pixel.green() < 120 && pixel.blue() < 60,
                     qPrintable(pixel.name()));
            // Still the window's colour, darkened by 40 %.
            QVERIFY2(qAbs(pixel.red() - 120) <= 2 && qAbs(pixel.green() - 72) <= 2 && qAbs(pixel.blue() - 36) <= 2,
                     qPrintable(pixel.name()));
        }
        dialog.hide();
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
