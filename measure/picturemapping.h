#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>

// How a photograph's pixels lie on the scene: its unturned frame, turned by quarter turns to the
// left (as the picture turns), stretched over the picture rectangle. Continuous: a pixel's
// centre (x + 0.5, y + 0.5) goes to the centre of the pixel it becomes after the turns.
struct PictureMapping
{
    QRectF image; // the scene rectangle the turned picture is drawn in
    QSize frame;  // the photograph's size before turning
    int turns = 0;

    bool valid() const { return !image.isEmpty() && !frame.isEmpty(); }
    // The frame's size after the turns.
    QSize turnedFrame() const { return turns % 2 ? frame.transposed() : frame; }
    QPointF toScene(const QPointF &pixel) const;
    QPointF toPixel(const QPointF &scene) const;
    // A radius through the horizontal scale of the turned picture, as statistics read it.
    double radiusToScene(double pixels) const;
    double radiusToPixels(double scene) const;
};
