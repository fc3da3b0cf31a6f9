#pragma once

#include "hotspotscan.h"

#include <QAbstractTableModel>
#include <QPixmap>
#include <array>
#include <QSortFilterProxyModel>

// Every anomaly of a scan, one row each, in the order they were found.
class HotSpotModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Crop, File, Time, Position, DeltaT, Class, Max, Reference, Area, ColumnCount };
    // The value a column sorts by: numbers for the numeric columns, the path for the file.
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void clear();
    void append(const QVector<FoundHotSpot> &spots);
    // The rows of the photograph at path replaced by spots (none removes them), in the place of
    // its first row, or at the end when it had none.
    void replacePhotograph(const QString &path, const QVector<FoundHotSpot> &spots);
    const FoundHotSpot &at(int row) const { return m_rows.at(row); }
    const QVector<FoundHotSpot> &rows() const { return m_rows; }
    // The number of anomalies of each class (index 0 for class 1).
    std::array<int, 3> classCounts() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Headers follow a language switch.
    void retranslate();

private:
    void insert(int row, const QVector<FoundHotSpot> &spots);

    QVector<FoundHotSpot> m_rows;
    QVector<QPixmap> m_icons; // each row's crop as drawn in the table, made once
};

// The rows of a class at least as high as the one chosen (1 shows every row).
class HotSpotClassFilter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit HotSpotClassFilter(QObject *parent = nullptr);
    void setLowestClass(int lowest);
    int lowestClass() const { return m_lowest; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    int m_lowest = 1;
};
