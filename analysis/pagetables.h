#pragma once

#include <QHash>
#include <QMap>
#include <QString>

class MyItemTemp;

// Rows of the measured-temperature list by photograph and item name (GUI thread only).
QHash<QString, QMap<QString, MyItemTemp *>> &itemRowTables();

// Set while a photo list is open on the analysis page.
bool &photoPageOpen();
