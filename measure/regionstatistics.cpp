#include "regionstatistics.h"

#include "openedphotos.h"
#include "photostore.h"
#include "runstatistics.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Conversion toward zero that stays defined for any double (degenerate rectangles give
// infinities and NaN).
int truncated(double v)
{
    if (std::isnan(v))
        return 0;
    v = std::clamp(v, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max()));
    return int(v);
}

double ratio(double numerator, double denominator)
{
    return denominator == 0 ? 0.0 : numerator / denominator;
}

int scaled(double value, double origin, double extent, int size)
{
    const int p = truncated(ratio(value - origin, extent) * size);
    return p == size ? p - 1 : p;
}

RegionStats unavailable()
{
    return RegionStats{};
}

} // namespace

TemperatureGrid TemperatureGrid::of(const QString &path)
{
    if (!loadedPhotoPaths().contains(path))
        return TemperatureGrid();
    return TemperatureGrid(PhotoStore::program().turnedMatrix(path));
}

QPoint sceneToPixel(const QPointF &scene, const QRectF &image, int width, int height)
{
    return QPoint(scaled(scene.x(), image.left(), image.width(), width),
                  scaled(scene.y(), image.top(), image.height(), height));
}

QPoint sceneToPixel(const QPointF &scene, const QRectF &image, const TemperatureGrid &grid)
{
    const int width = grid.width(), height = grid.height();
    if (width == 0 || height == 0)
        return QPoint(0, 0);
    const QPoint p = sceneToPixel(scene, image, width, height);
    return QPoint(std::clamp(p.x(), 0, width - 1), std::clamp(p.y(), 0, height - 1));
}

QPointF pixelToScene(const QPoint &pixel, const QRectF &image, int width, int height)
{
    return QPointF(truncated(image.width() * ratio(pixel.x(), width) + image.left()),
                   truncated(image.height() * ratio(pixel.y(), height) + image.top()));
}

QPointF pixelToScene(const QPoint &pixel, const QRectF &image, const TemperatureGrid &grid)
{
    const int x = truncated(ratio(pixel.x(), grid.width()) * image.width() + image.left());
    const int y = truncated(ratio(pixel.y(), grid.height()) * image.height() + image.top());
    return QPointF(std::clamp(x, 0, std::max(0, truncated(image.width()) - 1)),
                   std::clamp(y, 0, std::max(0, truncated(image.height()) - 1)));
}

QPoint quarterTurn(const QPoint &pixel, int widthBeforeTurn)
{
    return QPoint(pixel.y(), widthBeforeTurn - 1 - pixel.x());
}

float temperatureAt(const QPoint &pixel, const QString &path)
{
    return TemperatureGrid::of(path).at(pixel);
}

float temperatureAtScene(const QPointF &scene, const QRectF &image, const QString &path)
{
    const TemperatureGrid grid = TemperatureGrid::of(path);
    return grid.at(sceneToPixel(scene, image, grid));
}

int lineSampleCount(const QPointF &a, const QPointF &b, const QRectF &image, int imageHeight)
{
    return std::max(0, truncated(ratio(imageHeight * std::hypot(b.x() - a.x(), b.y() - a.y()), image.height())));
}

int circlePixelRadius(double radius, const QRectF &image, int imageWidth)
{
    return std::max(0, truncated(ratio(radius, image.width()) * imageWidth));
}

QVector<QPointF> sampleLine(const QPointF &start, const QPointF &end, int n)
{
    QVector<QPointF> points;
    if (n <= 0)
        return points;
    points.reserve(n);
    QVector<QPair<QPointF, QPointF>> level = {{start, end}};
    while (true) {
        QVector<QPair<QPointF, QPointF>> next;
        next.reserve(level.size() * 2);
        for (const auto &segment : level) {
            const QPointF middle = segment.first * 0.5 + segment.second * 0.5;
            points.append(middle);
            if (points.size() == n)
                return points;
            next.append({segment.first, middle});
            next.append({middle, segment.second});
        }
        level.swap(next);
    }
}

