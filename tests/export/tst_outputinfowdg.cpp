#include "exportfilethread.h"
#include "mycheckitemwidget.h"
#include "myprogressdlg.h"
#include "outputinfowdg.h"
#include "pagetables.h"
#include "photogenerator.h"
#include "phototables.h"
#include "screenlayout.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

class TestOutputInfoWdg : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        shellValues().tempImageDir = m_dir.filePath("tmpBmp");
        QDir().mkpath(shellValues().tempImageDir);
        for (const char *name : {"b", "A", "c-2"}) {
            const QString photo = m_dir.filePath(QString(name) + ".jpg");
            PhotoSpec shot;
            shot.width = 16;
            shot.height = 12;
            shot.temperatures.assign(16 * 12, 21.5f);
            writePhoto(photo, shot);
            QCOMPARE(loadPhotoRecord(photo), 0);
            const QString snapshot = shellValues().tempImageDir + "/" + name + ".bmp";
            QImage(16, 12, QImage::Format_RGB32).save(snapshot);
            snapshotSources()[snapshot] = photo;
        }
    }

    void listAndChecks()
    {
        OutputInfoWdg dialog;
        dialog.refreshPhotoList();
        QListWidget *list = dialog.findChild<QListWidget *>("listWidget");
        QCOMPARE(list->count(), 3);
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(i)))->name();
        QCOMPARE(names, (QStringList{"A", "b", "c-2"})); // by name, ignoring case
        QCOMPARE(list->item(0)->sizeHint(), QSize(shellValues().layout.rowWidth, shellValues().layout.rowHeight));

        QCheckBox *all = dialog.findChild<QCheckBox *>("checkBox_all");
        auto row = [list](int i) { return static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(i))); };
        emit list->itemClicked(list->item(0)); // a click on the row toggles its box
        emit list->itemClicked(list->item(1));
        QVERIFY(row(0)->isChecked() && !all->isChecked());
        row(2)->setChecked(true);
        QVERIFY(all->isChecked()); // the last unchecked row checks "select all"
        row(1)->setChecked(false);
        QVERIFY(!all->isChecked());
        all->setChecked(true);
        emit all->released();
        QVERIFY(row(0)->isChecked() && row(1)->isChecked() && row(2)->isChecked());
        QCOMPARE(dialog.checkedSnapshots().size(), 3);
        all->setChecked(false);
        emit all->released();
        QVERIFY(dialog.checkedSnapshots().isEmpty());
        QCOMPARE(dialog.startExport(m_dir.filePath("out")), nullptr);

        // Reopening forgets the checks.
        row(0)->setChecked(true);
        dialog.refreshPhotoList();
        QVERIFY(dialog.checkedSnapshots().isEmpty());
    }

    void exportsTheCheckedRows()
    {
        OutputInfoWdg dialog;
        dialog.refreshPhotoList();
        dialog.findChild<QRadioButton *>("radio_csv")->setChecked(true);
        QListWidget *list = dialog.findChild<QListWidget *>("listWidget");
        static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(0)))->setChecked(true);
        static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(2)))->setChecked(true);
        ExportFileThread *job = dialog.startExport(m_dir.filePath("out"));
        QVERIFY(job);
        QVERIFY(job->wait(30000));
        QCOMPARE(QDir(job->exportFolder()).entryList(QDir::Files), (QStringList{"A.csv", "c-2.csv"}));
        QTRY_COMPARE(dialog.progressDialog()->value(), 100);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TestOutputInfoWdg)
#include "tst_outputinfowdg.moc"
