#pragma once

#include <QAbstractListModel>
#include <QImage>
#include <QStringList>
#include <QVector>

// One decoded thumbnail for a row of the grid; a null image means the photograph could not
// be decoded.
struct GridThumbnail
{
    int row = -1;
    QImage image;
};
Q_DECLARE_METATYPE(GridThumbnail)

// The photographs of the home page's grid: path, name shown under the thumbnail and the
// thumbnail once it has been decoded. Rows are known at once; thumbnails arrive later.
class PhotoGridModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        PathRole = Qt::UserRole + 1, // QString, the photograph's full path
        ThumbnailRole,               // QImage, null until decoded (and for a failed decode)
        StateRole,                   // int, a ThumbnailState
    };
    enum ThumbnailState { Pending, Ready, Failed };

    explicit PhotoGridModel(QObject *parent = nullptr);

    // Replaces every row: one per path, named by the label of the same index, no thumbnails yet.
    void setPhotos(const QStringList &paths, const QStringList &labels);
    void clear();
    // Thumbnails of a batch, in any order; rows outside the model are ignored.
    void setThumbnails(const QVector<GridThumbnail> &batch);

    QStringList paths() const;
    QString path(int row) const;
    QString label(int row) const;
    ThumbnailState state(int row) const;
    // Rows whose thumbnail arrived, decoded or not.
    int settledCount() const { return m_settled; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    struct Photo
    {
        QString path;
        QString label;
        QImage thumbnail;
        ThumbnailState state = Pending;
    };
    QVector<Photo> m_photos;
    int m_settled = 0;
};
