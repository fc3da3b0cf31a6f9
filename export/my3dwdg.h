#pragma once

#include <QWidget>

class QLabel;
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
    QLabel *legend() const { return m_legend; }

private:
    QStackedWidget *m_stack;
    QLabel *m_legend;
    QtDataVisualization::Q3DSurface *m_graph;
    QtDataVisualization::QSurface3DSeries *m_series;
};
