#include "../grablightness.h"
#include "filedialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Calls look with the file dialog once it is up, then answers it.
void whenShown(const std::function<void(QFileDialog *)> &look)
{
    QTimer::singleShot(0, [look] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        // A failed check leaves the dialog open: it is closed so that the test goes on.
        const auto closer = qScopeGuard([dialog] {
            if (dialog->isVisible())
                static_cast<QDialog *>(dialog)->reject();
        });
        look(dialog);
    });
}

} // namespace

class TestFileDialogs : public QObject
{
    Q_OBJECT

private slots:
    void folderDialogIsReadableOverADarkWindow()
    {
        // The style sheets of the program's pages: light text on dark grey, bare buttons.
        QWidget window;
        window.setStyleSheet("QWidget{background-color:rgb(51,51,51);color:rgba(255,255,255,0.85);}"
                             "QPushButton{border:none;color:rgba(255,255,255,0.85);background-color:#333333;}");
        window.resize(800, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("photos");

        bool looked = false;
        whenShown([&](QFileDialog *dialog) {
            looked = true;
            QCOMPARE(QFileInfo(dialog->directory().absolutePath()).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());
            QAbstractButton *choose = dialog->findChild<QDialogButtonBox *>()->buttons().value(0);
            QVERIFY(choose);
            QVERIFY(choose->isEnabled());
            // Dark text on a light button and a light list: readable.
            const Lightness button = lightness(choose);
            QVERIFY2(button.light > 0.5 && button.someDark(), qPrintable(QString::number(button.light)));
            const Lightness whole = lightness(dialog);
            QVERIFY2(whole.light > 0.5 && whole.someDark(), qPrintable(QString::number(whole.light)));
            choose->click();
        });
        const QString chosen = chooseFolder(&window, "Folder", dir.path());
        QVERIFY(looked);
        QCOMPARE(QFileInfo(chosen).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());

        whenShown([](QFileDialog *dialog) { dialog->reject(); });
        QVERIFY(chooseFolder(&window, "Folder", dir.path()).isEmpty());
    }

    void startsOnAFolderThatExists()
    {
        QTemporaryDir dir;
        const QString gone = dir.filePath("gone");
        const QString there = dir.filePath("there");
        QDir().mkpath(there);
        QCOMPARE(firstExistingFolder({gone, there}), there);
        QCOMPARE(firstExistingFolder({QString(), there}), there);
        QCOMPARE(firstExistingFolder({gone, dir.filePath("also-gone")}), QDir::homePath());
        QCOMPARE(firstExistingFolder({}), QDir::homePath());
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(firstExistingFolder({file.fileName()}), QDir::homePath()); // a file is no folder
    }
};

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
