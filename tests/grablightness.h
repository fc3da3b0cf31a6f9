#pragma once

#include <QImage>
#include <QWidget>

#include <algorithm>

// How a widget looks once drawn: the share of its pixels at least as light as 180 grey and at
// most as dark as 90, enough to tell a light dialog from a dark one and to see text on it.
struct Lightness
{
    double light = 0;
    double dark = 0;
    bool someLight() const { return light > 0; }
    bool someDark() const { return dark > 0; }
};

inline Lightness lightness(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    int light = 0, dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            light += grey >= 180;
            dark += grey <= 90;
        }
    }
    const double pixels = std::max(1, image.width() * image.height());
    return {light / pixels, dark / pixels};
}
