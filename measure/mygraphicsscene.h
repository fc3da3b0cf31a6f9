#pragma once

#include "itemtables.h"
#include "palette.h"
#include "photorecord.h"

#include <QGraphicsScene>
#include <QImage>

class QGraphicsTextItem;
class MyGraphicLineItem;
class MyGraphicPointItem;
class MyGraphicPolygonItem;
class MyGraphicRectItem;
class MyGraphicRoundItem;
class MyGraphicTextItem;

// The tools of the title bar as the scene knows them; any other value is no tool.
enum ToolMode { ToolNone = 0, ToolPoint = 2, ToolLine = 3, ToolRect = 4, ToolRound = 5, ToolPolygon = 6, ToolSpot = 8 };

// The scene behind the analysis view: the photograph in its own colours, a palette or alarm
// colours, its measurement items and a readout of the temperature under the pointer.
class MyGraphicsScene : public QGraphicsScene
{
    Q_OBJECT
public:
    explicit MyGraphicsScene(QObject *parent = nullptr);
    ~MyGraphicsScene() override;

    double rotationAngle() const { return m_angle; }
    void setRotationAngle(double degrees) { m_angle = degrees; }
    int toolMode() const { return m_toolMode; }
    void setToolMode(int mode) { m_toolMode = mode; }
    QRectF imageRect() const { return m_imageRect; }
    QColor color() const { return m_color; }
    void setColor(const QColor &color) { m_color = color; }
    int sizeLevel() const { return m_sizeLevel; }
    void setSizeLevel(int level) { m_sizeLevel = level; }
    QImage displayedImage() const { return m_displayed; }
    int paletteCount() const { return m_palettes.size(); }
    const QVector<Palette> &palettes() const { return m_palettes; }
    QGraphicsTextItem *spotReadout() const { return m_spotReadout; }
    MyGraphicTextItem *wholeFrameOverlay() const { return m_overlay; }
    bool polygonInProgress() const { return m_polygonInProgress; }
    // The photograph this scene shows (its picture, colours and items). The analysis page's
    // scene shows the current photograph; a scene that renders another one offscreen does not
    // disturb it.
    QString photoPath() const { return m_photoPath; }

    void loadImage(const QString &path);
    // Takes the picture rectangle from the view after it changed size; items keep their place
    // on the picture.
    void followViewport();
    // The view's zoom, which the items' handles follow.
    void setViewZoom(double zoom);
    void reloadItems(const QString &path);
    // The photograph's table as it stands, without copying: items that left it leave the
    // scene, new ones join it; the shape being drawn stays. Names are counted.
    void showTableItems();
    // Takes the items off the scene, the tables keeping them: the view may take another
    // photograph's shape before that one is loaded, and must not reshape these.
    void setItemsAside() { removeMeasurementItems(); }
    void rebuildForRotation();
    bool setPalette(int index);
    bool setAlarm(int mode, float threshold);
    // The temperature rendering is refused (false) for a photograph whose temperatures cannot
    // be drawn.
    bool setRendering(Rendering rendering);
    void setSpan(const TemperatureSpan &span);
    void setItemsVisible(bool visible);
    void showWholeFrame(bool show);
    void hideSpotReadout();
    void deleteSelectedItems();
    // Takes away the shape being drawn, leaving nothing of it; false when none is.
    bool cancelDrawing();
    // Closes the polygon being drawn (a right click or a double click does); false when none is.
    bool finishPolygon();
    QList<ItemStatsRow> collectItemStats(const QString &path) const;

signals:
    // The picture was coloured anew: another photograph, palette, rendering, span, alarm or
    // temperatures. Whatever explains its colours follows.
    void sig_colouringChanged();
    // A press, release or deletion may have changed the photograph's measurements.
    void sig_layoutEdited(const QString &path);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void drawBackground(QPainter *painter, const QRectF &rect) override;

private:
    void refreshImageRect();
    // Draws the photograph as its record says: embedded picture or temperatures, palette,
    // alarm colours, turn. False, drawing nothing, when none of it changed since the last time.
    bool colour(const PhotoRecord &record);
    QImage turned(const QImage &image) const;
    void createItem(ItemKind kind);
    void finishItem(const ItemPtr &item);
    void dragNewItem(const QPointF &pointer);
    void addMeasurementItem(const ItemPtr &item);
    void removeMeasurementItems();
    // Off the scene, and no longer the shape being drawn.
    void dropFromScene(const ItemPtr &item);
    void register_(const ItemPtr &item);
    void countName(const QString &path, const ItemPtr &item);
    template<typename Change>
    void changeShownRecord(Change change);
    void updateSpotReadout(const QPointF &position);
    bool pinCursorToImage(const QPointF &position);
    QSize frameSize() const;

    double m_angle = 0;
    int m_toolMode = ToolNone;
    QPointF m_pressPoint;
    QRectF m_imageRect;
    QColor m_color = QColor(0, 255, 0);
    int m_sizeLevel = 4;
    std::shared_ptr<MyGraphicPointItem> m_currentPoint;
    std::shared_ptr<MyGraphicRectItem> m_currentRect;
    std::shared_ptr<MyGraphicRoundItem> m_currentRound;
    std::shared_ptr<MyGraphicLineItem> m_currentLine;
    std::shared_ptr<MyGraphicPolygonItem> m_currentPolygon;
    MyGraphicTextItem *m_overlay;
    QGraphicsTextItem *m_spotReadout;
    int m_lineDirection = 0;
    bool m_wholeFrame = false;
    bool m_itemsVisible = true;
    double m_viewZoom = 1.0;
    bool m_polygonInProgress = false;
    QImage m_displayed;
    QImage m_fileImage;
    // What m_displayed was last coloured for: a repaint that changes none of it reuses the picture.
    struct Colouring {
        qint64 image = 0;
        double angle = 0;
        int palette = -1;
        int alarm = -1;
        float threshold = 0;
        bool alarmPossible = false;
        // Held, so a reload's new block never takes the address of the one coloured last.
        SharedMatrix matrix;
        bool temperatures = false; // drawn from the matrix, over low to high
        float low = 0;
        float high = 0;
        bool operator==(const Colouring &o) const
        {
            return image == o.image && angle == o.angle && palette == o.palette && alarm == o.alarm
                && threshold == o.threshold && alarmPossible == o.alarmPossible && matrix == o.matrix
                && temperatures == o.temperatures && low == o.low && high == o.high;
        }
    };
    Colouring m_colouring;
    QVector<Palette> m_palettes;
    QString m_photoPath;
    QList<ItemPtr> m_sceneItems; // every measurement item on show; the scene never deletes them itself
};
