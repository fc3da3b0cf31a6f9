#pragma once

#include <QString>

// "P2" before "P10": runs of digits compare by their value, the rest as text.
bool naturalLess(const QString &a, const QString &b);

// The order a person reads file names in: natural, and letters without regard to case first
// ("IR_0001_2" before "IR_0001_10", "b.jpg" before "C.jpg"); names equal but for case still
// take one order.
bool naturalFileNameLess(const QString &a, const QString &b);
