#pragma once

#include "itemtables.h"

#include <QGraphicsView>

class QAction;
class QMenu;
class MyGraphicsScene;

// The analysis page's image view: shows the measurement scene, forwards the title bar's
// tool settings to it, turns the photograph in quarter turns, and copies the measurement
// layout of one photograph onto the current or every opened photograph.
//
// Zoom and pan are the view's transform alone: the scene keeps the picture in the
// rectangle of the unzoomed viewport, so items and their readings never depend on the zoom.
class QGraphicsPaint : public QGraphicsView
{
    Q_OBJECT
public:
    explicit QGraphicsPaint(QWidget *parent = nullptr);
    ~QGraphicsPaint() override;

    void createScene(int width, int height);
    MyGraphicsScene *measurementScene() const { return m_scene; }

    void setDrawMode(int mode);
    int drawMode() const { return m_drawMode; }
    QColor drawColor() const;
    void setDrawColor(const QColor &color);
    void setSizeLevel(int level);
    void setItemsVisible(bool visible);
    void setWholeFrame(bool show);
    void setPalette(int index);
    void setAlarm(int mode, float threshold);
    void deleteSelected();
    void rotateQuarterTurn();
    void showPhoto(const QString &path);
    // The scene rectangle the photograph's picture takes when it is on show: the picture's on
    // show now, or the view's other shape for a photograph turned the other way. Items of a
    // photograph not on show are placed there, so that showing it reshapes nothing.
    QRectF pictureRectFor(const QString &path) const;
    void rebuildMenu();
    // The size the view asks of its layout: the page's view size, narrow while turned.
    QSize sizeHint() const override;
    QMenu *contextMenu() const { return m_menu; }
    double zoom() const { return m_zoom; }
    // Zooms by factor (kept between the whole picture and kMaxZoom) with the scene point under
    // the viewport position anchor staying where it is.
    void zoomAbout(double factor, const QPointF &anchor);
    static constexpr double kMaxZoom = 16.0;

signals:
    void sig_updateItem(QString item, float max, float min, float avg);
    void sig_deleteItem(QString item);
    void sig_copyItemToCurrent();
    // A paste replaced the photograph's measurements.
    void sig_layoutEdited(const QString &path);

public slots:
    void slot_showMenu();
    void slot_copyItem();
    void slot_pasteToCurr();
    void slot_pasteToAll();
    void slot_clickprenext();
    void refreshItemStats();
    // Zoom about the pointer when it is over the picture, else about the centre.
    void zoomIn();
    void zoomOut();
    // The whole picture again, unzoomed.
    void fitToView();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void applyRotationState(int state);
    void pasteTo(const QString &path);
    QPointF zoomAnchor() const;
    bool startsPan(const QMouseEvent *event) const;

    MyGraphicsScene *m_scene = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_pasteToCurrent = nullptr;
    QAction *m_pasteToAll = nullptr;
    ItemTable m_clipboard;
    bool m_copied = false;
    int m_drawMode = 0;
    // The view's size for a rotation state: narrow while turned a quarter.
    QSize sizeFor(int rotationState) const;
    QSize m_viewSize;
    QSize m_wantedSize;
    QRect m_homeGeometry;
    bool m_homeRecorded = false;
    double m_zoom = 1.0;
    bool m_spaceHeld = false;
    bool m_panning = false;
    QPoint m_panFrom;
};
