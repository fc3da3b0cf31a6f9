#pragma once

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

// The index of each kind's naming counter.
enum ItemKind { KindPoint = 0, KindLine = 1, KindRect = 2, KindRound = 3, KindPolygon = 4 };

// One measurement as data: what it is, its name and pen, and its geometry in pixel coordinates
// of the unturned photograph (0..width, 0..height; a pixel's centre is at +0.5). It knows no
// scene: the graphics items are views of it.
//   point: one point; line: its ends, the left one (or upper of two) first; rectangle: top-left and bottom-right corners;
//   circle: the centre and radius (in pixels); polygon: its vertices in order.
struct Measurement
{
    ItemKind kind = KindPoint;
    QString name;
    QColor colour = QColor(0, 255, 0);
    int penWidth = 2;
    QVector<QPointF> points;
    double radius = 0;

    // Equal within a millionth of a pixel: what a change of the view's size or a round trip
    // through the scene leaves of a geometry that was not edited.
    bool sameAs(const Measurement &other) const;
};

using Layout = QVector<Measurement>;

// The measurement with each defining point moved to the centre of its pixel of a frame of that
// size (the radius kept), as a quarter turn of the picture leaves it.
Measurement onPixelCentres(const Measurement &measurement, const QSize &frame);

// A measurement's name: its kind's prefix ("P", "L", "Re", "Ro", "Poly") and the number.
QString measurementName(ItemKind kind, int number);
// The number in a measurement's name ("Re12" -> 12), 0 when it has none.
int nameNumber(const QString &name);
// The name a new measurement of the kind takes in the layout: its kind's prefix and a number
// above every one in use, so that no name is taken twice.
QString nextName(const Layout &layout, ItemKind kind);

bool sameLayout(const Layout &a, const Layout &b);

QJsonObject measurementToJson(const Measurement &measurement);
// False with a reason (not translated: the caller says which entry) when the object is no
// measurement this program can show.
bool measurementFromJson(const QJsonValue &value, Measurement &measurement, QString *reason);

QJsonArray layoutToJson(const Layout &layout);
// The entries that are measurements, in order; each other entry (or a name taken before) is
// skipped with a line in skipped: its index and why.
Layout layoutFromJson(const QJsonArray &array, QStringList *skipped);
