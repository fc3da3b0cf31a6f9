#include "itemtables.h"

QHash<QString, ItemTable> &itemTables()
{
    static QHash<QString, ItemTable> tables;
    return tables;
}

QHash<QString, QHash<int, int>> &itemCounters()
{
    static QHash<QString, QHash<int, int>> counters;
    return counters;
}

ItemTable copiesOf(const ItemTable &table)
{
    ItemTable copies;
    for (auto it = table.constBegin(); it != table.constEnd(); ++it)
        copies.insert(it.key(), it.value()->copyInPlace());
    return copies;
}

QList<ItemStatsRow> itemStatsRows(const QString &path)
{
    QList<ItemStatsRow> rows;
    const ItemTable table = itemTables().value(path);
    for (const ItemPtr &item : table) {
        const TempStats &s = item->stats();
        rows.append({item->type(), item->name(), s.avg, s.max, s.min});
    }
    return rows;
}
