#pragma once

#include <QStringList>
#include <QWidget>

class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class MyProgressDlg;

// The photo library: imported folders as a tree, the photographs of the chosen folder as a
// grid of thumbnails; a double click opens one on the analysis page.
class HomePage : public QWidget
{
    Q_OBJECT
public:
    explicit HomePage(QWidget *parent = nullptr);
    void retranslate();

    // Adds a folder to the library and lists its photographs (what the import button does
    // once a folder is chosen).
    void importFolder(const QString &folder);

    QStringList importedRoots() const { return m_roots; }
    QStringList listedPaths() const { return m_listedPaths; }
    QStringList listedNames() const { return m_listedNames; }
    // The folder whose photographs are on show; empty when none is, or when every imported
    // folder is on show at once.
    QString currentFolderPath() const;

signals:
    void sig_selectImg(QStringList imgList, int index);

public slots:
    void on_btn_inputPhotoDir_clicked();
    void on_btn_showAllPhoto_clicked();
    void on_treeWidget_dir_itemClicked(QTreeWidgetItem *item, int column);
    void on_listWidget_photo_itemDoubleClicked(QListWidgetItem *item);

private:
    void showPhotos(const QString &dir, const QStringList &nameFilters);
    void showListed();
    void fillGrid(MyProgressDlg *progress);
    void addSubFolders(QTreeWidgetItem *parent, const QString &dir);
    void collectFiles(const QString &dir, QStringList &out);

    QGroupBox *m_left;
    QGroupBox *m_right;
    QPushButton *m_import;
    QPushButton *m_showAll;
    QTreeWidget *m_tree;
    QLabel *m_currentFolder;
    QString m_folderPath; // the folder on show; empty while every imported folder is
    bool m_showingAll = false;
    QListWidget *m_grid;

    QList<QTreeWidgetItem *> m_lastImportItems;
    QStringList m_roots; // newest first, in the order of the tree's top-level items
    QStringList m_listedPaths;
    QStringList m_listedNames;
};
