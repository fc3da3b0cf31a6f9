#include "screenlayout.h"

#include <array>
#include <utility>

ScreenLayout screenLayoutForHeight(int screenHeight)
{
    static const std::array<std::pair<int, ScreenLayout>, 11> table = {{
        {1152, {196, 179, 178, 134, 1137, 853, 682, 1137}},
        {1200, {203, 186, 186, 140, 1185, 888, 710, 1185}},
        {1440, {245, 224, 224, 168, 1422, 1066, 852, 1422}},
        {1536, {260, 238, 238, 179, 1517, 1137, 909, 1517}},
        {1600, {271, 248, 248, 186, 1580, 1185, 948, 1580}},
        {1920, {326, 298, 298, 224, 1896, 1422, 1137, 1896}},
        {2000, {340, 311, 310, 233, 1975, 1481, 1184, 1975}},
        {2048, {348, 318, 317, 238, 2022, 1517, 1213, 2022}},
        {2160, {368, 336, 336, 252, 2133, 1600, 1280, 2133}},
        {2400, {408, 373, 373, 280, 2370, 1777, 1421, 2370}},
        {2560, {435, 398, 397, 298, 2528, 1896, 1516, 2528}},
    }};
    for (const auto &row : table) {
        if (row.first == screenHeight)
            return row.second;
    }
    return {184, 168, 168, 126, 1000, 800, 640, 1000};
}

int textPixelsForFontSize(int size)
{
    return size == 6 ? 18 : size == 2 ? 13 : 16;
}

ShellValues &shellValues()
{
    static ShellValues values;
    return values;
}
