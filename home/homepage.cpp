#include "homepage.h"

#include "maskwidget.h"
#include "myitemwidget.h"
#include "myprogressdlg.h"
#include "screenlayout.h"
#include "thumbnail.h"
#include "waitwithevents.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const char *const kFolderIcon = ":/res/icon/dir.svg";
}

HomePage::HomePage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName("HomePage");
    setStyleSheet(
        "QWidget{font-family:Microsoft YaHei;font-size:16px;font-weight:400;background-color:rgb(51,51,51);"
        "color:rgba(255,255,255,0.85);}"
        "QGroupBox{border:none;}"
        "QPushButton#btn_inputPhotoDir{background:#08A4FF;border:none;border-radius:4px;color:#ffffff;}"
        "QPushButton#btn_inputPhotoDir:hover{background:#0793E5;}"
        "QPushButton#btn_inputPhotoDir:pressed{background:#21ADFF;}"
        "QPushButton#btn_showAllPhoto{border:none;text-align:left;padding:6px 4px;}"
        "QPushButton#btn_showAllPhoto:hover{background:rgba(255,255,255,0.06);}"
        "QTreeWidget{border:none;}"
        "QTreeView::branch:has-children:closed{image:url(:/res/icon/putaway.svg);}"
        "QTreeView::branch:has-children:open{image:url(:/res/icon/expand.svg);}"
        "QLabel#lab_curRes{font-size:12pt;font-weight:500;color:#ffffff;margin:10px;}"
        "QListWidget{border:none;outline:0px;}"
        "QListWidget::item{border-radius:8px;}"
        "QListWidget::item:hover{background:rgba(255,255,255,0.06);}"
        "QScrollBar:vertical{width:6px;background:transparent;}"
        "QScrollBar::handle:vertical{background:rgba(255,255,255,0.3);border-radius:3px;min-height:40px;}"
        "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{height:0px;}");

    m_left = new QGroupBox(this);
    m_left->setObjectName("groupBox_4");
    m_left->setMaximumWidth(400);
    m_import = new QPushButton(m_left);
    m_import->setObjectName("btn_inputPhotoDir");
    m_import->setFixedSize(260, 36);
    m_import->setIcon(QIcon(kFolderIcon));
    m_import->setIconSize(QSize(24, 24));
    m_showAll = new QPushButton(m_left);
    m_showAll->setObjectName("btn_showAllPhoto");
    m_showAll->setIcon(QIcon(":/res/icon/all-resource.svg"));
    m_showAll->setIconSize(QSize(18, 18));
    m_tree = new QTreeWidget(m_left);
    m_tree->setObjectName("treeWidget_dir");
    m_tree->setColumnCount(3);
    m_tree->setColumnHidden(1, true);
    m_tree->setColumnHidden(2, true);
    m_tree->header()->hide();
    m_tree->setIconSize(QSize(26, 24));
    auto *leftLayout = new QVBoxLayout(m_left);
    leftLayout->addWidget(m_import, 0, Qt::AlignHCenter);
    leftLayout->addWidget(m_showAll);
    leftLayout->addWidget(m_tree, 1);

    m_right = new QGroupBox(this);
    m_right->setObjectName("groupBox_2");
    m_currentFolder = new QLabel(m_right);
    m_currentFolder->setObjectName("lab_curRes");
    m_grid = new QListWidget(m_right);
    m_grid->setObjectName("listWidget_photo");
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setFocusPolicy(Qt::NoFocus);
    auto *rightLayout = new QVBoxLayout(m_right);
    rightLayout->addWidget(m_currentFolder);
    rightLayout->addWidget(m_grid, 1);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_left);
    layout->addWidget(m_right, 1);

    retranslate();
    QMetaObject::connectSlotsByName(this);
}

void HomePage::retranslate()
{
    setWindowTitle(tr("Form"));
    m_import->setText(tr("导入"));
    m_showAll->setText(tr("全部资源"));
    m_left->setTitle(QString());
    m_right->setTitle(QString());
    // The heading keeps saying what is on show, in the new language.
    m_currentFolder->setText(m_showingAll ? tr("全部资源") : m_folderPath);
}

QString HomePage::currentFolderPath() const
{
    return m_folderPath;
}

