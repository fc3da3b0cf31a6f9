#pragma once

class QWidget;

// The dark panel with a soft shadow that the frameless dialogs paint: the panel inset by the
// shadow's width, ten rings of black fading outwards around it. Where windows cannot be
// translucent the shadow would show as a black band, so there is none: the panel fills the
// window.

// The shadow's width around the panel: 10 pixels where windows can be translucent, else 0.
int dropShadowWidth();
// Makes widget's background translucent when it has a shadow; returns the shadow's width,
// which the widget keeps for its layout and its painting.
int setUpDropShadow(QWidget *widget);
void paintDropShadow(QWidget *widget, int shadowWidth);
