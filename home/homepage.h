#pragma once

#include <QStringList>
#include <QWidget>

class QGroupBox;
class QLabel;
class QListView;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
struct FolderTree;
class PhotoGridModel;
class ThumbnailLoader;

// The photo library: imported folders as a tree, the photographs of the chosen folder as a
// grid of thumbnails; a double click opens one on the analysis page. The grid lists every
// photograph at once and its thumbnails fill in as worker threads decode them, those on
// screen first; a progress bar with a cancel button above the grid follows the decoding.
class HomePage : public QWidget
{
    Q_OBJECT
public:
    explicit HomePage(QWidget *parent = nullptr);
    void retranslate();

    // Adds a folder to the library and lists its photographs (what the import button does
    // once a folder is chosen). Returns once the grid lists them; thumbnails follow.
    void importFolder(const QString &folder);

    QStringList importedRoots() const { return m_roots; }
    QStringList listedPaths() const { return m_listedPaths; }
    QStringList listedNames() const { return m_listedNames; }
    // The folder whose photographs are on show; empty when none is, or when every imported
    // folder is on show at once.
    QString currentFolderPath() const;

    // True while thumbnails of the listing are still being decoded.
    bool isImporting() const;
    // Stops decoding: thumbnails not decoded yet stay empty frames, every row stays listed.
    void cancelImport();

signals:
    void sig_selectImg(QStringList imgList, int index);
    // The thumbnails of the listing are all in (cancelled false), or their decoding stopped.
    void sig_importFinished(bool cancelled);
    // The hot-spot finder was asked for the photographs listed.
    void sig_findHotSpots(const QStringList &photos);

public slots:
    void on_btn_inputPhotoDir_clicked();
    void on_btn_showAllPhoto_clicked();
    void on_treeWidget_dir_itemClicked(QTreeWidgetItem *item, int column);
    void on_listWidget_photo_doubleClicked(const QModelIndex &index);
    void on_btn_cancelImport_clicked();

private:
    void showPhotos(const QString &dir, const QStringList &nameFilters);
    void showListed();
    void clearGrid();
    void showImportProgress(int delivered, int total);
    void importEnded(bool cancelled);
    void preferVisibleRows();
    void addSubFolders(QTreeWidgetItem *parent, const FolderTree &folder);
    void showEmptyNote(bool empty);

    QGroupBox *m_left;
    QGroupBox *m_right;
    QPushButton *m_import;
    QPushButton *m_showAll;
    QPushButton *m_findHotSpots;
    QTreeWidget *m_tree;
    QLabel *m_currentFolder;
    QString m_folderPath; // the folder on show; empty while every imported folder is
    bool m_showingAll = false;
    QWidget *m_progress;
    QLabel *m_progressText;
    QProgressBar *m_progressBar;
    QPushButton *m_cancelImport;
    QListView *m_grid;
    QLabel *m_emptyNote;
    PhotoGridModel *m_model;
    ThumbnailLoader *m_loader;

    QList<QTreeWidgetItem *> m_lastImportItems;
    QStringList m_roots; // newest first, in the order of the tree's top-level items
    QStringList m_listedPaths;
    QStringList m_listedNames;
};