namespace {

// Cuts the segment a-b to the closed rectangle (Liang-Barsky); false when nothing of it lies
// inside, or when it is not made of finite numbers. An end that is cut lies exactly on the edge
// that cuts it, its other coordinate found through the slope, so that a diagonal cut at a
// whole pixel stays on whole pixels.
bool clippedSegment(QPointF &a, QPointF &b, const QRectF &area)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    if (!std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(a.x()) || !std::isfinite(a.y()))
        return false;
    const double edges[4] = {area.left(), area.left() + area.width(), area.top(), area.top() + area.height()};
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - edges[0], edges[1] - a.x(), a.y() - edges[2], edges[3] - a.y()};
    double enter = 0.0, leave = 1.0;
    int enterEdge = -1, leaveEdge = -1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false; // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0 && t > enter) {
            enter = t;
            enterEdge = i;
        } else if (p[i] > 0.0 && t < leave) {
            leave = t;
            leaveEdge = i;
        }
    }
    if (enter > leave)
        return false;
    const QPointF from = a;
    auto onEdge = [&](int edge) {
        const double at = edges[edge];
        return edge < 2 ? QPointF(at, from.y() + (at - from.x()) * (dy / dx))
                        : QPointF(from.x() + (at - from.y()) * (dx / dy), at);
    };
    if (enterEdge >= 0)
        a = onEdge(enterEdge);
    if (leaveEdge >= 0)
        b = onEdge(leaveEdge);
    return true;
}

// Every pixel a run may hold: the clip of the unbounded builders. Bounds beyond it could not
// be stored in a run, and no matrix reaches them.
const QRect kAnyPixel(QPoint(std::numeric_limits<int>::min(), std::numeric_limits<int>::min()),
                      QPoint(std::numeric_limits<int>::max() - 1, std::numeric_limits<int>::max() - 1));

// The pixels of the grid: what a shape's statistics read, and so where its runs are cut.
QRect gridPixels(const TemperatureGrid &grid)
{
    return QRect(0, 0, grid.width(), grid.height());
}

} // namespace

PixelRuns rectangleRuns(const QRectF &r)
{
    return rectangleRuns(r, kAnyPixel);
}

PixelRuns rectangleRuns(const QRectF &r, const QRect &clip)
{
    PixelRuns runs;
    if (clip.isEmpty())
        return runs;
    // Bounds in 64 bits: a rectangle reaching the largest int must neither wrap nor loop forever.
    const double bottom = r.top() + r.height();
    const qint64 x0 = std::max<qint64>(truncated(r.left()), clip.left());
    const qint64 x1 = std::min<qint64>(qint64(truncated(std::floor(r.left() + r.width()))) + 1, qint64(clip.right()) + 1);
    if (x1 <= x0 || std::isnan(bottom))
        return runs;
    const qint64 last = std::min<qint64>(truncated(std::floor(bottom)), clip.bottom()); // y <= bottom
    for (qint64 y = std::max<qint64>(truncated(r.top()), clip.top()); y <= last; ++y)
        runs.append({int(y), int(x0), int(x1)});
    return runs;
}

PixelRuns diskRuns(const QPoint &c, int radius)
{
    return diskRuns(c, radius, kAnyPixel);
}

PixelRuns diskRuns(const QPoint &c, int radius, const QRect &clip)
{
    PixelRuns runs;
    if (radius < 0 || clip.isEmpty())
        return runs;
    // In 64 bits: centre and radius may be anywhere in the int range.
    const qint64 r2 = qint64(radius) * radius;
    const qint64 first = std::max<qint64>(qint64(c.y()) - radius, clip.top());
    const qint64 last = std::min<qint64>(qint64(c.y()) + radius, clip.bottom());
    for (qint64 y = first; y <= last; ++y) {
        const qint64 dy = y - c.y();
        // The largest w with w * w <= r2 - dy * dy, found exactly in integers.
        qint64 w = qint64(std::sqrt(double(r2 - dy * dy)));
        while (w * w > r2 - dy * dy)
            --w;
        while ((w + 1) * (w + 1) <= r2 - dy * dy)
            ++w;
        const qint64 x0 = std::max<qint64>(qint64(c.x()) - w, clip.left());
        const qint64 x1 = std::min<qint64>(qint64(c.x()) + w + 1, qint64(clip.right()) + 1);
        if (x0 < x1)
            runs.append({int(y), int(x0), int(x1)});
    }
    return runs;
}

