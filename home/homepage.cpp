#include "homepage.h"

#include "filedialogs.h"
#include "foldertree.h"
#include "naturalorder.h"
#include "photogriddelegate.h"
#include "photogridmodel.h"
#include "screenlayout.h"
#include "thumbnailloader.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const char *const kFolderIcon = ":/res/icon/dir.svg";
constexpr int kPathRole = Qt::UserRole; // a tree item's folder

void sortFileNames(QStringList &names)
{
    std::sort(names.begin(), names.end(), naturalFileNameLess);
}
} // namespace

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
        "QLabel#lab_emptyFolder{color:rgba(255,255,255,0.45);}"
        "QLabel#lab_importProgress{font-size:14px;color:rgba(255,255,255,0.65);}"
        "QProgressBar#progress_import{background:rgba(216,216,216,0.1);border:none;border-radius:4px;}"
        "QProgressBar#progress_import::chunk{background:#08A4FF;border-radius:4px;}"
        "QPushButton#btn_cancelImport,QPushButton#btn_findHotSpots{font-size:14px;background:#555555;border:none;border-radius:4px;"
        "min-width:64px;min-height:28px;padding:0px 10px;}"
        "QPushButton#btn_cancelImport:hover,QPushButton#btn_findHotSpots:hover{background:#4C4C4C;}"
        "QPushButton#btn_findHotSpots:disabled{color:rgba(255,255,255,0.3);}"
        "QListView#listWidget_photo{border:none;outline:0px;}"
        "QListView#listWidget_photo::item{border-radius:8px;}"
        "QListView#listWidget_photo::item:hover{background:rgba(255,255,255,0.06);}"
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

    // The import's progress, beside the heading while thumbnails are being decoded.
    m_progress = new QWidget(m_right);
    m_progress->setObjectName("widget_importProgress");
    m_progressText = new QLabel(m_progress);
    m_progressText->setObjectName("lab_importProgress");
    m_progressBar = new QProgressBar(m_progress);
    m_progressBar->setObjectName("progress_import");
    m_progressBar->setTextVisible(false);
    m_progressBar->setFixedSize(200, 8);
    m_cancelImport = new QPushButton(m_progress);
    m_cancelImport->setObjectName("btn_cancelImport");
    m_cancelImport->setCursor(Qt::PointingHandCursor);
    auto *progressLayout = new QHBoxLayout(m_progress);
    progressLayout->setContentsMargins(0, 0, 10, 0);
    progressLayout->setSpacing(12);
    progressLayout->addWidget(m_progressText);
    progressLayout->addWidget(m_progressBar);
    progressLayout->addWidget(m_cancelImport);
    m_progress->hide();
    // The hot-spot finder for the photographs listed.
    m_findHotSpots = new QPushButton(m_right);
    m_findHotSpots->setObjectName("btn_findHotSpots");
    m_findHotSpots->setCursor(Qt::PointingHandCursor);
    m_findHotSpots->setEnabled(false);
    connect(m_findHotSpots, &QPushButton::clicked, this, [this] { emit sig_findHotSpots(m_listedPaths); });
    auto *heading = new QHBoxLayout;
    heading->addWidget(m_currentFolder, 1);
    heading->addWidget(m_progress);
    heading->addWidget(m_findHotSpots);

    m_model = new PhotoGridModel(this);
    m_loader = new ThumbnailLoader(this);
    m_loader->setObjectName("thumbnailLoader");
    m_grid = new QListView(m_right);
    m_grid->setObjectName("listWidget_photo");
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setFocusPolicy(Qt::NoFocus);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setViewMode(QListView::IconMode);
    m_grid->setMovement(QListView::Static);
    m_grid->setResizeMode(QListView::Adjust);
    m_grid->setSpacing(10);
    m_grid->setUniformItemSizes(true); // every entry has the size of the screen layout
    m_grid->setItemDelegate(new PhotoGridDelegate(m_grid));
    m_grid->setModel(m_model);
    // Said in place of the grid when a listing finds no photograph.
    m_emptyNote = new QLabel(m_right);
    m_emptyNote->setObjectName("lab_emptyFolder");
    m_emptyNote->setAlignment(Qt::AlignCenter);
    m_emptyNote->hide();
    auto *rightLayout = new QVBoxLayout(m_right);
    rightLayout->addLayout(heading);
    rightLayout->addWidget(m_grid, 1);
    rightLayout->addWidget(m_emptyNote, 1);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_left);
    layout->addWidget(m_right, 1);

    connect(m_loader, &ThumbnailLoader::thumbnailsReady, m_model, &PhotoGridModel::setThumbnails);
    connect(m_loader, &ThumbnailLoader::progress, this, &HomePage::showImportProgress);
    connect(m_loader, &ThumbnailLoader::finished, this, &HomePage::importEnded);
    // The rows scrolled into view are decoded next.
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, &HomePage::preferVisibleRows);

    retranslate();
    QMetaObject::connectSlotsByName(this);
}