void HomePage::on_btn_inputPhotoDir_clicked()
{
    const QString folder =
        QFileDialog::getExistingDirectory(this, tr("选择目录"), "./", QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        importFolder(folder);
}

void HomePage::importFolder(const QString &folder)
{
    m_roots.prepend(folder);
    auto *item = new QTreeWidgetItem;
    item->setIcon(0, QIcon(kFolderIcon));
    item->setText(0, folder.split('/').last());
    item->setToolTip(0, folder);
    m_tree->insertTopLevelItem(0, item);
    m_lastImportItems = {item};
    addSubFolders(item, folder);
    m_tree->expandAll();
    m_currentFolder->setText(folder);
    m_folderPath = folder;
    m_showingAll = false;
    showPhotos(folder, {"*.jpg"});
}

void HomePage::addSubFolders(QTreeWidgetItem *parent, const QString &dir)
{
    const QFileInfoList folders = QDir(dir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &folder : folders) {
        auto *child = new QTreeWidgetItem(QStringList{folder.fileName(), QString(), "File Folder"});
        child->setIcon(0, QIcon(kFolderIcon));
        parent->addChild(child);
        m_lastImportItems << child;
        addSubFolders(child, folder.absoluteFilePath());
    }
}

void HomePage::on_treeWidget_dir_itemClicked(QTreeWidgetItem *item, int column)
{
    QStringList names;
    QTreeWidgetItem *top = item;
    while (top->parent()) {
        names.prepend(top->text(column));
        top = top->parent();
    }
    const QString root = m_roots.value(m_tree->indexOfTopLevelItem(top));
    const QString path = names.isEmpty() ? root : root + "/" + names.join('/');
    if (m_currentFolder->text() == path)
        return;
    m_currentFolder->setText(path);
    m_folderPath = path;
    m_showingAll = false;
    showPhotos(path, {"*.jpg"});
}

void HomePage::showPhotos(const QString &dir, const QStringList &nameFilters)
{
    m_grid->clear();
    const QDir folder(dir);
    const QStringList names = folder.entryList(nameFilters);
    QStringList paths;
    for (const QString &name : names)
        paths << folder.filePath(name);
    if (names.isEmpty())
        return;
    m_listedPaths = paths;
    m_listedNames = names;
    showListed();
}

void HomePage::on_btn_showAllPhoto_clicked()
{
    m_grid->clear();
    m_listedPaths.clear();
    m_listedNames.clear();
    if (m_roots.isEmpty())
        return;
    QStringList files;
    for (const QString &root : m_roots)
        collectFiles(root, files);
    for (const QString &file : files) {
        const QFileInfo info(file);
        if (info.suffix().toLower() == "jpg") {
            m_listedPaths << file;
            m_listedNames << info.baseName();
        }
    }
    if (m_listedPaths.isEmpty())
        return;
    m_currentFolder->setText(tr("全部资源"));
    m_folderPath.clear();
    m_showingAll = true;
    showListed();
}

void HomePage::collectFiles(const QString &dir, QStringList &out)
{
    const QFileInfoList entries = QDir(dir).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir())
            collectFiles(entry.absoluteFilePath(), out);
        else
            out << entry.absoluteFilePath();
    }
}

void HomePage::showListed()
{
    const ScreenLayout &layout = shellValues().layout;
    m_grid->setIconSize(QSize(layout.thumbWidth, layout.thumbHeight));
    m_grid->setResizeMode(QListView::Adjust);
    m_grid->setViewMode(QListView::IconMode);
    m_grid->setMovement(QListView::Static);
    m_grid->setSpacing(10);

    auto *progress = new MyProgressDlg(tr("正在导入图片..."), 0, 100, this);
    progress->setModal(true);
    progress->setCancelVisible(false);
    QTimer::singleShot(100, progress, [this, progress] { fillGrid(progress); });
    MaskWidget::instance().setNames({"MyProgressDlg"});
    MaskWidget::instance().attachTo(this);
    progress->exec();
}

void HomePage::fillGrid(MyProgressDlg *progress)
{
    const ScreenLayout &layout = shellValues().layout;
    const QSize thumbnail(layout.thumbWidth, layout.thumbHeight);
    const QPointer<HomePage> alive(this);
    const int n = m_listedPaths.size();
    for (int i = 0; i < n; ++i) {
        auto *entry = new QListWidgetItem;
        entry->setSizeHint(QSize(layout.rowWidth, layout.rowHeight));
        entry->setTextAlignment(Qt::AlignCenter);
        m_grid->insertItem(i, entry);
        const QString label = m_listedNames[i].section('.', 0, 0);
        m_grid->setItemWidget(entry, new MyItemWidget(loadThumbnail(m_listedPaths[i], thumbnail), label));
        progress->setProgressValue(100 * i / n);
        // Let the progress dialog repaint; the thumbnail is decoded small, so no pause is needed.
        waitWithEvents(0);
        if (!alive)
            return;
    }
    progress->accept();
    progress->deleteLater();
}

void HomePage::on_listWidget_photo_itemDoubleClicked(QListWidgetItem *item)
{
    // The entry's own row: two photographs may share the label before their first dot.
    const int row = m_grid->row(item);
    if (row >= 0 && row < m_listedPaths.size())
        emit sig_selectImg(m_listedPaths, row);
}
