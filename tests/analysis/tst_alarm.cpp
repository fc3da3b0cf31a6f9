#include "../grablightness.h"
#include "heatmapdata.h"
#include "mymsgboxdlg.h"
#include "rangeslider.h"
#include "tempalertdlg.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// Confirms every message box shown while it lives, polling from a timer so that it also runs
// inside the box's own modal loop.
struct MessageBoxCloser : QObject
{
    QStringList texts;
    QTimer timer;
    MessageBoxCloser()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<MyMsgBoxDlg *>(QApplication::activeModalWidget())) {
                texts << box->findChild<QLabel *>("lab_text")->text();
                box->findChild<QPushButton *>("btn_confirm")->click();
            }
        });
        timer.start(20);
    }
};

} // namespace

class TestAlarm : public QObject
{
    Q_OBJECT
private slots:
    void thresholdValidation()
    {
        TempAlertDlg high(1);
        QCOMPARE(high.windowTitle(), QString::fromUtf8("设置高温报警"));
        QCOMPARE(TempAlertDlg(0).windowTitle(), QString::fromUtf8("设置低温报警"));
        high.show();
        {
            MessageBoxCloser closer;
            high.findChild<QPushButton *>("btn_ok")->click();
            QCOMPARE(closer.texts, QStringList{QString::fromUtf8("温度不能为空")});
        }
        QVERIFY(high.isVisible()); // stays open for a threshold
        QCOMPARE(high.result(), 0);
        high.findChild<QLineEdit *>("edit_temp")->setText("36.5");
        high.findChild<QPushButton *>("btn_ok")->click();
        QCOMPARE(high.result(), int(QDialog::Accepted));
        QCOMPARE(high.threshold(), 36.5f);

        // Text that is no number is refused, not read as 0 °C.
        TempAlertDlg low(0);
        low.show();
        low.findChild<QLineEdit *>("edit_temp")->setText("abc");
        {
            MessageBoxCloser closer;
            low.findChild<QPushButton *>("btn_ok")->click();
            QCOMPARE(closer.texts, QStringList{QString::fromUtf8("温度必须是数字")});
        }
        QCOMPARE(low.result(), 0);
        low.findChild<QLineEdit *>("edit_temp")->setText(" -5 ");
        low.findChild<QPushButton *>("btn_ok")->click();
        QCOMPARE(low.result(), int(QDialog::Accepted));
        QCOMPARE(low.threshold(), -5.0f);
        TempAlertDlg cancelled(0);
        cancelled.findChild<QPushButton *>("btn_cancel")->click();
        QCOMPARE(cancelled.result(), int(QDialog::Rejected));
    }

    // Made without a parent, it still has the program's dark look: dark grey with light
    // texts, its buttons' texts visible.
    void darkLikeTheProgram()
    {
        TempAlertDlg dialog(1);
        dialog.findChild<QLineEdit *>("edit_temp")->setText("88");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const Lightness whole = lightness(&dialog);
        QVERIFY2(whole.dark > 0.8 && whole.someLight(), qPrintable(QString::number(whole.dark)));
        for (QWidget *part : dialog.findChildren<QWidget *>()) {
            const Lightness look = lightness(part);
            QVERIFY2(look.light < 0.4 && look.someLight(), qPrintable(part->objectName()));
        }
    }

    void sliderRangeAndValues()
    {
        RangeSlider slider(Qt::Horizontal, RangeSlider::DoubleHandles);
        QSignalSpy ranges(&slider, &RangeSlider::rangeChanged);
        slider.setMinimum(150); // above the maximum: the ranges swap
        QCOMPARE(slider.minimum(), 100);
        QCOMPARE(slider.maximum(), 150);
        QCOMPARE(ranges.takeFirst(), (QList<QVariant>{100, 150}));
        slider.setMaximum(20);
        QCOMPARE(slider.minimum(), 20);
        QCOMPARE(slider.maximum(), 100);
        slider.setRange(-8, 73);
        QCOMPARE(slider.minimum(), -8);
        QCOMPARE(slider.maximum(), 73);
        // A range wholly above the current one, then wholly below it.
        slider.setRange(200, 300);
        QCOMPARE(slider.minimum(), 200);
        QCOMPARE(slider.maximum(), 300);
        slider.setRange(-8, 73);
        QCOMPARE(slider.minimum(), -8);
        QCOMPARE(slider.maximum(), 73);
        QSignalSpy lower(&slider, &RangeSlider::lowerValueChanged);
        slider.setLowerValue(-50);
        QCOMPARE(slider.lowerValue(), -8);
        QCOMPARE(lower.takeFirst().at(0).toInt(), -8);
        slider.setUpperValue(500);
        QCOMPARE(slider.upperValue(), 73);
    }

