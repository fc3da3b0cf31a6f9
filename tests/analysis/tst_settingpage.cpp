// The analysis page's picture display: rendering, span, the colour scale beside the picture and
// one span shared while paging.
#include "colourscalebar.h"
#include "settingpage.h"
#include "viewfixture.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
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

private slots:
    void initTestCase()
    {
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

    void sharedSpanSurvivesPaging()
    {
        SettingPage page;
        page.setupView(480, 640);
        page.resize(1600, 800);
        page.show();
        page.slot_selectImg(m_list, 0);
        QTRY_COMPARE(page.view()->measurementScene()->photoPath(), m_list[0]); // on show
        QTRY_VERIFY(copyPhotoRecord(m_list[2]).hasTemperature); // the whole list has loaded
        auto *scale = child<ColourScaleBar>(page, "colourScale");
        auto *temperatures = child<QRadioButton>(page, "radio_temperatures");
        auto *automatic = child<QCheckBox>(page, "check_automaticSpan");
        auto *low = child<QDoubleSpinBox>(page, "spin_spanLow");
        auto *high = child<QDoubleSpinBox>(page, "spin_spanHigh");
        auto *same = child<QCheckBox>(page, "check_sameSpan");
        const Palette iron = page.view()->measurementScene()->palettes()[2];

        // The embedded picture: the scale spans the photograph, and the span cannot be set.
        QTRY_COMPARE(scale->scale().high, copyPhotoRecord(m_list[0]).stats.max);
        QCOMPARE(scale->scale().low, 0.0f);
        QVERIFY(!scale->isDraggable());
        QVERIFY(!low->isEnabled() && !same->isEnabled());
        QVERIFY(!low->toolTip().isEmpty());

        // The temperatures over a typed span, 150 to 300 degrees.
        QVERIFY(temperatures->isEnabled());
        temperatures->click();
        QCOMPARE(copyPhotoRecord(m_list[0]).rendering, Rendering::Temperatures);
        QVERIFY(scale->isDraggable() && low->isEnabled() && automatic->isChecked());
        high->setValue(300.0);
        low->setValue(150.0);
        QCOMPARE(copyPhotoRecord(m_list[0]).span, (TemperatureSpan{false, 150.0f, 300.0f}));
        QVERIFY(!automatic->isChecked());
        QCOMPARE(scale->scale().low, 150.0f);
        QCOMPARE(scale->scale().high, 300.0f);
        QCOMPARE(shown(page).pixel(0, 15), iron[0]);   // 150.0
        QCOMPARE(shown(page).pixel(0, 30), iron[255]); // 300.0

        // Without sharing, the next photograph keeps its own rendering.
        turn(page, "btn_nextImg", m_list[1]);
        QCOMPARE(copyPhotoRecord(m_list[1]).rendering, Rendering::Embedded);
        QVERIFY(!scale->isDraggable());
        turn(page, "btn_prevImg", m_list[0]);

        // Shared: every photograph paged to is drawn over 150 to 300 degrees.
        same->click();
        QVERIFY(!automatic->isEnabled());
        turn(page, "btn_nextImg", m_list[1]);
        const TemperatureSpan shared{false, 150.0f, 300.0f};
        QCOMPARE(copyPhotoRecord(m_list[1]).rendering, Rendering::Temperatures);
        QCOMPARE(copyPhotoRecord(m_list[1]).span, shared);
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
        QCOMPARE(copyPhotoRecord(m_list[1]).span, narrower);
        QCOMPARE(high->value(), double(top));
        turn(page, "btn_nextImg", m_list[2]);
        QCOMPARE(copyPhotoRecord(m_list[2]).span, narrower);
        QCOMPARE(shown(page).pixel(0, 3), iron[255]); // 230.0
        turn(page, "btn_prevImg", m_list[1]);
        turn(page, "btn_prevImg", m_list[0]);
        QCOMPARE(copyPhotoRecord(m_list[0]).span, narrower);

        // A file without temperatures offers only its embedded picture and says why; sharing
        // stays on for the photographs after it.
        turn(page, "btn_nextImg", m_list[1]);
        turn(page, "btn_nextImg", m_list[2]);
        turn(page, "btn_nextImg", m_list[3]);
        QTRY_VERIFY(!scale->scale().known);
        QVERIFY(!temperatures->isEnabled());
        QVERIFY(!temperatures->toolTip().isEmpty());
        QVERIFY(child<QRadioButton>(page, "radio_embedded")->isChecked());
        QCOMPARE(copyPhotoRecord(m_list[3]).rendering, Rendering::Embedded);
        QVERIFY(same->isChecked() && same->isEnabled());

        // Back to the embedded picture: the span is no longer shared.
        turn(page, "btn_prevImg", m_list[2]);
        child<QRadioButton>(page, "radio_embedded")->click();
        QVERIFY(!same->isChecked());
        turn(page, "btn_prevImg", m_list[1]);
        high->setValue(260.0);
        turn(page, "btn_nextImg", m_list[2]);
        QCOMPARE(copyPhotoRecord(m_list[2]).rendering, Rendering::Embedded);
        QCOMPARE(copyPhotoRecord(m_list[2]).span, narrower);
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
