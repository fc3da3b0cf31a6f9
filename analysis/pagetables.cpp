#include "pagetables.h"

QHash<QString, QMap<QString, MyItemTemp *>> &itemRowTables()
{
    static QHash<QString, QMap<QString, MyItemTemp *>> rows;
    return rows;
}

bool &photoPageOpen()
{
    static bool open = false;
    return open;
}
