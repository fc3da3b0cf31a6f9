#include "homepage.h"
#include "photogenerator.h"
#include "photogriddelegate.h"
#include "photogridmodel.h"
#include "screenlayout.h"
#include "thumbnail.h"
#include "thumbnailloader.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMutex>
#include <QPushButton>
#include <QScrollBar>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QScopeGuard>
#include <QtTest>

#include <atomic>

namespace {

void photo(const QString &path, float temperature = 25.0f)
{
    PhotoSpec shot;
    shot.width = 32;
    shot.height = 24;
    shot.temperatures.assign(32 * 24, temperature);
    writePhoto(path, shot);
}

QListView *grid(HomePage &page)
{
    return page.findChild<QListView *>("listWidget_photo");
}

PhotoGridModel *gridModel(HomePage &page)
{
    return qobject_cast<PhotoGridModel *>(grid(page)->model());
}

ThumbnailLoader *loader(HomePage &page)
{
    return page.findChild<ThumbnailLoader *>("thumbnailLoader");
}

QStringList gridLabels(HomePage &page)
{
    QAbstractItemModel *model = grid(page)->model();
    QStringList labels;
    for (int i = 0; i < model->rowCount(); ++i)
        labels << model->index(i, 0).data().toString();
    return labels;
}

QStringList fileNames(const QStringList &paths)
{
    QStringList names;
    for (const QString &p : paths)
        names << QFileInfo(p).fileName();
    return names;
}

QSize thumbnailSize()
{
    const ScreenLayout &layout = shellValues().layout;
    return {layout.thumbWidth, layout.thumbHeight};
}

// A decoder that decodes the first `free` photographs at once and then waits at a gate for
// each further one; it records its calls. It must outlive the loader using it, and the gate
// must be open before that loader goes (its destructor waits for its workers).
struct GatedDecoder
{
    explicit GatedDecoder(int free)
        : free(free)
    {
    }
    ~GatedDecoder() { open(); }
    void open() { gate.release(100000); }
    ThumbnailLoader::Decoder decoder()
    {
        return [this](const QString &path, const QSize &size) {
            {
                QMutexLocker lock(&mutex);
                order << QFileInfo(path).fileName();
            }
            if (calls.fetch_add(1) >= free)
                gate.acquire();
            return roundedThumbnailImage(path, size);
        };
    }
    int free;
    std::atomic<int> calls{0};
    QSemaphore gate;
    QMutex mutex;
    QStringList order;
};

} // namespace

class TestHomePage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_root;
    QString m_many; // 40 photographs, a file that is no picture and a folder named like a photograph