void HomePage::retranslate()
{
    setWindowTitle(tr("Form"));
    m_import->setText(tr("导入"));
    m_showAll->setText(tr("全部资源"));
    m_cancelImport->setText(tr("取消"));
    m_findHotSpots->setText(tr("查找热点"));
    m_left->setTitle(QString());
    m_right->setTitle(QString());
    // The heading keeps saying what is on show, in the new language.
    m_currentFolder->setText(m_showingAll ? tr("全部资源") : m_folderPath);
    showEmptyNote(!m_emptyNote->isHidden());
    if (m_loader->isRunning())
        showImportProgress(m_loader->delivered(), m_loader->total());
}

QString HomePage::currentFolderPath() const
{
    return m_folderPath;
}

bool HomePage::isImporting() const
{
    return m_loader->isRunning();
}

void HomePage::cancelImport()
{
    m_loader->cancel();
}

void HomePage::on_btn_cancelImport_clicked()
{
    cancelImport();
}

void HomePage::on_btn_inputPhotoDir_clicked()
{
    // Opens beside the folder imported last, where the next one is likely to be.
    const QString last = m_roots.isEmpty() ? QString() : QFileInfo(m_roots.first()).absolutePath();
    const QString folder = chooseFolder(this, tr("选择目录"), firstExistingFolder({last}));
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
    item->setData(0, kPathRole, folder);
    m_tree->insertTopLevelItem(0, item);
    m_lastImportItems = {item};
    addSubFolders(item, folderTree(folder));
    m_tree->expandAll();
    m_tree->setCurrentItem(item); // the tree marks the folder on show
    m_currentFolder->setText(folder);
    m_folderPath = folder;
    m_showingAll = false;
    showPhotos(folder, {"*.jpg"});
}

void HomePage::addSubFolders(QTreeWidgetItem *parent, const FolderTree &folder)
{
    for (const FolderTree &sub : folder.subFolders) {
        auto *child = new QTreeWidgetItem(QStringList{QFileInfo(sub.path).fileName(), QString(), "File Folder"});
        child->setIcon(0, QIcon(kFolderIcon));
        child->setData(0, kPathRole, sub.path);
        parent->addChild(child);
        m_lastImportItems << child;
        addSubFolders(child, sub);
    }
}

void HomePage::on_treeWidget_dir_itemClicked(QTreeWidgetItem *item, int)
{
    const QString path = item->data(0, kPathRole).toString();
    m_tree->setCurrentItem(item);
    if (m_folderPath == path)
        return;
    m_currentFolder->setText(path);
    m_folderPath = path;
    m_showingAll = false;
    showPhotos(path, {"*.jpg"});
}

void HomePage::clearGrid()
{
    m_loader->cancel();
    m_model->clear();
}

