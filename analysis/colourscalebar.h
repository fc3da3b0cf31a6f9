#pragma once

#include "palette.h"
#include "temperaturescale.h"

#include <QWidget>

class QPainter;

// One text of a colour scale: the value it stands for (in the scale's unit) and how it reads.
struct ScaleLabel
{
    double value;
    QString text;
    bool end; // one of the two ends (one decimal), not a tick between them
};

// The scale's texts from its top down: its high end, up to maxTicks values between, its low
// end; "NA" at both ends when the photograph has no temperatures.
QVector<ScaleLabel> scaleLabels(const TemperatureScale &scale, int maxTicks);

// Paints a colour scale filling area on the page's dark grey: the palette as a bar from its
// first entry at the bottom to its last at the top (plain grey without temperatures), with the
// scale's texts beside it in the given font; handles at the bar's ends when they can be
// dragged. The snapshots draw it too.
void paintColourScale(QPainter &painter, const QRect &area, const Palette &palette, const TemperatureScale &scale,
                      const QFont &font, bool handles = false);

// The width a scale painted in that font needs.
int colourScaleWidth(const QFont &font);

// The colour scale beside the analysis page's picture. While allowed, dragging either end of
// the bar moves that end of the span (one decimal in the scale's unit); the other end stays.
class ColourScaleBar : public QWidget
{
    Q_OBJECT
public:
    explicit ColourScaleBar(QWidget *parent = nullptr);

    void setScale(const Palette &palette, const TemperatureScale &scale, bool draggable);
    const TemperatureScale &scale() const { return m_scale; }
    const Palette &palette() const { return m_palette; }
    bool isDraggable() const { return m_draggable; }
    // Where the bar lies in the widget: its top row shows the last entry, its bottom row the first.
    QRect barRect() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void sig_spanDragged(float low, float high); // °C, while the end moves
    void sig_dragFinished();                     // the end was let go after it moved

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    enum class End { None, Low, High };
    End endAt(const QPoint &point) const;

    Palette m_palette;
    TemperatureScale m_scale;
    bool m_draggable = false;
    End m_dragged = End::None;
    bool m_moved = false;
    TemperatureScale m_pressed; // the ends as they were when the drag began
    QRect m_pressedBar;
};
