#include "../grablightness.h"
#include "colourdialog.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Calls look with the colour dialog once it is up; a dialog left open is then cancelled.
void whenShown(const std::function<void(QColorDialog *)> &look)
{
    QTimer::singleShot(0, [look] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const auto closer = qScopeGuard([dialog] {
            if (dialog->isVisible())
                dialog->reject();
        });
        look(dialog);
    });
}

} // namespace

class TestColourDialog : public QObject
{
    Q_OBJECT

private slots:
    void darkAndReadableOverTheProgram()
    {
        QWidget window;
        window.setStyleSheet("QWidget{background-color:#222222;color:rgba(255,255,255,0.85);}");
        window.resize(1200, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        bool looked = false;
        whenShown([&](QColorDialog *dialog) {
            looked = true;
            QCOMPARE(dialog->currentColor(), QColor(Qt::green));
            QVERIFY((dialog->frameGeometry().center() - window.frameGeometry().center()).manhattanLength() <= 4);
            const Lightness whole = lightness(dialog);
            QVERIFY2(whole.dark > 0.5, qPrintable(QString::number(whole.dark)));
            // Light texts on dark labels, buttons, fields: neither grey on grey nor blank.
            QList<QWidget *> parts;
            for (QLabel *label : dialog->findChildren<QLabel *>()) {
                if (!label->text().trimmed().isEmpty() && label->isVisible())
                    parts << label;
            }
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->isVisible())
                    parts << button;
            }
            for (QAbstractSpinBox *box : dialog->findChildren<QAbstractSpinBox *>())
                parts << box;
            QVERIFY(parts.size() > 10);
            for (QWidget *part : parts) {
                const Lightness look = lightness(part);
                const auto *label = qobject_cast<QLabel *>(part);
                QVERIFY2(look.light < 0.4 && look.someLight(),
                         qPrintable(QString("%1 %2 %3").arg(part->metaObject()->className(), label ? label->text() : QString()).arg(look.light)));
            }
            dialog->setCurrentColor(QColor(10, 20, 30));
            dialog->accept();
        });
        QCOMPARE(pickColour(Qt::green, &window), QColor(10, 20, 30));
        QVERIFY(looked);

        whenShown([](QColorDialog *dialog) { dialog->reject(); });
        QVERIFY(!pickColour(Qt::green, &window).isValid());
    }
};

QTEST_MAIN(TestColourDialog)
#include "tst_colourdialog.moc"
