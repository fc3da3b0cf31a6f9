#include "naturalorder.h"

#include <QtTest>

#include <algorithm>

class TestNaturalOrder : public QObject
{
    Q_OBJECT

private slots:
    void naturalOrder()
    {
        QStringList names = {"P10", "Poly1", "P2", "L1", "P1", "Re1", "P002", "Ro10", "Ro9"};
        std::sort(names.begin(), names.end(), naturalLess);
        QCOMPARE(names, (QStringList{"L1", "P1", "P002", "P2", "P10", "Poly1", "Re1", "Ro9", "Ro10"}));
        QVERIFY(!naturalLess("P2", "P2"));
        QVERIFY(naturalLess("P", "P1"));
        QVERIFY(naturalLess("IR_0009.jpg", "IR_0010.jpg"));
        QVERIFY(naturalLess("P99999999999999999999", "P100000000000000000000")); // beyond any integer
    }

    void fileNames()
    {
        QStringList names = {"IR_0001_10.jpg", "c.jpg", "IR_0001_2.jpg", "B.jpg", "IR_0001.jpg", "b.jpg",
                             "IR_0002.jpg", "a.b.jpg", "a.jpg", "IR_0001_1.jpg"};
        std::sort(names.begin(), names.end(), naturalFileNameLess);
        QCOMPARE(names, (QStringList{"a.b.jpg", "a.jpg", "B.jpg", "b.jpg", "c.jpg", "IR_0001.jpg", "IR_0001_1.jpg",
                                     "IR_0001_2.jpg", "IR_0001_10.jpg", "IR_0002.jpg"}));
        QVERIFY(!naturalFileNameLess("b.jpg", "b.jpg"));
        QVERIFY(naturalFileNameLess("b.jpg", "C.jpg"));
        QVERIFY(!naturalFileNameLess("C.jpg", "b.jpg"));
    }
};

QTEST_MAIN(TestNaturalOrder)
#include "tst_naturalorder.moc"
