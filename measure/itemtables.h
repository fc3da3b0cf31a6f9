#pragma once

#include "mygraphicitem.h"

#include <QHash>
#include <QMap>
#include <QString>

// Measurement items by name. Tables share ownership of their items: a photograph's items
// live as long as its table (or the clipboard of a copied layout) refers to them.
using ItemTable = QMap<QString, ItemPtr>;

// Program-wide, keyed by the photograph's path; GUI thread only.
QHash<QString, ItemTable> &itemTables();
QHash<QString, QHash<int, int>> &itemCounters(); // path -> ItemKind -> items made so far

// Copies of every item of a table, each at its item's position.
ItemTable copiesOf(const ItemTable &table);

// One row of the statistics of a photograph's items: type value, name, average, maximum and
// minimum (the point's temperature three times for a point).
struct ItemStatsRow
{
    int type;
    QString name;
    float avg;
    float max;
    float min;
};

// The rows of the photograph's items in the table's order (by name).
QList<ItemStatsRow> itemStatsRows(const QString &path);
