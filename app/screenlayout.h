#pragma once

#include <QString>

// Sizes of thumbnails and of the analysis image view, chosen by the height of the
// primary screen.
struct ScreenLayout
{
    int rowWidth;
    int rowHeight;
    int thumbWidth;
    int thumbHeight;
    int viewWidth;
    int viewHeight;
    int minSide;  // minimum width and height of the analysis view
    int maxWidth; // maximum width of the analysis view
};

ScreenLayout screenLayoutForHeight(int screenHeight);

// The text size in pixels of the analysis page's lists for a size of the "more" menu (2 small,
// 4 default, 6 large).
int textPixelsForFontSize(int size);

// Values the main window sets once at start-up and the pages read.
struct ShellValues
{
    int primaryScreenHeight = 0;
    ScreenLayout layout = screenLayoutForHeight(0);
    QString tempImageDir; // this run's private snapshot folder, removed at exit; empty when none could be made
};

ShellValues &shellValues();