namespace {

// Where the polygon's edges cross row y, as QPolygonF::containsPoint finds them: horizontal
// edges are ignored and an edge counts for y1 <= y < y2. A pixel is inside when an odd number
// of crossings lie at or left of it.
QVector<qreal> rowCrossings(const QPolygonF &polygon, qreal y)
{
    QVector<qreal> crossings;
    auto edge = [&](QPointF p1, QPointF p2) {
        if (qFuzzyCompare(p1.y(), p2.y()))
            return;
        if (p2.y() < p1.y())
            std::swap(p1, p2);
        if (y >= p1.y() && y < p2.y())
            crossings.append(p1.x() + ((p2.x() - p1.x()) / (p2.y() - p1.y())) * (y - p1.y()));
    };
    for (int i = 1; i < polygon.size(); ++i)
        edge(polygon[i - 1], polygon[i]);
    if (polygon.last() != polygon.first())
        edge(polygon.last(), polygon.first());
    std::sort(crossings.begin(), crossings.end());
    return crossings;
}

} // namespace

PixelRuns polygonRuns(const QRectF &bounds, const QVector<QPointF> &vertices)
{
    return polygonRuns(bounds, vertices, kAnyPixel);
}

PixelRuns polygonRuns(const QRectF &bounds, const QVector<QPointF> &vertices, const QRect &clip)
{
    if (clip.isEmpty())
        return PixelRuns();
    auto inClip = [&clip](PixelRuns runs) {
        runs.erase(std::remove_if(runs.begin(), runs.end(), [&clip](const PixelRun &run) {
                       return run.x0 < clip.left() || run.x0 > clip.right() || run.y < clip.top()
                           || run.y > clip.bottom();
                   }),
                   runs.end());
        return runs;
    };
    auto pixel = [](const QPointF &p) { return QPoint(truncated(p.x()), truncated(p.y())); };
    if (vertices.size() == 1)
        return inClip(runsOf({pixel(vertices.first())}));
    if (vertices.size() == 2) {
        // A segment: its ends and its samples, one for each pixel of its length. Only the part
        // inside the clip is sampled, so a long segment does not cost more than the clip.
        QPointF a = vertices.first(), b = vertices.last();
        QVector<QPoint> pixels = {pixel(a)};
        const QRectF clipArea(clip.left(), clip.top(), double(clip.right()) - clip.left() + 1,
                              double(clip.bottom()) - clip.top() + 1);
        if (clippedSegment(a, b, clipArea)) {
            for (const QPointF &p : sampleLine(a, b, truncated(std::hypot(b.x() - a.x(), b.y() - a.y()))))
                pixels.append(pixel(p));
        }
        pixels.append(pixel(vertices.last()));
        return inClip(runsOf(pixels));
    }
    PixelRuns runs;
    if (vertices.size() < 3)
        return runs;
    const QPolygonF polygon(vertices);
    // In 64 bits and within the clip: the bounds may reach the largest int.
    const qint64 left = std::max<qint64>(truncated(bounds.left()), clip.left());
    const qint64 right = std::min<qint64>(truncated(std::ceil(bounds.left() + bounds.width())), // x < left + width
                                          qint64(clip.right()) + 1);
    const double bottom = bounds.top() + bounds.height();
    for (qint64 y = std::max<qint64>(truncated(bounds.top()), clip.top()); y <= clip.bottom() && double(y) < bottom; ++y) {
        const QVector<qreal> crossings = rowCrossings(polygon, qreal(y));
        // Inside from an even-numbered crossing (inclusive) to the next (exclusive).
        for (int k = 0; k + 1 < crossings.size(); k += 2) {
            const qint64 x0 = std::max<qint64>(left, truncated(std::ceil(crossings[k])));
            const qint64 x1 = std::min<qint64>(right, truncated(std::ceil(crossings[k + 1])));
            if (x0 < x1)
                runs.append({int(y), int(x0), int(x1)});
        }
    }
    return runs;
}

