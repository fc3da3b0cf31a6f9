#include "measurementitems.h"

#include "mygraphiclineitem.h"
#include "mygraphicpointitem.h"
#include "mygraphicpolygonitem.h"
#include "mygraphicrectitem.h"
#include "mygraphicrounditem.h"
#include "photostore.h"
#include "picturereader.h"

#include <QFile>

#include <utility>

PictureMapping mappingFor(const QString &path, const QRectF &image)
{
    PictureMapping mapping;
    mapping.frame = PhotoStore::program().sizeOf(path);
    if (mapping.frame.isEmpty())
        mapping.frame = pictureFileSize(QFile::encodeName(path));
    mapping.turns = PhotoStore::program().rotationState(path);
    mapping.image = image.isEmpty() ? QRectF(QPointF(0, 0), QSizeF(mapping.turnedFrame())) : image;
    // A photograph of no known size keeps its layout in the units of the picture rectangle.
    if (mapping.frame.isEmpty()) {
        mapping.frame = mapping.image.size().toSize().expandedTo(QSize(1, 1));
        mapping.turns = 0;
    }
    return mapping;
}

Measurement measurementOf(const MyGraphicItem &item, const PictureMapping &mapping)
{
    Measurement m;
    m.kind = item.kind();
    m.name = item.name();
    m.colour = item.pen().color();
    m.penWidth = item.pen().width();
    const QPointF at = item.pos();
    auto pixel = [&](const QPointF &q) { return mapping.toPixel(q + at); };
    if (auto *point = dynamic_cast<const MyGraphicPointItem *>(&item)) {
        m.points = {pixel(point->point())};
    } else if (auto *line = dynamic_cast<const MyGraphicLineItem *>(&item)) {
        // The item knows no direction of its own (its start follows the diagonal as drawn,
        // which a turn changes): the ends are kept left one first.
        QPointF a = pixel(line->start()), b = pixel(line->end());
        if (std::make_pair(b.x(), b.y()) < std::make_pair(a.x(), a.y()))
            std::swap(a, b);
        m.points = {a, b};
    } else if (auto *rect = dynamic_cast<const MyGraphicRectItem *>(&item)) {
        // Turned, the scene's corners are other corners of the photograph's rectangle.
        const QRectF r = QRectF(pixel(rect->rect().topLeft()), pixel(rect->rect().bottomRight())).normalized();
        m.points = {r.topLeft(), r.bottomRight()};
    } else if (auto *round = dynamic_cast<const MyGraphicRoundItem *>(&item)) {
        m.points = {pixel(round->centre())};
        m.radius = mapping.radiusToPixels(round->radius());
    } else if (auto *polygon = dynamic_cast<const MyGraphicPolygonItem *>(&item)) {
        for (const QPointF &v : polygon->vertices())
            m.points.append(pixel(v));
    }
    return m;
}

void showMeasurement(MyGraphicItem &item, const Measurement &m, const PictureMapping &mapping)
{
    QVector<QPointF> scene;
    for (const QPointF &p : m.points)
        scene.append(mapping.toScene(p));
    item.setName(m.name);
    item.setPen(QPen(QBrush(m.colour), m.penWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    item.setMappingContext(mapping.image);
    // The geometry is absolute: the position goes to (0, 0) unclamped (a selected item clamps
    // its moves by the geometry it has).
    const bool sends = item.flags() & QGraphicsItem::ItemSendsGeometryChanges;
    item.setFlag(QGraphicsItem::ItemSendsGeometryChanges, false);
    item.setPos(0, 0);
    item.setFlag(QGraphicsItem::ItemSendsGeometryChanges, sends);
    if (auto *point = dynamic_cast<MyGraphicPointItem *>(&item))
        point->setPoint(scene.value(0));
    else if (auto *line = dynamic_cast<MyGraphicLineItem *>(&item))
        line->setLine(scene.value(0), scene.value(1), false);
    else if (auto *rect = dynamic_cast<MyGraphicRectItem *>(&item))
        rect->setRect(QRectF(scene.value(0), scene.value(1)).normalized());
    else if (auto *round = dynamic_cast<MyGraphicRoundItem *>(&item))
        round->setCircle(scene.value(0), mapping.radiusToScene(m.radius));
    else if (auto *polygon = dynamic_cast<MyGraphicPolygonItem *>(&item))
        polygon->setVertices(scene);
    item.keepInsideImage();
}

ItemPtr itemFor(const Measurement &m, const PictureMapping &mapping)
{
    ItemPtr item;
    switch (m.kind) {
    case KindPoint:
        item = std::make_shared<MyGraphicPointItem>();
        break;
    case KindLine:
        item = std::make_shared<MyGraphicLineItem>();
        break;
    case KindRect:
        item = std::make_shared<MyGraphicRectItem>();
        break;
    case KindRound:
        item = std::make_shared<MyGraphicRoundItem>();
        break;
    case KindPolygon:
        item = std::make_shared<MyGraphicPolygonItem>();
        break;
    }
    showMeasurement(*item, m, mapping);
    return item;
}

Layout layoutOf(const QString &path)
{
    Layout layout;
    for (const ItemPtr &item : itemTables().value(path))
        layout.append(measurementOf(*item, mappingFor(path, item->imageRect())));
    return layout;
}

ItemTable itemsFor(const QString &path, const Layout &layout, const QRectF &image)
{
    const PictureMapping mapping = mappingFor(path, image);
    ItemTable table;
    for (const Measurement &m : layout) {
        const ItemPtr item = itemFor(m, mapping);
        item->computeStatistics(QPointF(0, 0), path);
        table.insert(m.name, item);
    }
    return table;
}