void HomePage::showPhotos(const QString &dir, const QStringList &nameFilters)
{
    clearGrid();
    const QDir folder(dir);
    QStringList names = folder.entryList(nameFilters);
    sortFileNames(names);
    QStringList paths;
    for (const QString &name : names)
        paths << folder.filePath(name);
    showEmptyNote(names.isEmpty());
    if (names.isEmpty())
        return;
    m_listedPaths = paths;
    m_listedNames = names;
    showListed();
}

void HomePage::on_btn_showAllPhoto_clicked()
{
    clearGrid();
    m_listedPaths.clear();
    m_listedNames.clear();
    // Every folder of the tree, in the tree's order; each folder's photographs in name order.
    for (const QString &root : m_roots) {
        for (const QString &folder : folderPaths(folderTree(root))) {
            const QDir dir(folder);
            QStringList names = dir.entryList({"*.jpg"}, QDir::Files);
            sortFileNames(names);
            for (const QString &name : names) {
                m_listedPaths << dir.filePath(name);
                m_listedNames << QFileInfo(name).baseName();
            }
        }
    }
    m_tree->setCurrentItem(nullptr);
    m_tree->clearSelection();
    m_currentFolder->setText(tr("全部资源"));
    m_folderPath.clear();
    m_showingAll = true;
    showEmptyNote(m_listedPaths.isEmpty());
    if (!m_listedPaths.isEmpty())
        showListed();
}

void HomePage::showEmptyNote(bool empty)
{
    if (!m_showingAll)
        m_emptyNote->setText(tr("此文件夹中没有照片。"));
    else if (m_roots.isEmpty())
        m_emptyNote->setText(tr("还没有导入文件夹：点击“导入”选择一个。"));
    else
        m_emptyNote->setText(tr("导入的文件夹中没有照片。"));
    m_emptyNote->setVisible(empty);
    if (empty)
        m_findHotSpots->setEnabled(false);
    m_grid->setVisible(!empty);
}

void HomePage::showListed()
{
    // Every photograph is listed at once, named by its file name up to the first dot; the
    // thumbnails are decoded in the background, in order, and drawn as they arrive.
    QStringList labels;
    labels.reserve(m_listedNames.size());
    for (const QString &name : m_listedNames)
        labels << name.section('.', 0, 0);
    m_model->setPhotos(m_listedPaths, labels);
    m_findHotSpots->setEnabled(true);
    m_grid->scrollToTop();
    const ScreenLayout &layout = shellValues().layout;
    m_loader->start(m_listedPaths, QSize(layout.thumbWidth, layout.thumbHeight));
}

void HomePage::showImportProgress(int delivered, int total)
{
    m_progressBar->setRange(0, std::max(1, total));
    m_progressBar->setValue(delivered);
    m_progressText->setText(tr("正在导入图片...") + QString(" %1 / %2").arg(delivered).arg(total));
    m_progress->show();
}

void HomePage::importEnded(bool cancelled)
{
    m_progress->hide();
    emit sig_importFinished(cancelled);
}

void HomePage::preferVisibleRows()
{
    const int rows = m_model->rowCount();
    if (!m_loader->isRunning() || rows == 0)
        return;
    // Rows run in reading order, so the rows on screen are one range: the first whose entry
    // ends below the viewport's top to the last whose entry begins above its bottom.
    const int height = m_grid->viewport()->height();
    auto firstRow = [&](auto below) {
        int low = 0, high = rows;
        while (low < high) {
            const int mid = (low + high) / 2;
            if (below(m_grid->visualRect(m_model->index(mid))))
                high = mid;
            else
                low = mid + 1;
        }
        return low;
    };
    const int first = firstRow([](const QRect &r) { return r.bottom() >= 0; });
    const int last = firstRow([height](const QRect &r) { return r.top() >= height; }) - 1;
    if (first <= last)
        m_loader->prefer(first, last);
}

void HomePage::on_listWidget_photo_doubleClicked(const QModelIndex &index)
{
    // The entry's own row: two photographs may share the label before their first dot.
    const int row = index.row();
    if (index.isValid() && row < m_listedPaths.size())
        emit sig_selectImg(m_listedPaths, row);
}