    void sliderMouse()
    {
        RangeSlider slider(Qt::Horizontal, RangeSlider::DoubleHandles);
        slider.resize(222, 20); // usable length 222 - 22 - 2 = 198
        QCOMPARE(slider.usableLength(), 198);
        slider.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slider));
        // Interval 5: a press between the handles pages by 1; interval 250: by 25.
        slider.setRange(0, 5);
        slider.setLowerValue(0);
        slider.setUpperValue(5);
        QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(40, 10)); // nearer the first handle
        QCOMPARE(slider.lowerValue(), 1);
        slider.setRange(0, 250);
        slider.setLowerValue(0);
        slider.setUpperValue(250);
        QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
        QCOMPARE(slider.lowerValue(), 25);
        QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(180, 10)); // nearer the second
        QCOMPARE(slider.upperValue(), 225);

        // Dragging the first handle onto the second makes the values equal.
        slider.setLowerValue(0);
        slider.setUpperValue(100);
        QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(5, 10)); // on the first handle
        QMouseEvent drag(QEvent::MouseMove, QPointF(200, 10), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&slider, &drag);
        QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(200, 10));
        QCOMPARE(slider.lowerValue(), 100);
        QCOMPARE(slider.upperValue(), 100);
    }

    void legend()
    {
        QStringList texts;
        QList<int> heights;
        for (const LegendTick &t : legendTicks(28.0f, 20.0f)) {
            texts << t.text;
            heights << t.height;
        }
        const QString c = QString::fromUtf8("℃");
        QCOMPARE(texts, (QStringList{"28.0" + c, "27.0" + c, "26.0" + c, "25.0" + c, "24.0" + c, "23.0" + c,
                                     "22.0" + c, "20.0" + c}));
        QCOMPARE(heights.first(), 10);
        QCOMPARE(heights.last(), 388);
        // Equal maximum and minimum: eight equal labels.
        const QVector<LegendTick> flat = legendTicks(31.5f, 31.5f);
        QCOMPARE(flat.size(), 8);
        for (const LegendTick &t : flat)
            QCOMPARE(t.text, "31.5" + c);
        // A pixel without reading makes the maximum 65536: the widest scale.
        QCOMPARE(legendTicks(65536.0f, -8.0f).size(), 19);
        QCOMPARE(legendTicks(65536.0f, -8.0f).last().height, 388);
        QCOMPARE(legendTicks(100.0f, 0.0f).size(), 12);
        QCOMPARE(legendTicks(100.0f, 0.0f).last().height, 384);
        QCOMPARE(legendTicks(40.0f, 0.0f).size(), 10);
        QCOMPARE(legendTicks(200.0f, 0.0f).size(), 15);
    }

    void surfaceData()
    {
        const TemperatureMatrix m = {{20.5f, 21.0f, 22.25f}, {19.0f, 65536.0f, 18.5f}};
        std::unique_ptr<QtDataVisualization::QSurfaceDataArray> rows(surfaceDataArray(m, 3, 2));
        QVERIFY(rows);
        QCOMPARE(rows->size(), 3); // one row per image column
        for (int x = 0; x < 3; ++x) {
            QCOMPARE(rows->at(x)->size(), 2); // one item per image row
            for (int y = 0; y < 2; ++y)
                QCOMPARE(rows->at(x)->at(y).position(), QVector3D(float(y), m[std::size_t(y)][std::size_t(x)], float(x)));
        }
        for (int x = 0; x < 3; ++x)
            delete rows->at(x);
        // A matrix smaller than the picture is refused, nothing read past it.
        QVERIFY(!surfaceDataArray(m, 4, 2));
        QVERIFY(!surfaceDataArray(m, 3, 3));
        QVERIFY(!surfaceDataArray(TemperatureMatrix{}, 1, 1));
    }
};

QTEST_MAIN(TestAlarm)
#include "tst_alarm.moc"
