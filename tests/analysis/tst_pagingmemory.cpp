// The analysis page over a list whose temperatures do not all fit in the memory budget:
// matrices are dropped and read again while paging, and nothing the user sees changes.
#include "diagnostics.h"
#include "itemtables.h"
#include "mygraphicitem.h"
#include "mygraphicsscene.h"
#include "photogenerator.h"
#include "photorecord.h"
#include "openedphotos.h"
#include "photostore.h"
#include "qgraphicspaint.h"
#include "settingpage.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestPagingMemory : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static TempStats statsOf(const QString &path, const QString &item)
    {
        return itemTables()[path][item]->stats();
    }

private slots:
    void pagingThroughAListLargerThanTheBudget()
    {
        setDiagnosticStream(nullptr);
        QStringList list;
        for (int i = 0; i < 12; ++i) {
            PhotoSpec shot;
            shot.kind = i % 3 == 2 ? ContainerKind::InfoBlockCalibrated : ContainerKind::InfoBlockDirect;
            shot.camera.gimbalType = i % 3 == 2 ? "PV245" : "QT640";
            shot.width = 64;
            shot.height = 48;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 64; ++x)
                    shot.temperatures.push_back(float(i) + 0.3f * float(x) + 0.7f * float(y) + float((x * y) % 7));
            list << m_dir.filePath(QString("IR_%1.jpg").arg(i + 1, 4, 10, QChar('0')));
            writePhoto(list.last(), shot);
        }
        constexpr qint64 photoBytes = 64 * 48 * 4;
        PhotoStore::program().setMatrixBudget(4 * photoBytes); // the one on show, its neighbours and one more

        SettingPage page;
        page.setupView(480, 640);
        page.resize(1400, 800);
        page.show();
        page.slot_selectImg(list, 0);
        QTRY_COMPARE(currentPhotoRecord().path, list[0]);
        page.waitForLoad();
        QVERIFY(PhotoStore::program().residentMatrixBytes() <= 4 * photoBytes);

        // A rectangle on the first photograph, pasted onto all of them.
        page.on_drawButtonClick(ToolRect);
        QWidget *viewport = page.view()->viewport();
        const QPoint from(viewport->width() / 5, viewport->height() / 4), to(viewport->width() * 3 / 4, viewport->height() * 2 / 3);
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
        QTRY_VERIFY(itemTables()[list[0]].contains("Re1"));
        page.on_drawButtonClick(ToolNone);
        page.view()->slot_copyItem();
        page.view()->slot_pasteToAll();
        QCoreApplication::processEvents();

        // What each photograph showed with all its temperatures in memory.
        QVector<TempStats> whole, rect;
        PhotoStore::program().setMatrixBudget(kDefaultMatrixBudget);
        for (const QString &p : list) {
            whole << PhotoStore::program().snapshot(p).stats;
            rect << statsOf(p, "Re1");
        }
        PhotoStore::program().setMatrixBudget(4 * photoBytes);

        // Forth and back through the list: every photograph is shown with the same numbers,
        // its rectangle measured again from a matrix read back from the file.
        auto check = [&](int i) {
            QTRY_COMPARE(currentPhotoRecord().path, list[i]);
            QCOMPARE(currentPhotoRecord().stats.max, whole[i].max);
            QCOMPARE(currentPhotoRecord().stats.avg, whole[i].avg);
            page.view()->refreshItemStats();
            itemTables()[list[i]]["Re1"]->computeStatistics(itemTables()[list[i]]["Re1"]->pos(), list[i]);
            const TempStats s = statsOf(list[i], "Re1");
            QCOMPARE(s.max, rect[i].max);
            QCOMPARE(s.min, rect[i].min);
            QCOMPARE(s.avg, rect[i].avg);
            QVERIFY(PhotoStore::program().residentMatrixBytes() <= 4 * photoBytes);
        };
        int dropped = 0;
        for (int i = 1; i < list.size(); ++i) {
            page.findChild<QPushButton *>("btn_nextImg")->click();
            check(i);
            for (const QString &p : list)
                dropped += PhotoStore::program().isResident(p) ? 0 : 1;
        }
        QVERIFY(dropped > 0); // the budget did drop matrices on the way
        for (int i = list.size() - 2; i >= 0; --i) {
            page.findChild<QPushButton *>("btn_prevImg")->click();
            check(i);
        }
        page.cancelLoad();
        page.waitForLoad();
        PhotoStore::program().setMatrixBudget(kDefaultMatrixBudget);
    }
};

QTEST_MAIN(TestPagingMemory)
#include "tst_pagingmemory.moc"
