#include "regionstatistics.h"

#include "phototables.h"
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
    QMutexLocker lock(&photoTablesMutex());
    if (!loadedPhotoPaths().contains(path))
        return TemperatureGrid();
    const auto record = photoRecords().constFind(path);
    if (record == photoRecords().constEnd() || !record->hasTemperature)
        return TemperatureGrid();
    const auto turned = rotatedMatrices().find(path);
    if (turned == rotatedMatrices().end() || !turned->value(0))
        return TemperatureGrid();
    const int state = rotationStates().value(path);
    SharedMatrix &matrix = (*turned)[state];
    if (!matrix) {
        // Turned copies are made when first read and kept beside the unturned one.
        TemperatureMatrix m = *turned->value(0);
        for (int turn = 0; turn < state; ++turn)
            m = quarterTurned(m);
        matrix = std::make_shared<const TemperatureMatrix>(std::move(m));
    }
    return TemperatureGrid(matrix);
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

TemperatureMatrix quarterTurned(const TemperatureMatrix &matrix)
{
    const std::size_t height = matrix.size();
    const std::size_t width = height ? matrix[0].size() : 0;
    TemperatureMatrix turned(width, TemperatureRow(height));
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width && x < matrix[y].size(); ++x)
            turned[width - 1 - x][y] = matrix[y][x];
    return turned;
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

PixelRuns rectangleRuns(const QRectF &r)
{
    PixelRuns runs;
    const double right = r.left() + r.width();
    const int x0 = truncated(r.left());
    const int x1 = truncated(std::floor(right)) + 1; // x <= right
    if (x1 <= x0)
        return runs;
    for (int y = truncated(r.top()); y <= r.top() + r.height(); ++y)
        runs.append({y, x0, x1});
    return runs;
}

PixelRuns diskRuns(const QPoint &c, int radius)
{
    PixelRuns runs;
    const qint64 r2 = qint64(radius) * radius;
    for (int y = c.y() - radius; y <= c.y() + radius; ++y) {
        const qint64 dy = y - c.y();
        // The largest w with w * w <= r2 - dy * dy, found exactly in integers.
        qint64 w = qint64(std::sqrt(double(r2 - dy * dy)));
        while (w * w > r2 - dy * dy)
            --w;
        while ((w + 1) * (w + 1) <= r2 - dy * dy)
            ++w;
        runs.append({y, int(c.x() - w), int(c.x() + w + 1)});
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
    auto pixel = [](const QPointF &p) { return QPoint(truncated(p.x()), truncated(p.y())); };
    if (vertices.size() == 1)
        return runsOf({pixel(vertices.first())});
    if (vertices.size() == 2) {
        const QPointF a = vertices.first(), b = vertices.last();
        QVector<QPoint> pixels = {pixel(a)};
        for (const QPointF &p : sampleLine(a, b, truncated(std::hypot(b.x() - a.x(), b.y() - a.y()))))
            pixels.append(pixel(p));
        pixels.append(pixel(b));
        return runsOf(pixels);
    }
    PixelRuns runs;
    if (vertices.size() < 3)
        return runs;
    const QPolygonF polygon(vertices);
    const int left = truncated(bounds.left());
    const int right = truncated(std::ceil(bounds.left() + bounds.width())); // x < left + width
    for (int y = truncated(bounds.top()); y < bounds.top() + bounds.height(); ++y) {
        const QVector<qreal> crossings = rowCrossings(polygon, y);
        // Inside from an even-numbered crossing (inclusive) to the next (exclusive).
        for (int k = 0; k + 1 < crossings.size(); k += 2) {
            const int x0 = std::max(left, truncated(std::ceil(crossings[k])));
            const int x1 = std::min(right, truncated(std::ceil(crossings[k + 1])));
            if (x0 < x1)
                runs.append({y, x0, x1});
        }
    }
    return runs;
}

PixelRuns runsOf(const QVector<QPoint> &pixels)
{
    PixelRuns runs;
    runs.reserve(pixels.size());
    for (const QPoint &p : pixels)
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
    double sum = 0.0;
    for (const PixelRun &run : runs) {
        // Pixels outside the matrix are skipped: the run is cut to the row.
        const TemperatureRow *row = grid.row(run.y);
        if (!row)
            continue;
        const int x0 = std::max(run.x0, 0);
        const int x1 = std::min<int>(run.x1, int(row->size()));
        if (x1 <= x0)
            continue;
        const float *values = row->data() + x0;
        const int count = x1 - x0;
        // Ties keep the first pixel met: a run only moves an extreme it beats.
        const RunStatistics r = runStatistics(values, count);
        if (r.max > s.max) {
            const int at = firstIndexOf(values, count, r.max);
            s.max = values[at];
            s.maxPos = QPointF(x0 + at, run.y);
        }
        if (r.min < s.min) {
            const int at = firstIndexOf(values, count, r.min);
            s.min = values[at];
            s.minPos = QPointF(x0 + at, run.y);
        }
        sum += r.sum;
        region.count += count;
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
    const double length = std::hypot(end.x() - start.x(), end.y() - start.y());
    const int n = std::max(0, truncated(ratio(imageHeight * length, image.height())));
    RegionStats region;
    TempStats &s = region.stats;
    s.max = s.min = s.avg = grid.at(sceneToPixel(start, image, grid));
    s.maxPos = s.minPos = start;
    double sum = 0.0;
    for (const QPointF &sample : sampleLine(start, end, n)) {
        const float t = grid.at(sceneToPixel(sample, image, grid));
        if (t > s.max) {
            s.max = t;
            s.maxPos = sample;
        }
        if (t < s.min) {
            s.min = t;
            s.minPos = sample;
        }
        sum += double(t);
    }
    if (n > 0)
        s.avg = float(sum / double(n));
    region.count = n;
    return region;
}

RegionStats rectangleStatistics(const QRectF &rect, const QRectF &image, int imageWidth, int imageHeight,
                                const TemperatureGrid &grid)
{
    const QPoint topLeft = sceneToPixel(rect.topLeft(), image, imageWidth, imageHeight);
    const QPoint bottomRight = sceneToPixel(rect.bottomRight(), image, imageWidth, imageHeight);
    const PixelRuns runs = rectangleRuns(
        QRectF(topLeft.x(), topLeft.y(), bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
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
    RegionStats region = accumulate(diskRuns(centrePixel, r), grid.at(sceneToPixel(centre, image, grid)),
                                    centrePixel, grid);
    region.stats.maxPos = pixelToScene(region.stats.maxPos.toPoint(), image, imageWidth, imageHeight);
    region.stats.minPos = pixelToScene(region.stats.minPos.toPoint(), image, imageWidth, imageHeight);
    return region;
}

RegionStats polygonStatistics(const QVector<QPointF> &vertices, const QRectF &image, const TemperatureGrid &grid)
{
    QVector<QPointF> mapped;
    for (const QPointF &v : vertices)
        mapped.append(sceneToPixel(v, image, grid));
    const PixelRuns runs = polygonRuns(QPolygonF(mapped).boundingRect(), mapped);
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
