// The measurement value without any widget: its JSON, the sidecar's layout key, and the
// mapping between the photograph's pixels and the scene that statistics read through.

#include "measurement.h"
#include "picturemapping.h"
#include "regionstatistics.h"
#include "sidecar.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <random>

namespace {

Measurement make(ItemKind kind, const QString &name, QVector<QPointF> points, double radius = 0)
{
    Measurement m;
    m.kind = kind;
    m.name = name;
    m.colour = QColor(12, 200, 99, kind == KindLine ? 128 : 255);
    m.penWidth = 2 + kind;
    m.points = std::move(points);
    m.radius = radius;
    return m;
}

Layout sampleLayout()
{
    return {make(KindPoint, "P1", {{1.0 / 3, 511.999999}}),
            make(KindLine, "L2", {{600.25, 3}, {0.1 + 0.2, 400}}),
            make(KindRect, "Re1", {{10, 20}, {300.5, 200.125}}),
            make(KindRound, "Ro7", {{320, 256}}, 37.000000001),
            make(KindPolygon, QString::fromUtf8("多边形1"), {{1, 1}, {100, 2}, {50, 99.9}, {3e-7, 40}})};
}

} // namespace

class TestMeasurement : public QObject
{
    Q_OBJECT

private slots:
    void jsonRoundTripKeepsEveryBit()
    {
        const Layout layout = sampleLayout();
        const QByteArray text = QJsonDocument(layoutToJson(layout)).toJson();
        QStringList skipped;
        const Layout read = layoutFromJson(QJsonDocument::fromJson(text).array(), &skipped);
        QVERIFY2(skipped.isEmpty(), qPrintable(skipped.join("; ")));
        QCOMPARE(read.size(), layout.size());
        for (int i = 0; i < layout.size(); ++i) {
            QCOMPARE(read[i].kind, layout[i].kind);
            QCOMPARE(read[i].name, layout[i].name);
            QCOMPARE(read[i].colour, layout[i].colour);
            QCOMPARE(read[i].penWidth, layout[i].penWidth);
            QCOMPARE(read[i].radius, layout[i].radius);
            QCOMPARE(read[i].points.size(), layout[i].points.size());
            for (int k = 0; k < layout[i].points.size(); ++k) {
                QVERIFY(read[i].points[k].x() == layout[i].points[k].x());
                QVERIFY(read[i].points[k].y() == layout[i].points[k].y());
            }
        }
        QVERIFY(sameLayout(read, layout));
        Layout moved = layout;
        moved[2].points[1].rx() += 1e-3;
        QVERIFY(!sameLayout(moved, layout));
    }

    void entriesThatAreNoMeasurementAreSkipped()
    {
        const QJsonObject good = measurementToJson(sampleLayout()[0]);
        auto with = [&good](const char *key, const QJsonValue &value) {
            QJsonObject o = good;
            o[key] = value;
            return o;
        };
        QJsonObject noName = good;
        noName.remove("name");
        const QJsonObject second = measurementToJson(sampleLayout()[3]);
        QJsonObject negative = second;
        negative["radius"] = -1;
        const QJsonArray array{good,
                               QJsonValue("P9"),
                               with("kind", "triangle"),
                               noName,
                               with("colour", "not a colour"),
                               with("width", 0),
                               with("width", 2.5),
                               with("points", QJsonArray{QJsonArray{1, 2}, QJsonArray{3, 4}}),
                               with("points", QJsonArray{QJsonArray{1, "x"}}),
                               with("points", QJsonArray{QJsonArray{1e300, 2}}),
                               negative,
                               with("name", "P1"), // taken by the first entry
                               second};
        QStringList skipped;
        const Layout layout = layoutFromJson(array, &skipped);
        QCOMPARE(layout.size(), 2);
        QCOMPARE(layout[0].name, QString("P1"));
        QCOMPARE(layout[1].name, QString("Ro7"));
        QCOMPARE(skipped.size(), 11);
        QVERIFY(skipped.first().startsWith("2: "));
        QVERIFY(skipped.last().startsWith("12: "));
    }

    void mappingRoundTripsAndMeetsTheTurnedPixels()
    {
        const QSize frame(64, 48);
        std::mt19937 random(7);
        std::uniform_real_distribution<double> u(0, 1);
        for (int turns = 0; turns < 4; ++turns) {
            PictureMapping mapping;
            mapping.frame = frame;
            mapping.turns = turns;
            mapping.image = turns % 2 ? QRectF(11, 7, 307.2, 512) : QRectF(11, 7, 800, 613.5);
            const QSize turned = mapping.turnedFrame();
            for (int i = 0; i < 200; ++i) {
                const QPointF p(u(random) * frame.width(), u(random) * frame.height());
                const QPointF back = mapping.toPixel(mapping.toScene(p));
                QVERIFY2(std::abs(back.x() - p.x()) < 1e-9 && std::abs(back.y() - p.y()) < 1e-9,
                         qPrintable(QString("turns %1").arg(turns)));
            }
            // Every pixel's centre lands on the pixel it becomes after the turns, as the
            // statistics read the turned matrix.
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x) {
                    QPoint expected(x, y);
                    int width = frame.width();
                    for (int t = 0; t < turns; ++t) {
                        expected = quarterTurn(expected, width);
                        width = t % 2 ? frame.width() : frame.height();
                    }
                    const QPointF scene = mapping.toScene(QPointF(x + 0.5, y + 0.5));
                    QCOMPARE(sceneToPixel(scene, mapping.image, turned.width(), turned.height()), expected);
                }
            QCOMPARE(mapping.radiusToPixels(mapping.radiusToScene(13.0)), 13.0);
        }
    }

    void sidecarKeepsTheLayoutBesideTheSettings()
    {
        QTemporaryDir dir;
        const QString photo = dir.filePath("IR_0001.jpg");
        const QJsonArray layout = layoutToJson(sampleLayout());

        // An empty layout makes no file; a layout does, and settings written later keep it.
        QVERIFY(writeSidecarLayout(photo, QJsonArray(), nullptr));
        QVERIFY(!QFile::exists(sidecarPath(photo)));
        QVERIFY(writeSidecarLayout(photo, layout, nullptr));
        PhotoSettings settings;
        QVERIFY(readSidecar(photo, settings, nullptr));
        QVERIFY(settings.isDefault());
        settings.paletteIndex = 3;
        QVERIFY(writeSidecar(photo, settings, nullptr));
        QJsonArray read;
        QVERIFY(readSidecarLayout(photo, read, nullptr));
        QCOMPARE(read, layout);

        // And the layout written again keeps the settings.
        QVERIFY(writeSidecarLayout(photo, QJsonArray{layout[1]}, nullptr));
        PhotoSettings again;
        QVERIFY(readSidecar(photo, again, nullptr));
        QCOMPARE(again.paletteIndex, 3);
        QVERIFY(readSidecarLayout(photo, read, nullptr));
        QCOMPARE(read, QJsonArray{layout[1]});

        // A sidecar that cannot be written says so.
        const QString blocked = dir.filePath("IR_0002.jpg");
        QVERIFY(QDir().mkpath(sidecarPath(blocked)));
        QString error;
        QVERIFY(!writeSidecarLayout(blocked, layout, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMeasurement)
#include "tst_measurement.moc"
