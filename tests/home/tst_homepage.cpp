#include "homepage.h"
#include "myitemwidget.h"
#include "photogenerator.h"
#include "thumbnail.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

void photo(const QString &path)
{
    PhotoSpec shot;
    shot.width = 32;
    shot.height = 24;
    shot.temperatures.assign(32 * 24, 25.0f);
    writePhoto(path, shot);
}

QStringList gridLabels(HomePage &page)
{
    QListWidget *grid = page.findChild<QListWidget *>("listWidget_photo");
    QStringList labels;
    for (int i = 0; i < grid->count(); ++i)
        labels << static_cast<MyItemWidget *>(grid->itemWidget(grid->item(i)))->text();
    return labels;
}

QStringList fileNames(const QStringList &paths)
{
    QStringList names;
    for (const QString &p : paths)
        names << QFileInfo(p).fileName();
    return names;
}

} // namespace

class TestHomePage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_root;

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
    }

    void importListsPhotographsInNameOrder()
    {
        HomePage page;
        page.importFolder(m_root);
        QCOMPARE(fileNames(page.listedPaths()), (QStringList{"a.b.jpg", "a.jpg", "b.jpg", "C.jpg", "x.JPG"}));
        QCOMPARE(page.listedNames(), (QStringList{"a.b.jpg", "a.jpg", "b.jpg", "C.jpg", "x.JPG"}));
        QCOMPARE(gridLabels(page), (QStringList{"a", "a", "b", "C", "x"}));
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

    void doubleClickOpensItsOwnPhotograph()
    {
        HomePage page;
        page.importFolder(m_root);
        QSignalSpy opened(&page, &HomePage::sig_selectImg);
        QListWidget *grid = page.findChild<QListWidget *>("listWidget_photo");
        // a.b.jpg and a.jpg both read "a": each opens itself.
        for (int row : {1, 0, 4}) {
            emit grid->itemDoubleClicked(grid->item(row));
            const QList<QVariant> args = opened.takeFirst();
            QCOMPARE(args.at(0).toStringList(), page.listedPaths());
            QCOMPARE(args.at(1).toInt(), row);
        }
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

        // A folder without photographs empties the grid but keeps the last list.
        QDir().mkpath(m_root + "/sub1/empty");
        page.importFolder(m_root + "/sub1/empty");
        QCOMPARE(page.findChild<QListWidget *>("listWidget_photo")->count(), 0);
        QCOMPARE(fileNames(page.listedPaths()), (QStringList{"p2.jpg", "p3.jpg"}));
        QDir(m_root + "/sub1/empty").removeRecursively();
    }

    void allResources()
    {
        HomePage page;
        page.on_btn_showAllPhoto_clicked(); // nothing imported yet
        QVERIFY(page.listedPaths().isEmpty());
        page.importFolder(m_root);
        page.importFolder(m_root); // twice: two tree items, one path
        QCOMPARE(page.findChild<QTreeWidget *>("treeWidget_dir")->topLevelItemCount(), 2);
        QCOMPARE(page.importedRoots(), (QStringList{m_root, m_root}));
        page.on_btn_showAllPhoto_clicked();
        QCOMPARE(page.findChild<QLabel *>("lab_curRes")->text(), QString::fromUtf8("全部资源"));
        QVERIFY(page.currentFolderPath().isEmpty());
        page.retranslate();
        QCOMPARE(page.findChild<QLabel *>("lab_curRes")->text(), QString::fromUtf8("全部资源"));
        QStringList once = {"a.b.jpg", "a.jpg", "b.jpg", "C.jpg", "p2.jpg", "p1.jpg", "broken.jpg", "x.JPG"};
        const QStringList names = fileNames(page.listedPaths());
        QCOMPARE(names, once + once);
        QVERIFY(!names.contains("y.jpeg"));
        QCOMPARE(page.listedNames().mid(0, 8), (QStringList{"a", "a", "b", "C", "p2", "p1", "broken", "x"}));
    }
};

QTEST_MAIN(TestHomePage)
#include "tst_homepage.moc"
