#include "hotspotmodel.h"

#include <QFileInfo>

#include <algorithm>

namespace {

QString twoDecimals(double value)
{
    return QString::number(value, 'f', 2);
}

QString positionText(const std::optional<PhotoPosition> &position)
{
    if (!position)
        return QStringLiteral("NA");
    return QString::number(position->latitude, 'f', 6) + QStringLiteral(", ") +
           QString::number(position->longitude, 'f', 6);
}

} // namespace

void HotSpotModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_icons.clear();
    endResetModel();
}

void HotSpotModel::append(const QVector<FoundHotSpot> &spots)
{
    insert(m_rows.size(), spots);
}

void HotSpotModel::replacePhotograph(const QString &path, const QVector<FoundHotSpot> &spots)
{
    int place = m_rows.size();
    for (int last = m_rows.size() - 1; last >= 0; --last) {
        if (m_rows.at(last).path != path)
            continue;
        int first = last;
        while (first > 0 && m_rows.at(first - 1).path == path)
            --first;
        beginRemoveRows(QModelIndex(), first, last);
        m_rows.remove(first, last - first + 1);
        m_icons.remove(first, last - first + 1);
        endRemoveRows();
        place = last = first;
    }
    insert(place, spots);
}

void HotSpotModel::insert(int row, const QVector<FoundHotSpot> &spots)
{
    if (spots.isEmpty())
        return;
    beginInsertRows(QModelIndex(), row, row + spots.size() - 1);
    for (int i = 0; i < spots.size(); ++i) {
        m_rows.insert(row + i, spots.at(i));
        m_icons.insert(row + i, QPixmap::fromImage(spots.at(i).crop.scaled(64, 64, Qt::KeepAspectRatio, Qt::FastTransformation)));
    }
    endInsertRows();
}

std::array<int, 3> HotSpotModel::classCounts() const
{
    std::array<int, 3> counts{0, 0, 0};
    for (const FoundHotSpot &row : m_rows)
        ++counts[std::size_t(std::clamp(row.spot.severity, 1, 3) - 1)];
    return counts;
}

int HotSpotModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int HotSpotModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HotSpotModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const FoundHotSpot &row = m_rows.at(index.row());
    const HotSpot &spot = row.spot;
    if (role == Qt::DecorationRole && index.column() == Crop)
        return m_icons.at(index.row());
    if (role == Qt::ToolTipRole && index.column() == File)
        return row.path;
    if (role == Qt::TextAlignmentRole && index.column() >= DeltaT)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == SortRole) {
        switch (index.column()) {
        case File: return row.path;
        case Time: return row.time;
        case Position: return positionText(row.position);
        case DeltaT: return spot.deltaT;
        case Class: return spot.severity;
        case Max: return spot.max;
        case Reference: return row.reference;
        case Area: return spot.area;
        default: return index.row();
        }
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case File: return QFileInfo(row.path).fileName();
    case Time: return row.time;
    case Position: return positionText(row.position);
    case DeltaT: return twoDecimals(spot.deltaT);
    case Class: return spot.severity;
    case Max: return twoDecimals(spot.max);
    case Reference: return twoDecimals(row.reference);
    case Area: return spot.area;
    default: return {};
    }
}

QVariant HotSpotModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Crop: return tr("位置");
    case File: return tr("文件名");
    case Time: return tr("拍摄时间");
    case Position: return tr("GPS");
    case DeltaT: return tr("温差(K)");
    case Class: return tr("等级");
    case Max: return tr("最高温度(℃)");
    case Reference: return tr("参考温度(℃)");
    case Area: return tr("面积(像素)");
    default: return {};
    }
}

void HotSpotModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

HotSpotClassFilter::HotSpotClassFilter(QObject *parent) : QSortFilterProxyModel(parent)
{
    setSortRole(HotSpotModel::SortRole);
}

void HotSpotClassFilter::setLowestClass(int lowest)
{
    m_lowest = lowest;
    invalidateFilter();
}

bool HotSpotClassFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const auto *model = static_cast<const HotSpotModel *>(sourceModel());
    return model->at(sourceRow).spot.severity >= m_lowest;
}
