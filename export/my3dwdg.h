#pragma once

#include <QWidget>

class HeatMapLegend;
class QStackedWidget;
namespace QtDataVisualization {
class Q3DSurface;
class QSurface3DSeries;
}

// The temperature field of the photograph on show as a 3D surface, with a colour legend.
// The data are taken once, when the window is made.
class My3DWdg : public QWidget
{
    Q_OBJECT
public:
    explicit My3DWdg(QWidget *parent = nullptr);

    QtDataVisualization::Q3DSurface *graph() const { return m_graph; }
    QtDataVisualization::QSurface3DSeries *series() const { return m_series; }
    // The colour legend, none when the photograph has no temperatures to show.
    HeatMapLegend *legend() const { return m_legend; }

    // Shows the window centred on area (the page under the program's title bar) and whole on
    // the screen it lands on.
    void showOver(QWidget *area);

private:
    QStackedWidget *m_stack;
    HeatMapLegend *m_legend = nullptr;
    QtDataVisualization::Q3DSurface *m_graph;
    QtDataVisualization::QSurface3DSeries *m_series;
};

// Where a window of the given size goes over area: centred on it but not above its top, then
// moved inside the available screen geometry, its top edge kept on screen before its bottom.
QRect placedWindow(const QSize &size, const QRect &area, const QRect &available);