PixelRuns runsOf(const QVector<QPoint> &pixels)
{
    PixelRuns runs;
    runs.reserve(pixels.size());
    // A pixel in the last column of the int range has no end a run could store; no matrix
    // reaches it.
    for (const QPoint &p : pixels)
        if (p.x() < std::numeric_limits<int>::max())
            runs.append({p.y(), p.x(), p.x() + 1});
    return runs;
}

QVector<QPoint> pixelsOf(const PixelRuns &runs)
{
    QVector<QPoint> pixels;
    for (const PixelRun &run : runs)
        for (int x = run.x0; x < run.x1; ++x)
            pixels.append(QPoint(x, run.y));
    return pixels;
}

RegionStats accumulate(const PixelRuns &runs, float t0, const QPointF &t0Position, const TemperatureGrid &grid)
{
    RegionStats region;
    TempStats &s = region.stats;
    s.max = s.min = t0;
    s.maxPos = s.minPos = t0Position;
    // A reference without a reading cannot start the extremes: 65536 would stay the maximum.
    // The first pixel with one does instead.
    bool seeded = t0 != NA_TEMPERATURE;
    double sum = 0.0;
    for (const PixelRun &run : runs) {
        // Pixels outside the matrix are skipped: the run is cut to the row.
        const float *row = grid.row(run.y);
        if (!row)
            continue;
        const int x0 = std::max(run.x0, 0);
        const int x1 = std::min(run.x1, grid.width());
        if (x1 <= x0)
            continue;
        const float *values = row + x0;
        const int count = x1 - x0;
        // Pixels without a reading are skipped too. Ties keep the first pixel met: a run only
        // moves an extreme it beats.
        const RunStatistics r = runStatistics(values, count);
        if (r.count == 0)
            continue;
        if (!seeded || r.max > s.max) {
            const int at = firstIndexOf(values, count, r.max);
            if (at < count) {
                s.max = values[at];
                s.maxPos = QPointF(x0 + at, run.y);
            }
        }
        if (!seeded || r.min < s.min) {
            const int at = firstIndexOf(values, count, r.min);
            if (at < count) {
                s.min = values[at];
                s.minPos = QPointF(x0 + at, run.y);
            }
        }
        seeded = true;
        sum += r.sum;
        region.count += r.count;
    }
    if (region.count == 0)
        return unavailable();
    s.avg = float(sum / double(region.count));
    return region;
}

RegionStats pointStatistics(const QPointF &point, const QRectF &image, const TemperatureGrid &grid)
{
    RegionStats region;
    const float t = grid.at(sceneToPixel(point, image, grid));
    region.stats.max = region.stats.min = region.stats.avg = t;
    region.stats.maxPos = region.stats.minPos = point;
    region.count = 1;
    return region;
}