private slots:
    void initTestCase()
    {
        m_root = m_dir.filePath("flight");
        QDir().mkpath(m_root + "/sub1/deep");
        QDir().mkpath(m_root + "/sub2");
        for (const char *name : {"b.jpg", "a.jpg", "a.b.jpg", "C.jpg", "x.JPG", "y.jpeg", "sub1/p1.jpg", "sub1/deep/p2.jpg"})
            photo(m_root + "/" + name);
        QFile notes(m_root + "/notes.txt");
        notes.open(QIODevice::WriteOnly);
        QFile broken(m_root + "/sub2/broken.jpg");
        broken.open(QIODevice::WriteOnly);
        broken.write("not a picture");

        m_many = m_dir.filePath("many");
        QDir().mkpath(m_many + "/IR_0007.jpg"); // a folder: listed, never decoded
        for (int i = 0; i < 40; ++i) {
            if (i != 7 && i != 23)
                photo(m_many + QString("/IR_%1.jpg").arg(i, 4, 10, QChar('0')), 10.0f + float(i));
        }
        QFile corrupt(m_many + "/IR_0023.jpg");
        corrupt.open(QIODevice::WriteOnly);
        corrupt.write(QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(3000, 'x'));
    }

    void thumbnailsOfPicturesDeclaringAHugeSize()
    {
        // The frame header (SOF0) of a generated photograph claims 65000 x 65000 pixels.
        const QString small = m_dir.filePath("thumb-small.jpg"), huge = m_dir.filePath("thumb-huge.jpg");
        PhotoSpec shot;
        shot.width = 64;
        shot.height = 48;
        shot.temperatures.assign(64 * 48, 20.0f);
        writePhoto(small, shot);
        QVERIFY(!loadThumbnail(small, QSize(32, 24)).isNull());
        QCOMPARE(roundedThumbnailImage(small, QSize(32, 24)).size(), QSize(32, 24));
        QFile in(small);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QByteArray bytes = in.readAll();
        const int sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
        QVERIFY(sof > 0);
        bytes[sof + 5] = bytes[sof + 7] = char(0xFD);
        bytes[sof + 6] = bytes[sof + 8] = char(0xE8);
        QFile out(huge);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        out.close();
        QVERIFY(loadThumbnail(huge, QSize(32, 24)).isNull());
        QVERIFY(roundedThumbnailImage(huge, QSize(32, 24)).isNull());
    }

    void roundedThumbnailsAreTransparentInTheCorners()
    {
        const QImage rounded = roundedThumbnailImage(m_root + "/a.jpg", QSize(168, 126));
        QCOMPARE(rounded.size(), QSize(168, 126));
        QCOMPARE(qAlpha(rounded.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(rounded.pixel(167, 125)), 0);
        QCOMPARE(qAlpha(rounded.pixel(84, 63)), 255);
    }

    void importListsPhotographsInNameOrder()
    {
        HomePage page;
        page.importFolder(m_root);
        QCOMPARE(fileNames(page.listedPaths()), (QStringList{"a.b.jpg", "a.jpg", "b.jpg", "C.jpg", "x.JPG"}));
        QCOMPARE(page.listedNames(), (QStringList{"a.b.jpg", "a.jpg", "b.jpg", "C.jpg", "x.JPG"}));
        QCOMPARE(gridLabels(page), (QStringList{"a", "a", "b", "C", "x"}));
        QCOMPARE(gridModel(page)->paths(), page.listedPaths());
        QCOMPARE(page.findChild<QLabel *>("lab_curRes")->text(), m_root);

        QTreeWidget *tree = page.findChild<QTreeWidget *>("treeWidget_dir");
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem *top = tree->topLevelItem(0);
        QCOMPARE(top->text(0), QString("flight"));
        QCOMPARE(top->toolTip(0), m_root);
        QCOMPARE(top->childCount(), 2);
        QCOMPARE(top->child(0)->text(0), QString("sub1"));
        QCOMPARE(top->child(0)->text(2), QString("File Folder"));
        QCOMPARE(top->child(0)->child(0)->text(0), QString("deep"));
        QVERIFY(top->child(0)->isExpanded());
    }

    void modelListsEveryPhotographAndItsThumbnail()
    {
        HomePage page;
        QSignalSpy finished(&page, &HomePage::sig_importFinished);
        page.importFolder(m_many);
        // Every row is there before any thumbnail: the 38 photographs, the corrupt file and
        // the folder named like a photograph.
        PhotoGridModel *model = gridModel(page);
        QCOMPARE(model->rowCount(), 40);
        QCOMPARE(fileNames(model->paths()), fileNames(page.listedPaths()));
        QCOMPARE(model->index(5, 0).data(PhotoGridModel::PathRole).toString(), m_many + "/IR_0005.jpg");
        QCOMPARE(model->index(5, 0).data(Qt::DisplayRole).toString(), QString("IR_0005"));
        QCOMPARE(model->index(5, 0).data(Qt::ToolTipRole).toString(), QString("IR_0005.jpg"));
        QVERIFY(page.isImporting());

        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.takeFirst().at(0).toBool(), false);
        QVERIFY(!page.isImporting());
        QCOMPARE(model->settledCount(), 40);
        for (int row = 0; row < 40; ++row) {
            const QModelIndex index = model->index(row, 0);
            const bool bad = row == 7 || row == 23;
            QCOMPARE(model->state(row), bad ? PhotoGridModel::Failed : PhotoGridModel::Ready);
            const QImage thumbnail = index.data(PhotoGridModel::ThumbnailRole).value<QImage>();
            QCOMPARE(thumbnail.isNull(), bad);
            if (!bad)
                QCOMPARE(thumbnail, roundedThumbnailImage(model->path(row), thumbnailSize()));
        }
        QVERIFY(page.findChild<QWidget *>("widget_importProgress")->isHidden());
    }

    void viewPaintsThumbnailsAndNames()
    {
        HomePage page;
        page.resize(1200, 800);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QSignalSpy finished(&page, &HomePage::sig_importFinished);
        page.importFolder(m_many);
        QTRY_COMPARE(finished.count(), 1);
        QListView *view = grid(page);
        PhotoGridModel *model = gridModel(page);

        const QColor background(51, 51, 51);
        for (int row : {0, 1, 6, 7, 8, 23}) {
            view->scrollTo(model->index(row, 0));
            QImage shot(view->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
            shot.fill(Qt::black);
            view->viewport()->render(&shot);
            const QRect item = view->visualRect(model->index(row, 0));
            QVERIFY2(shot.rect().contains(item), qPrintable(QString("row %1 is off screen").arg(row)));
            QCOMPARE(item.size(), QSize(shellValues().layout.rowWidth, shellValues().layout.rowHeight));
            const QRect picture = PhotoGridDelegate::thumbnailRect(item);
            const QPoint centre = picture.center();
            const QColor painted = shot.pixelColor(centre);
            if (model->state(row) == PhotoGridModel::Ready) {
                // The thumbnail's own pixel, opaque in the middle of the rounded frame.
                const QImage thumbnail = model->index(row, 0).data(PhotoGridModel::ThumbnailRole).value<QImage>();
                QCOMPARE(painted, thumbnail.pixelColor(centre - picture.topLeft()));
                QVERIFY(painted != background);
                // Outside the rounded corner the page shows through.
                QCOMPARE(shot.pixelColor(picture.topLeft()), background);
            } else {
                // A photograph that could not be decoded: a faint frame with a warning sign.
                const QColor frame = shot.pixelColor(picture.topLeft() + QPoint(picture.width() / 4, 4));
                QVERIFY(frame.red() > background.red() && frame.red() < background.red() + 20);
                QVERIFY(shot.pixelColor(centre) != frame);
            }
            // The name is written under the picture.
            QStyleOptionViewItem option;
            option.initFrom(view);
            option.widget = view;
            option.font = view->font();
            option.rect = item;
            const QRect name = PhotoGridDelegate::nameRect(option);
            QVERIFY(name.top() > picture.top());
            QVERIFY(name.bottom() <= item.bottom());
            int light = 0;
            for (int y = name.top(); y <= name.bottom(); ++y)
                for (int x = name.left(); x <= name.right(); ++x)
                    light += qGray(shot.pixel(x, y)) > 150;
            QVERIFY2(light > 20, qPrintable(QString("row %1: %2 light pixels in the name").arg(row).arg(light)));
        }
    }

    void cancelStopsTheImport()
    {
        GatedDecoder decoder(5);
        HomePage page;
        const auto opener = qScopeGuard([&] { decoder.open(); }); // before the page waits for its workers
        ThumbnailLoader *thumbnails = loader(page);
        thumbnails->setDecoder(decoder.decoder());
        thumbnails->setThreadCount(2);
        QSignalSpy finished(&page, &HomePage::sig_importFinished);
        page.importFolder(m_many);
        PhotoGridModel *model = gridModel(page);
        QTRY_COMPARE(model->settledCount(), 5);
        QVERIFY(page.isImporting());
        QWidget *progress = page.findChild<QWidget *>("widget_importProgress");
        QVERIFY(!progress->isHidden());
        QVERIFY(page.findChild<QLabel *>("lab_importProgress")->text().endsWith(" 5 / 40"));

        page.findChild<QPushButton *>("btn_cancelImport")->click();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.takeFirst().at(0).toBool(), true);
        QVERIFY(!page.isImporting());
        QVERIFY(progress->isHidden());
        // The workers finish the photograph in hand and take no other; nothing more arrives.
        decoder.open();
        QTest::qWait(200);
        QCOMPARE(model->settledCount(), 5);
        QVERIFY(decoder.calls <= 7);
        QCOMPARE(model->rowCount(), 40);
        for (int row = 5; row < 40; ++row)
            QCOMPARE(model->state(row), PhotoGridModel::Pending);
        // The rows stay listed and open as before.
        QSignalSpy opened(&page, &HomePage::sig_selectImg);
        emit grid(page)->doubleClicked(model->index(30, 0));
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened.takeFirst().at(1).toInt(), 30);
    }

    void aNewListingReplacesTheImportInProgress()
    {
        GatedDecoder decoder(3);
        HomePage page;
        const auto opener = qScopeGuard([&] { decoder.open(); });
        loader(page)->setDecoder(decoder.decoder());
        QSignalSpy finished(&page, &HomePage::sig_importFinished);
        page.importFolder(m_many);
        QTRY_COMPARE(gridModel(page)->settledCount(), 3);
        loader(page)->setDecoder(roundedThumbnailImage);
        page.importFolder(m_root);
        QCOMPARE(finished.count(), 1); // the first one, cancelled
        decoder.open();
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(finished.at(1).at(0).toBool(), false);
        PhotoGridModel *model = gridModel(page);
        QCOMPARE(model->rowCount(), 5);
        QCOMPARE(model->settledCount(), 5);
        for (int row = 0; row < 5; ++row)
            QCOMPARE(model->index(row, 0).data(PhotoGridModel::ThumbnailRole).value<QImage>(),
                     roundedThumbnailImage(page.listedPaths().at(row), thumbnailSize()));
    }

    void rowsOnScreenAreDecodedFirst()
    {
        GatedDecoder decoder(0);
        ThumbnailLoader thumbnails;
        const auto opener = qScopeGuard([&] { decoder.open(); });
        thumbnails.setThreadCount(1);
        thumbnails.setDecoder(decoder.decoder());
        QStringList paths;
        for (int i = 0; i < 40; ++i)
            paths << m_many + QString("/IR_%1.jpg").arg(i, 4, 10, QChar('0'));
        QSignalSpy finished(&thumbnails, &ThumbnailLoader::finished);
        thumbnails.start(paths, QSize(16, 12));
        QTRY_COMPARE(decoder.calls.load(), 1); // the only worker waits in row 0
        thumbnails.prefer(30, 33);
        decoder.open();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(decoder.order.mid(0, 6),
                 (QStringList{"IR_0000.jpg", "IR_0030.jpg", "IR_0031.jpg", "IR_0032.jpg", "IR_0033.jpg", "IR_0001.jpg"}));
        QCOMPARE(decoder.order.size(), 40);
        QCOMPARE(thumbnails.delivered(), 40);
    }

    void rowsScrolledIntoViewAreDecodedNext()
    {
        GatedDecoder decoder(0);
        HomePage page;
        const auto opener = qScopeGuard([&] { decoder.open(); });
        page.resize(1000, 600);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        loader(page)->setDecoder(decoder.decoder());
        loader(page)->setThreadCount(1);
        QSignalSpy finished(&page, &HomePage::sig_importFinished);
        page.importFolder(m_many);
        QTRY_COMPARE(decoder.calls.load(), 1); // the only worker waits in the first row
        QListView *view = grid(page);
        view->scrollToBottom();
        QTRY_VERIFY(view->verticalScrollBar()->value() > 0);
        decoder.open();
        QTRY_COMPARE(finished.count(), 1);
        // The next photograph decoded was one on screen at the bottom of the grid.
        const int next = page.listedPaths().indexOf(m_many + "/" + decoder.order.at(1));
        QVERIFY2(next > 20, qPrintable(decoder.order.at(1)));
        QVERIFY(view->visualRect(view->model()->index(next, 0)).intersects(view->viewport()->rect()));
    }

    void doubleClickOpensItsOwnPhotograph()
    {
        HomePage page;
        page.importFolder(m_root);
        QSignalSpy opened(&page, &HomePage::sig_selectImg);
        QListView *view = grid(page);
        // a.b.jpg and a.jpg both read "a": each opens itself.
        for (int row : {1, 0, 4}) {
            emit view->doubleClicked(view->model()->index(row, 0));
            const QList<QVariant> args = opened.takeFirst();
            QCOMPARE(args.at(0).toStringList(), page.listedPaths());
            QCOMPARE(args.at(1).toInt(), row);
        }
    }

    void doubleClickWithTheMouse()
    {
        HomePage page;
        page.resize(1000, 700);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.importFolder(m_root);
        QSignalSpy opened(&page, &HomePage::sig_selectImg);
        QListView *view = grid(page);
        const QModelIndex third = view->model()->index(2, 0);
        QTRY_COMPARE(view->indexAt(view->visualRect(third).center()), third); // laid out
        const QPoint at = view->visualRect(third).center();
        // As a mouse sends it: a click, then the second press as a double click.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened.takeFirst().at(1).toInt(), 2);
    }

    void treeClicks()
    {
        HomePage page;
        page.importFolder(m_root);
        QTreeWidget *tree = page.findChild<QTreeWidget *>("treeWidget_dir");
        QTreeWidgetItem *deep = tree->topLevelItem(0)->child(0)->child(0);
        emit tree->itemClicked(deep, 0);
        QCOMPARE(page.findChild<QLabel *>("lab_curRes")->text(), m_root + "/sub1/deep");
        QCOMPARE(fileNames(page.listedPaths()), QStringList{"p2.jpg"});

        // An undecodable file still gets its entry.
        emit tree->itemClicked(tree->topLevelItem(0)->child(1), 0);
        QCOMPARE(gridLabels(page), QStringList{"broken"});
        QTRY_COMPARE(gridModel(page)->state(0), PhotoGridModel::Failed);

        // The folder already shown is not listed again; a language switch keeps the folder in
        // the heading and for the export (it used to blank both).
        emit tree->itemClicked(deep, 0);
        photo(m_root + "/sub1/deep/p3.jpg");
        emit tree->itemClicked(deep, 0);
        QCOMPARE(fileNames(page.listedPaths()), QStringList{"p2.jpg"});
        page.retranslate();
        QCOMPARE(page.findChild<QLabel *>("lab_curRes")->text(), m_root + "/sub1/deep");
        QCOMPARE(page.currentFolderPath(), m_root + "/sub1/deep");
        emit tree->itemClicked(tree->topLevelItem(0), 0);
        emit tree->itemClicked(deep, 0);
        QCOMPARE(fileNames(page.listedPaths()), (QStringList{"p2.jpg", "p3.jpg"}));
        QFile::remove(m_root + "/sub1/deep/p3.jpg");

        // A folder without photographs empties the grid but keeps the last list; a note
        // takes the grid's place.
        QLabel *note = page.findChild<QLabel *>("lab_emptyFolder");
        QVERIFY(note->isHidden());
        QDir().mkpath(m_root + "/sub1/empty");
        page.importFolder(m_root + "/sub1/empty");
        QCOMPARE(grid(page)->model()->rowCount(), 0);
        QVERIFY(!page.isImporting());
        QCOMPARE(fileNames(page.listedPaths()), (QStringList{"p2.jpg", "p3.jpg"}));
        QVERIFY(!note->isHidden());
        QVERIFY(grid(page)->isHidden());
        QCOMPARE(note->text(), QString::fromUtf8("此文件夹中没有照片。"));
        // The tree marks the folder on show, also after an import.
        QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
        QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem *>{tree->topLevelItem(0)});
        emit tree->itemClicked(deep, 0);
        QVERIFY(note->isHidden());
        QVERIFY(!grid(page)->isHidden());
        QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem *>{deep});
        page.on_btn_showAllPhoto_clicked();
        QVERIFY(tree->selectedItems().isEmpty());
        QDir(m_root + "/sub1/empty").removeRecursively();
    }

    void linksBackUpAreNotFollowedIntoLoops()
    {
        // root holds two links back up to itself and above it, and two to one folder outside.
        const QString base = m_dir.filePath("links");
        const QString root = base + "/root";
        QDir().mkpath(root + "/sub");
        QDir().mkpath(base + "/outside");
        for (const char *name : {"IR_0001_10.jpg", "IR_0001_2.jpg", "IR_0001_1.jpg", "sub/s.jpg"})
            photo(root + "/" + name);
        photo(base + "/outside/o.jpg");
        QVERIFY(QFile::link("..", root + "/sub/up"));
        QVERIFY(QFile::link("../..", root + "/sub/top"));
        QVERIFY(QFile::link("../../outside", root + "/sub/out"));
        QVERIFY(QFile::link("../../outside", root + "/sub/out2"));

        HomePage page;
        page.importFolder(root);
        QCOMPARE(gridLabels(page), (QStringList{"IR_0001_1", "IR_0001_2", "IR_0001_10"}));
        QTreeWidget *tree = page.findChild<QTreeWidget *>("treeWidget_dir");
        QTreeWidgetItem *top = tree->topLevelItem(0);
        QCOMPARE(top->childCount(), 1);
        QTreeWidgetItem *sub = top->child(0);
        // The folder outside is shown once; "top" leads to the folder holding root, whose own
        // folders are all met already.
        QCOMPARE(sub->childCount(), 2);
        QCOMPARE(sub->child(0)->text(0), QString("out"));
        QCOMPARE(sub->child(1)->text(0), QString("top"));
        QCOMPARE(sub->child(1)->childCount(), 0);
        emit tree->itemClicked(sub->child(0), 0);
        QCOMPARE(page.currentFolderPath(), root + "/sub/out");
        QCOMPARE(gridLabels(page), QStringList{"o"});

        page.on_btn_showAllPhoto_clicked();
        QCOMPARE(fileNames(page.listedPaths()), (QStringList{"IR_0001_1.jpg", "IR_0001_2.jpg", "IR_0001_10.jpg", "s.jpg", "o.jpg"}));
    }

    void allResources()
    {
        HomePage page;
        page.on_btn_showAllPhoto_clicked(); // nothing imported yet
        QVERIFY(page.listedPaths().isEmpty());
        QVERIFY(!page.findChild<QLabel *>("lab_emptyFolder")->isHidden());
        page.importFolder(m_root);
        page.importFolder(m_root); // twice: two tree items, one path
        QCOMPARE(page.findChild<QTreeWidget *>("treeWidget_dir")->topLevelItemCount(), 2);
        QCOMPARE(page.importedRoots(), (QStringList{m_root, m_root}));
        page.on_btn_showAllPhoto_clicked();
        QCOMPARE(page.findChild<QLabel *>("lab_curRes")->text(), QString::fromUtf8("全部资源"));
        QVERIFY(page.currentFolderPath().isEmpty());
        page.retranslate();
        QCOMPARE(page.findChild<QLabel *>("lab_curRes")->text(), QString::fromUtf8("全部资源"));
        // Folder after folder as the tree shows them, each folder's photographs before those below it.
        QStringList once = {"a.b.jpg", "a.jpg", "b.jpg", "C.jpg", "x.JPG", "p1.jpg", "p2.jpg", "broken.jpg"};
        const QStringList names = fileNames(page.listedPaths());
        QCOMPARE(names, once + once);
        QVERIFY(!names.contains("y.jpeg"));
        QCOMPARE(page.listedNames().mid(0, 8), (QStringList{"a", "a", "b", "C", "x", "p1", "p2", "broken"}));
        QCOMPARE(gridLabels(page).mid(0, 8), (QStringList{"a", "a", "b", "C", "x", "p1", "p2", "broken"}));
        QVERIFY(page.findChild<QLabel *>("lab_emptyFolder")->isHidden());
        QCOMPARE(gridModel(page)->paths(), page.listedPaths());
    }
};

QTEST_MAIN(TestHomePage)
#include "tst_homepage.moc"
