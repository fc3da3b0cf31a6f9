#include "measurement.h"

#include <QJsonValue>
#include <QSet>

#include <algorithm>
#include <algorithm>
#include <cmath>

namespace {

const char *const kKindNames[] = {"point", "line", "rectangle", "circle", "polygon"};

// Coordinates far past any photograph are no geometry (they would only be clamped to the
// picture's edge); the largest frame is far below.
constexpr double kFarthest = 1e6;
constexpr int kMostVertices = 100000;
constexpr int kWidestPen = 64;

bool near(double a, double b)
{
    return std::abs(a - b) <= 1e-6;
}

bool isCoordinate(const QJsonValue &v)
{
    return v.isDouble() && std::isfinite(v.toDouble()) && std::abs(v.toDouble()) <= kFarthest;
}

int pointCount(ItemKind kind)
{
    switch (kind) {
    case KindPoint:
    case KindRound:
        return 1;
    case KindLine:
    case KindRect:
        return 2;
    case KindPolygon:
        break;
    }
    return -1;
}

} // namespace

QString measurementName(ItemKind kind, int number)
{
    static const char *const prefixes[] = {"P", "L", "Re", "Ro", "Poly"};
    return QLatin1String(prefixes[kind]) + QString::number(number);
}

int nameNumber(const QString &name)
{
    int digits = 0;
    while (digits < name.size() && name[name.size() - 1 - digits].isDigit())
        ++digits;
    return name.rightRef(digits).toInt();
}

QString nextName(const Layout &layout, ItemKind kind)
{
    int highest = 0;
    for (const Measurement &m : layout)
        if (m.kind == kind)
            highest = std::max(highest, nameNumber(m.name));
    return measurementName(kind, highest + 1);
}

bool Measurement::sameAs(const Measurement &o) const
{
    if (kind != o.kind || name != o.name || colour != o.colour || penWidth != o.penWidth
        || points.size() != o.points.size() || !near(radius, o.radius))
        return false;
    for (int i = 0; i < points.size(); ++i)
        if (!near(points[i].x(), o.points[i].x()) || !near(points[i].y(), o.points[i].y()))
            return false;
    return true;
}

bool sameLayout(const Layout &a, const Layout &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (!a[i].sameAs(b[i]))
            return false;
    return true;
}

Measurement onPixelCentres(const Measurement &m, const QSize &frame)
{
    auto centre = [](double v, int size) {
        return std::clamp(std::floor(v), 0.0, double(std::max(0, size - 1))) + 0.5;
    };
    Measurement moved = m;
    for (QPointF &p : moved.points)
        p = QPointF(centre(p.x(), frame.width()), centre(p.y(), frame.height()));
    return moved;
}

QJsonObject measurementToJson(const Measurement &m)
{
    QJsonArray points;
    for (const QPointF &p : m.points)
        points.append(QJsonArray{p.x(), p.y()});
    QJsonObject o{{"kind", kKindNames[m.kind]},
                  {"name", m.name},
                  {"colour", m.colour.name(m.colour.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb)},
                  {"width", m.penWidth},
                  {"points", points}};
    if (m.kind == KindRound)
        o["radius"] = m.radius;
    return o;
}

bool measurementFromJson(const QJsonValue &value, Measurement &m, QString *reason)
{
    auto fail = [reason](const char *why) {
        if (reason)
            *reason = QString::fromLatin1(why);
        return false;
    };
    if (!value.isObject())
        return fail("not an object");
    const QJsonObject o = value.toObject();
    const QString kind = o.value("kind").toString();
    int k = 0;
    while (k < int(std::size(kKindNames)) && kind != QLatin1String(kKindNames[k]))
        ++k;
    if (k == int(std::size(kKindNames)))
        return fail("unknown kind");
    Measurement read;
    read.kind = ItemKind(k);
    read.name = o.value("name").toString();
    if (read.name.trimmed().isEmpty())
        return fail("no name");
    read.colour = QColor(o.value("colour").toString());
    if (!o.value("colour").isString() || !read.colour.isValid())
        return fail("no colour");
    const QJsonValue width = o.value("width");
    if (!width.isDouble() || width.toDouble() != std::floor(width.toDouble()) || width.toDouble() < 1
        || width.toDouble() > kWidestPen)
        return fail("no pen width");
    read.penWidth = width.toInt();
    const QJsonArray points = o.value("points").toArray();
    const int wanted = pointCount(read.kind);
    if (wanted > 0 ? points.size() != wanted : (points.isEmpty() || points.size() > kMostVertices))
        return fail("wrong number of points");
    for (const QJsonValue &p : points) {
        const QJsonArray xy = p.toArray();
        if (xy.size() != 2 || !isCoordinate(xy[0]) || !isCoordinate(xy[1]))
            return fail("a point is not two numbers");
        read.points.append(QPointF(xy[0].toDouble(), xy[1].toDouble()));
    }
    if (read.kind == KindRound) {
        const QJsonValue radius = o.value("radius");
        if (!isCoordinate(radius) || radius.toDouble() < 0)
            return fail("no radius");
        read.radius = radius.toDouble();
    }
    m = read;
    return true;
}

QJsonArray layoutToJson(const Layout &layout)
{
    QJsonArray array;
    for (const Measurement &m : layout)
        array.append(measurementToJson(m));
    return array;
}

Layout layoutFromJson(const QJsonArray &array, QStringList *skipped)
{
    Layout layout;
    QSet<QString> names;
    for (int i = 0; i < array.size(); ++i) {
        Measurement m;
        QString reason;
        if (measurementFromJson(array[i], m, &reason) && names.contains(m.name))
            reason = QStringLiteral("name used before");
        if (!reason.isEmpty()) {
            if (skipped)
                *skipped << QString::number(i + 1) + QStringLiteral(": ") + reason;
            continue;
        }
        names.insert(m.name);
        layout.append(m);
    }
    return layout;
}
