#include "photogridmodel.h"

#include <QFileInfo>

#include <algorithm>

PhotoGridModel::PhotoGridModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void PhotoGridModel::setPhotos(const QStringList &paths, const QStringList &labels)
{
    beginResetModel();
    m_photos.clear();
    m_photos.reserve(paths.size());
    for (int i = 0; i < paths.size(); ++i)
        m_photos.push_back({paths[i], labels.value(i), QImage(), Pending});
    m_settled = 0;
    endResetModel();
}

void PhotoGridModel::clear()
{
    setPhotos({}, {});
}

void PhotoGridModel::setThumbnails(const QVector<GridThumbnail> &batch)
{
    QVector<int> rows;
    rows.reserve(batch.size());
    for (const GridThumbnail &thumbnail : batch) {
        if (thumbnail.row < 0 || thumbnail.row >= m_photos.size())
            continue;
        Photo &photo = m_photos[thumbnail.row];
        if (photo.state == Pending)
            ++m_settled;
        photo.thumbnail = thumbnail.image;
        photo.state = thumbnail.image.isNull() ? Failed : Ready;
        rows << thumbnail.row;
    }
    // One change per run of neighbouring rows: the view repaints only what is on screen.
    std::sort(rows.begin(), rows.end());
    const QVector<int> roles{ThumbnailRole, StateRole};
    for (int i = 0; i < rows.size();) {
        int j = i;
        while (j + 1 < rows.size() && rows[j + 1] <= rows[j] + 1)
            ++j;
        emit dataChanged(index(rows[i]), index(rows[j]), roles);
        i = j + 1;
    }
}

QStringList PhotoGridModel::paths() const
{
    QStringList out;
    out.reserve(m_photos.size());
    for (const Photo &photo : m_photos)
        out << photo.path;
    return out;
}

QString PhotoGridModel::path(int row) const
{
    return row >= 0 && row < m_photos.size() ? m_photos[row].path : QString();
}

QString PhotoGridModel::label(int row) const
{
    return row >= 0 && row < m_photos.size() ? m_photos[row].label : QString();
}

PhotoGridModel::ThumbnailState PhotoGridModel::state(int row) const
{
    return row >= 0 && row < m_photos.size() ? m_photos[row].state : Pending;
}

int PhotoGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_photos.size();
}

QVariant PhotoGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_photos.size())
        return QVariant();
    const Photo &photo = m_photos[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return photo.label;
    case Qt::ToolTipRole:
        return QFileInfo(photo.path).fileName();
    case PathRole:
        return photo.path;
    case ThumbnailRole:
        return photo.thumbnail;
    case StateRole:
        return int(photo.state);
    default:
        return QVariant();
    }
}
