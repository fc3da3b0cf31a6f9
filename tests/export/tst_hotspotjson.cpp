// The anomaly line `qct hotspots` prints is formatted by hand for speed; it must stay byte for
// byte what Qt's JSON writer makes of the same object, whatever the numbers and the path.
#include "hotspotjson.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(HotSpot)

class TestHotSpotJson : public QObject
{
    Q_OBJECT

    static QByteArray byQt(const QString &path, const HotSpot &spot)
    {
        return QJsonDocument(hotSpotJson(path, spot)).toJson(QJsonDocument::Compact) + '\n';
    }

private slots:
    void sameAsQtWriter_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<HotSpot>("spot");
        HotSpot plain;
        plain.area = 1534;
        plain.bounds = QRect(168, 240, 45, 41);
        plain.centroid = QPointF(189.9973924380704, 261.3754889178618);
        plain.severity = 3;
        plain.max = 70.3f;
        plain.reference = 34.3f;
        plain.deltaT = plain.max - plain.reference;
        plain.maxPos = QPoint(192, 262);
        QTest::newRow("a scene's anomaly") << "/flight/IR_0001.jpg" << plain;
        HotSpot normalised = plain;
        normalised.deltaTNormalised = 31.25;
        QTest::newRow("normalised") << "IR_0001.jpg" << normalised;
        HotSpot cold = plain;
        cold.max = -12.5f;
        cold.reference = -40.0000153f;
        cold.deltaT = 1.0e-6f;
        cold.deltaTNormalised = 1.25e-7;
        cold.centroid = QPointF(0.5, 1e-5);
        QTest::newRow("negative and tiny") << "a" << cold;
        HotSpot odd = plain;
        odd.max = std::numeric_limits<float>::infinity();
        odd.reference = std::numeric_limits<float>::quiet_NaN();
        odd.deltaT = 123456789.0f;
        odd.deltaTNormalised = 3.0e38;
        odd.centroid = QPointF(1e22, 640.0);
        odd.area = 1000000;
        QTest::newRow("not finite and huge") << "b" << odd;
        HotSpot tie = plain;
        tie.max = 100.2265625f; // halfway at the ninth digit
        QTest::newRow("a tie at the ninth digit") << "c" << tie;
        // Either side of where Qt's writer turns to an exponent.
        const float edges[] = {0.0f, -0.0f, 0.01f, 0.00999999f, -0.0100001f, 1e-4f, 9998.99f, 9999.0f, 9999.99995f,
                               -9999.9999f, 10000.0f, 99999.0f, 1e6f, 1.5e7f};
        for (const float edge : edges) {
            HotSpot at = plain;
            at.max = edge;
            at.reference = -edge;
            at.deltaT = edge * 0.5f;
            at.deltaTNormalised = double(edge) * 3.0;
            at.centroid = QPointF(double(edge), double(edge) / 3.0);
            QTest::newRow(qPrintable(QString("edge %1").arg(double(edge), 0, 'g', 9))) << "d" << at;
        }
        QTest::newRow("a path to escape") << QString("C:\\fl\"ight\"/\t\n\x01/赤外線 é/IR_1.jpg") << plain;
        auto *random = QRandomGenerator::global();
        for (int i = 0; i < 2000; ++i) {
            HotSpot spot;
            spot.area = i < 100 ? int(random->bounded(1000)) : int(random->bounded(1 << 22));
            spot.bounds = QRect(int(random->bounded(640)), int(random->bounded(512)), 1 + int(random->bounded(640)), 1 + int(random->bounded(512)));
            spot.centroid = QPointF(random->bounded(640.0), random->bounded(512.0) / double(1 + random->bounded(7)) * std::pow(10.0, double(random->bounded(-4, 5))));
            spot.severity = 1 + int(random->bounded(3));
            spot.max = float((random->bounded(400.0) - 50.0) * std::pow(10.0, double(random->bounded(-4, 5))));
            spot.reference = float(random->bounded(100.0) - 40.0);
            spot.deltaT = spot.max - spot.reference;
            if (i % 2)
                spot.deltaTNormalised = double(spot.deltaT) * 1000.0 / (1.0 + random->bounded(1200.0));
            spot.maxPos = QPoint(int(random->bounded(640)), int(random->bounded(512)));
            QTest::newRow(qPrintable(QString("random %1").arg(i))) << QString("IR_%1.jpg").arg(i) << spot;
        }
    }
    void sameAsQtWriter()
    {
        QFETCH(QString, path);
        QFETCH(HotSpot, spot);
        QCOMPARE(hotSpotJsonLine(jsonQuoted(path), spot), byQt(path, spot));
    }
};

QTEST_GUILESS_MAIN(TestHotSpotJson)
#include "tst_hotspotjson.moc"
