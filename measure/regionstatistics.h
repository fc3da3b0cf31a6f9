#pragma once

#include "temperaturematrix.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QVector>

// The pixel grid a measurement reads: the photograph's matrix turned by its rotation state,
// or nothing when the photograph is not opened or has no temperatures. Looked up once per
// region, not once per pixel. It shares the matrix, so it stays valid whatever the store does
// afterwards.
class TemperatureGrid
{
public:
    TemperatureGrid() = default;
    explicit TemperatureGrid(SharedMatrix matrix) : m_matrix(std::move(matrix)) {}
    // Reads a matrix the caller keeps alive for the grid's lifetime.
    explicit TemperatureGrid(const TemperatureMatrix *matrix) : m_matrix(std::shared_ptr<void>(), matrix) {}
    static TemperatureGrid of(const QString &path);

    bool available() const { return m_matrix && !m_matrix->empty(); }
    int width() const { return available() ? m_matrix->width() : 0; }
    int height() const { return available() ? m_matrix->height() : 0; }
    bool contains(const QPoint &p) const
    {
        return available() && p.y() >= 0 && p.y() < height() && p.x() >= 0 && p.x() < width();
    }
    // NA_TEMPERATURE without data and outside the matrix.
    float at(const QPoint &p) const { return contains(p) ? m_matrix->at(p.x(), p.y()) : NA_TEMPERATURE; }
    // width() values, or nothing outside the matrix.
    const float *row(int y) const { return available() && y >= 0 && y < height() ? m_matrix->row(y) : nullptr; }

private:
    SharedMatrix m_matrix;
};

// Scene and pixel grid are related by plain per-axis scaling of the image rectangle, with
// truncation. The scaling form takes the grid size; the matrix form takes it from the grid
// and clamps to it.
QPoint sceneToPixel(const QPointF &scene, const QRectF &image, int width, int height);
QPoint sceneToPixel(const QPointF &scene, const QRectF &image, const TemperatureGrid &grid);
QPointF pixelToScene(const QPoint &pixel, const QRectF &image, int width, int height);
QPointF pixelToScene(const QPoint &pixel, const QRectF &image, const TemperatureGrid &grid);

// A pixel of a frame widthBeforeTurn wide, turned by one quarter the way the picture turns
// (a quarter turn to the left): (y, W - 1 - x). The last column becomes the first row.
QPoint quarterTurn(const QPoint &pixel, int widthBeforeTurn);

float temperatureAt(const QPoint &pixel, const QString &path);
float temperatureAtScene(const QPointF &scene, const QRectF &image, const QString &path);

// The first n points of 1/2, 1/4, 3/4, 1/8, 3/8, ... of the way from start to end.
QVector<QPointF> sampleLine(const QPointF &start, const QPointF &end, int n);

// A pixel set as runs along rows: pixels x0 .. x1 - 1 of row y, row by row, x ascending.
struct PixelRun
{
    int y;
    int x0;
    int x1;
};
using PixelRuns = QVector<PixelRun>;

// Pixel sets: bounds inclusive for rectangle and disk; exclusive for polygon, whose pixels are
// those QPolygonF::containsPoint takes under the odd-even rule. The forms with a clip keep only
// the pixels inside it, and cost no more than it holds however large the shape: statistics clip
// to the grid they read. Without a clip, a shape gives every one of its pixels.
PixelRuns rectangleRuns(const QRectF &pixelRect);
PixelRuns rectangleRuns(const QRectF &pixelRect, const QRect &clip);
PixelRuns diskRuns(const QPoint &centre, int radius);
PixelRuns diskRuns(const QPoint &centre, int radius, const QRect &clip);
PixelRuns polygonRuns(const QRectF &bounds, const QVector<QPointF> &vertices);
PixelRuns polygonRuns(const QRectF &bounds, const QVector<QPointF> &vertices, const QRect &clip);
PixelRuns runsOf(const QVector<QPoint> &pixels); // each pixel a run of its own
QVector<QPoint> pixelsOf(const PixelRuns &runs);

inline QVector<QPoint> rectanglePixels(const QRectF &pixelRect) { return pixelsOf(rectangleRuns(pixelRect)); }
inline QVector<QPoint> diskPixels(const QPoint &centre, int radius) { return pixelsOf(diskRuns(centre, radius)); }
inline QVector<QPoint> polygonPixels(const QRectF &bounds, const QVector<QPointF> &vertices)
{
    return pixelsOf(polygonRuns(bounds, vertices));
}

// The number of samples of a line from a to b in scene coordinates: the picture's height in
// pixels times the line's length over the picture rectangle's height.
int lineSampleCount(const QPointF &a, const QPointF &b, const QRectF &image, int imageHeight);
// A circle's radius in pixels, through the horizontal scale of the picture.
int circlePixelRadius(double radius, const QRectF &image, int imageWidth);

// Statistics of a region with the number of pixels or samples taken. Pixels outside the
// matrix and pixels without a reading (NA_TEMPERATURE) are skipped and not counted; a region
// with none left has NA_TEMPERATURE statistics.
struct RegionStats
{
    TempStats stats;
    int count = 0;
};

// The common loop: maximum and minimum start at the reference temperature t0 and its
// position (at the first pixel with a reading when t0 has none); the average is the sum over
// the pixels with a reading inside the matrix by their count.
RegionStats accumulate(const PixelRuns &runs, float t0, const QPointF &t0Position, const TemperatureGrid &grid);

// Each shape's statistics; positions are scene points. image is the scene rectangle the
// picture is drawn in, imageWidth and imageHeight the picture's size in pixels.
RegionStats pointStatistics(const QPointF &point, const QRectF &image, const TemperatureGrid &grid);
// A line is sampled only over the picture rectangle, one sample per pixel of its length there.
RegionStats lineStatistics(const QPointF &start, const QPointF &end, const QRectF &image, int imageHeight,
                           const TemperatureGrid &grid);
RegionStats rectangleStatistics(const QRectF &rect, const QRectF &image, int imageWidth, int imageHeight,
                                const TemperatureGrid &grid);
RegionStats circleStatistics(const QPointF &centre, double radius, const QRectF &image, int imageWidth,
                             int imageHeight, const TemperatureGrid &grid);
RegionStats polygonStatistics(const QVector<QPointF> &vertices, const QRectF &image, const TemperatureGrid &grid);
