#include "colourscalebar.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

class TestColourScaleBar : public QObject
{
    Q_OBJECT

    QVector<Palette> m_palettes;

    static TemperatureScale scaleOf(float low, float high, TemperatureUnit unit = TemperatureUnit::Celsius)
    {
        TemperatureScale scale;
        scale.known = true;
        scale.low = low;
        scale.high = high;
        scale.unit = unit;
        return scale;
    }

    static QStringList texts(const QVector<ScaleLabel> &labels)
    {
        QStringList out;
        for (const ScaleLabel &label : labels)
            out << label.text;
        return out;
    }

    // A drag on the bar from one height to another, in the widget's coordinates.
    static void drag(ColourScaleBar &bar, int fromY, int toY)
    {
        const int x = bar.barRect().center().x();
        QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(x, fromY));
        QMouseEvent move(QEvent::MouseMove, QPointF(x, toY), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&bar, &move);
        QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(x, toY));
    }

private slots:
    void initTestCase() { QVERIFY(loadPalettes(m_palettes)); }

    void texts()
    {
        // Top down: the high end, the ticks between, the low end, in the scale's unit.
        QCOMPARE(texts(scaleLabels(scaleOf(20.0f, 60.0f), 5)),
                 QStringList({"60.0℃", "50℃", "40℃", "30℃", "20.0℃"}));
        QCOMPARE(texts(scaleLabels(scaleOf(21.3f, 23.9f), 5)),
                 QStringList({"23.9℃", "23.5℃", "23.0℃", "22.5℃", "22.0℃", "21.5℃", "21.3℃"}));
        QCOMPARE(texts(scaleLabels(scaleOf(0.0f, 100.0f, TemperatureUnit::Fahrenheit), 5)),
                 QStringList({"212.0℉", "200℉", "150℉", "100℉", "50℉", "32.0℉"}));
        QCOMPARE(texts(scaleLabels(scaleOf(-0.04f, 0.5f), 0)), QStringList({"0.5℃", "0.0℃"}));
        QCOMPARE(texts(scaleLabels(scaleOf(0.0f, 1.0f, TemperatureUnit::Kelvin), 1)),
                 QStringList({"274.1K", "274K", "273.1K"}));
        QCOMPARE(texts(scaleLabels(TemperatureScale(), 5)), QStringList({"NA", "NA"}));
        const QVector<ScaleLabel> labels = scaleLabels(scaleOf(20.0f, 60.0f), 5);
        QVERIFY(labels.first().end && labels.last().end && !labels[1].end);
        QCOMPARE(labels[1].value, 50.0);
    }

    void paintsThePaletteBottomToTop()
    {
        ColourScaleBar bar;
        QFont font = bar.font();
        font.setPixelSize(14); // as the page's style sets it: the same on every device
        bar.setFont(font);
        bar.resize(bar.sizeHint().width(), 300);
        const Palette &iron = m_palettes[2];
        bar.setScale(iron, scaleOf(20.0f, 60.0f), true);
        const QImage image = bar.grab().toImage();
        const QRect r = bar.barRect();
        QVERIFY(r.height() > 256);
        QCOMPARE(image.pixel(r.center().x(), r.top()), iron[255]);
        QCOMPARE(image.pixel(r.center().x(), r.bottom()), iron[0]);
        const int middle = iron.indexOf(image.pixel(r.center().x(), r.top() + r.height() / 2));
        QVERIFY2(middle >= 126 && middle <= 129, qPrintable(QString::number(middle)));
        // A bar shorter than the palette still ends in its first and last entries.
        {
            ColourScaleBar shortBar;
            shortBar.resize(shortBar.sizeHint().width(), 100);
            shortBar.setScale(iron, scaleOf(20.0f, 60.0f), true);
            const QImage small = shortBar.grab().toImage();
            const QRect s = shortBar.barRect();
            QCOMPARE(small.pixel(s.center().x(), s.top()), iron[255]);
            QCOMPARE(small.pixel(s.center().x(), s.bottom()), iron[0]);
        }
        // Without temperatures no colour stands for one: the bar is plain.
        {
            ColourScaleBar unknown;
            unknown.resize(unknown.sizeHint().width(), 300);
            unknown.setScale(iron, TemperatureScale(), false);
            const QImage plain = unknown.grab().toImage();
            const QRect u = unknown.barRect();
            QCOMPARE(plain.pixel(u.center().x(), u.top()), plain.pixel(u.center().x(), u.bottom()));
            QVERIFY(!iron.contains(plain.pixel(u.center().x(), u.top())));
        }
        // Something is written beside the bar, at the ends and between them.
        bool written = false;
        for (int x = r.right() + 10; x < image.width() && !written; ++x)
            written = image.pixel(x, r.top() + r.height() / 2) != image.pixel(image.width() - 1, 0);
        QVERIFY(written);

        // The same into any painter (the snapshots).
        QImage drawn(bar.size(), QImage::Format_RGB32);
        QPainter painter(&drawn);
        paintColourScale(painter, drawn.rect(), iron, scaleOf(20.0f, 60.0f), bar.font(), true);
        painter.end();
        QCOMPARE(drawn, image.convertToFormat(QImage::Format_RGB32));
    }

    void draggingTheEnds()
    {
        ColourScaleBar bar;
        bar.resize(bar.sizeHint().width(), 300);
        bar.setScale(m_palettes[2], scaleOf(20.0f, 60.0f), true);
        QSignalSpy dragged(&bar, &ColourScaleBar::sig_spanDragged);
        QSignalSpy finished(&bar, &ColourScaleBar::sig_dragFinished);
        const QRect r = bar.barRect();
        const int top = r.top(), bottom = r.bottom() + 1, height = bottom - top;

        // The top end to the middle: 60 becomes 40, the low end stays.
        drag(bar, top, top + height / 2);
        QCOMPARE(dragged.count(), 1);
        QCOMPARE(dragged.last().at(0).toFloat(), 20.0f);
        QCOMPARE(dragged.last().at(1).toFloat(), 40.0f);
        QCOMPARE(finished.count(), 1);
        // The bottom end a quarter up: 20 becomes 30 (the bar stands as it was, 20 to 60).
        drag(bar, bottom, bottom - height / 4);
        QCOMPARE(dragged.last().at(0).toFloat(), 30.0f);
        QCOMPARE(dragged.last().at(1).toFloat(), 60.0f);
        // Past the other end: a tenth of a degree stays between them.
        drag(bar, top, bottom + 50);
        QCOMPARE(dragged.last().at(1).toFloat(), 20.1f);
        // Above the bar the span grows; the new end is rounded to a tenth.
        drag(bar, top, top - height / 3);
        const double grown = 20.0 + double(height + height / 3) / height * 40.0;
        QCOMPARE(dragged.last().at(1).toFloat(), float(std::round(grown * 10) / 10));
        QVERIFY(grown > 72.0 && grown < 74.0);

        // A press away from both ends moves nothing.
        const int before = dragged.count();
        drag(bar, top + height / 2, top + height / 3);
        QCOMPARE(dragged.count(), before);
        QCOMPARE(finished.count(), before);

        // Not draggable (the embedded picture, or no temperatures): nothing moves.
        bar.setScale(m_palettes[2], scaleOf(20.0f, 60.0f), false);
        drag(bar, top, top + height / 2);
        QCOMPARE(dragged.count(), before);
        bar.setScale(m_palettes[2], TemperatureScale(), true);
        QVERIFY(!bar.isDraggable());
    }

    void draggingInFahrenheit()
    {
        // 0 to 100 °C reads 32 to 212 °F; the dragged end lands on a tenth of a °F.
        ColourScaleBar bar;
        bar.resize(bar.sizeHint().width(), 300);
        bar.setScale(m_palettes[2], scaleOf(0.0f, 100.0f, TemperatureUnit::Fahrenheit), true);
        QSignalSpy dragged(&bar, &ColourScaleBar::sig_spanDragged);
        const QRect r = bar.barRect();
        drag(bar, r.top(), r.top() + 7);
        QCOMPARE(dragged.count(), 1);
        QCOMPARE(dragged.last().at(0).toFloat(), 0.0f);
        const double fahrenheit = fromCelsius(dragged.last().at(1).toFloat(), TemperatureUnit::Fahrenheit);
        QVERIFY(std::abs(fahrenheit * 10 - std::round(fahrenheit * 10)) < 1e-3);
        QVERIFY(fahrenheit < 212.0 && fahrenheit > 200.0);
    }
};

QTEST_MAIN(TestColourScaleBar)
#include "tst_colourscalebar.moc"
