#pragma once

#include <functional>

// Whether the transparent pixels of a window show what lies behind it. On X11 only while a
// compositing manager runs (without one they show black); other platforms always compose.
bool translucentWindows();

// Replaces the platform's answer (tests); an empty function restores it.
void setTranslucentWindowsCheck(std::function<bool()> check);
