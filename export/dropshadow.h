#pragma once

class QWidget;

// The dark panel with a soft shadow that the frameless dialogs paint: the panel inset by 10
// pixels, ten rings of black fading outwards around it.
void paintDropShadow(QWidget *widget);
