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
