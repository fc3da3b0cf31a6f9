#pragma once

#include <functional>

// Whether the transparent pixels of a window show what lies behind it. On X11 only while a
// compositing manager runs (without one they show black); other platforms always compose.
bool translucentWindows();

class QMenu;

// A menu styled with rounded corners (and a margin): translucent where windows can be, so the
// corners show what lies behind; otherwise square and without the margin, which would show black.
// Called once its style sheet is set.
void fitMenuCorners(QMenu *menu);

// Replaces the platform's answer (tests); an empty function restores it.
void setTranslucentWindowsCheck(std::function<bool()> check);