RegionStats lineStatistics(const QPointF &start, const QPointF &end, const QRectF &image, int imageHeight,
                           const TemperatureGrid &grid)
{
    if (!grid.available())
        return unavailable();
    // Only the part of the line over the picture is sampled: the rest has no pixels, and a
    // line far longer than the picture would otherwise ask for that many samples.
    QPointF a = start, b = end;
    if (!clippedSegment(a, b, image))
        return unavailable();
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    // One sample a pixel of the picture's height; never more than twice the grid's pixels
    // across, whatever height the caller states.
    const int limit = 2 * (grid.width() + grid.height());
    const int n = std::clamp(truncated(ratio(imageHeight * length, image.height())), 0, limit);
    RegionStats region;
    TempStats &s = region.stats;
    // The start is the reference; without a reading the first sample with one starts the
    // extremes instead.
    const float t0 = grid.at(sceneToPixel(a, image, grid));
    s.max = s.min = s.avg = t0;
    s.maxPos = s.minPos = a;
    bool seeded = t0 != NA_TEMPERATURE;
    double sum = 0.0;
    int readings = 0;
    for (const QPointF &sample : sampleLine(a, b, n)) {
        const float t = grid.at(sceneToPixel(sample, image, grid));
        if (t == NA_TEMPERATURE)
            continue;
        if (!seeded || t > s.max) {
            s.max = t;
            s.maxPos = sample;
        }
        if (!seeded || t < s.min) {
            s.min = t;
            s.minPos = sample;
        }
        seeded = true;
        sum += double(t);
        ++readings;
    }
    // Without a sample with a reading the start alone gives the statistics, as a line of no
    // length does.
    if (readings > 0)
        s.avg = float(sum / double(readings));
    region.count = readings;
    return region;
}

RegionStats rectangleStatistics(const QRectF &rect, const QRectF &image, int imageWidth, int imageHeight,
                                const TemperatureGrid &grid)
{
    const QPoint topLeft = sceneToPixel(rect.topLeft(), image, imageWidth, imageHeight);
    const QPoint bottomRight = sceneToPixel(rect.bottomRight(), image, imageWidth, imageHeight);
    // Cut to the grid before the runs are built: only its pixels are read.
    const PixelRuns runs = rectangleRuns(QRectF(topLeft.x(), topLeft.y(), double(bottomRight.x()) - topLeft.x(),
                                                double(bottomRight.y()) - topLeft.y()),
                                         gridPixels(grid));
    if (runs.isEmpty())
        return unavailable();
    const QPointF first(runs.first().x0, runs.first().y);
    RegionStats region = accumulate(runs, grid.at(sceneToPixel(rect.topLeft(), image, grid)), first, grid);
    region.stats.maxPos = pixelToScene(region.stats.maxPos.toPoint(), image, imageWidth, imageHeight);
    region.stats.minPos = pixelToScene(region.stats.minPos.toPoint(), image, imageWidth, imageHeight);
    return region;
}

RegionStats circleStatistics(const QPointF &centre, double radius, const QRectF &image, int imageWidth,
                             int imageHeight, const TemperatureGrid &grid)
{
    const QPoint centrePixel = sceneToPixel(centre, image, imageWidth, imageHeight);
    const int r = std::max(0, truncated(ratio(radius, image.width()) * imageWidth));
    RegionStats region = accumulate(diskRuns(centrePixel, r, gridPixels(grid)),
                                    grid.at(sceneToPixel(centre, image, grid)), centrePixel, grid);
    region.stats.maxPos = pixelToScene(region.stats.maxPos.toPoint(), image, imageWidth, imageHeight);
    region.stats.minPos = pixelToScene(region.stats.minPos.toPoint(), image, imageWidth, imageHeight);
    return region;
}

RegionStats polygonStatistics(const QVector<QPointF> &vertices, const QRectF &image, const TemperatureGrid &grid)
{
    QVector<QPointF> mapped;
    for (const QPointF &v : vertices)
        mapped.append(sceneToPixel(v, image, grid));
    const PixelRuns runs = polygonRuns(QPolygonF(mapped).boundingRect(), mapped, gridPixels(grid));
    if (runs.isEmpty())
        return unavailable();
    const QPoint first(runs.first().x0, runs.first().y);
    RegionStats region = accumulate(runs, grid.at(first), first, grid);
    if (region.count < 2)
        region.stats.avg = region.stats.max;
    region.stats.maxPos = pixelToScene(region.stats.maxPos.toPoint(), image, grid);
    region.stats.minPos = pixelToScene(region.stats.minPos.toPoint(), image, grid);
    return region;
}
