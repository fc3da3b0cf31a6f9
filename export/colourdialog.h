#pragma once

#include <QColor>

class QWidget;

// Qt's colour chooser in the program's dark colours over the window of over, opened on
// initial. The chosen colour, or an invalid one when cancelled.
QColor pickColour(const QColor &initial, QWidget *over);
