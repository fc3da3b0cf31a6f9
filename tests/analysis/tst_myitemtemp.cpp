#include "myitemtemp.h"

#include <QLabel>
#include <QTranslator>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QStringList captions(MyItemTemp &row)
{
    QStringList texts;
    for (QLabel *label : row.findChildren<QLabel *>()) {
        if (label->objectName().isEmpty()) // the name and the values have names
            texts << label->text();
    }
    return texts;
}

int pixels(MyItemTemp &row)
{
    QLabel *name = row.findChild<QLabel *>("lab_name");
    name->ensurePolished();
    return name->font().pixelSize();
}

} // namespace

class TestMyItemTemp : public QObject
{
    Q_OBJECT

private slots:
    void everyRowFollowsALanguageSwitch()
    {
        // One row in a list on show, one of another photograph, detached.
        QWidget list;
        auto *layout = new QVBoxLayout(&list);
        auto *shown = new MyItemTemp;
        layout->addWidget(shown);
        list.show();
        MyItemTemp detached;
        QCOMPARE(captions(detached).value(0), QString::fromUtf8("最大值："));

        QTranslator english;
        QVERIFY(english.load(":/res/language/english.qm"));
        QCoreApplication::installTranslator(&english);
        QCoreApplication::processEvents(); // the language change is posted
        QVERIFY(!captions(*shown).isEmpty());
        for (MyItemTemp *row : {shown, &detached}) {
            for (const QString &caption : captions(*row))
                QVERIFY2(!caption.contains(QString::fromUtf8("值")), qPrintable(caption));
        }
        QCoreApplication::removeTranslator(&english);
        QCoreApplication::processEvents();
        QCOMPARE(captions(detached).value(0), QString::fromUtf8("最大值："));
    }

    void everyRowTakesTheTextSize()
    {
        QWidget list;
        auto *layout = new QVBoxLayout(&list);
        auto *shown = new MyItemTemp;
        layout->addWidget(shown);
        MyItemTemp detached;
        QCOMPARE(pixels(detached), 16);
        MyItemTemp::setTextPixels(18);
        QCOMPARE(pixels(*shown), 18);
        QCOMPARE(pixels(detached), 18);
        MyItemTemp later;
        QCOMPARE(pixels(later), 18);
        MyItemTemp::setTextPixels(16);
        QCOMPARE(pixels(later), 16);
    }
};

QTEST_MAIN(TestMyItemTemp)
#include "tst_myitemtemp.moc"
