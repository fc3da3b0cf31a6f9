#pragma once

#include <QPalette>

// The program's dark colours for dialogs drawn by Qt's own style without a style sheet (the
// colour chooser, the alarm threshold): light text on the pages' greys, its blue for the
// selection, disabled texts dimmed but still readable.
QPalette darkPalette();
