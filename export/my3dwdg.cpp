#include "my3dwdg.h"

#include "heatmapdata.h"
#include "heatmaplegend.h"
#include "openedphotos.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QScreen>
#include <QStackedWidget>
#include <QWindow>
#include <QtDataVisualization/Q3DSurface>
#include <QtDataVisualization/Q3DTheme>
#include <QtDataVisualization/QSurface3DSeries>
#include <QtDataVisualization/QSurfaceDataProxy>
#include <QtDataVisualization/QValue3DAxis>

using namespace QtDataVisualization;

My3DWdg::My3DWdg(QWidget *parent)
    : QWidget(parent)
{
    setObjectName("My3DWdg");
    resize(741, 560);
    setWindowTitle(tr("3D热图"));
    auto *grid = new QGridLayout(this);
    grid->setObjectName("gridLayout");
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName("stackedWidget");
    grid->addWidget(m_stack, 0, 0);

    m_graph = new Q3DSurface;
    QWidget *container = QWidget::createWindowContainer(m_graph);
    m_stack->addWidget(container);
    container->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    container->setFocusPolicy(Qt::StrongFocus);
    m_graph->setAxisX(new QValue3DAxis);
    m_graph->setAxisY(new QValue3DAxis);
    m_graph->setAxisZ(new QValue3DAxis);

    auto *proxy = new QSurfaceDataProxy;
    m_series = new QSurface3DSeries(proxy);
    m_series->setDrawMode(QSurface3DSeries::DrawSurface);
    m_series->setFlatShadingEnabled(false);
    m_series->setItemLabelFormat("(@xLabel, @zLabel): @yLabel");

    const PhotoRecord &record = currentPhotoRecord();
    // A matrix smaller than the picture gives an empty graph: nothing is read outside it.
    QSurfaceDataArray *rows = surfaceDataArray(*record.matrix, record.width, record.height);
    if (rows)
        proxy->resetArray(rows);
    m_graph->axisX()->setLabelFormat("%.1f px");
    m_graph->axisY()->setLabelFormat(QString::fromUtf8("%.1f ℃"));
    m_graph->axisZ()->setLabelFormat("%.1f px");
    m_graph->axisX()->setTitle(tr("长"));
    m_graph->axisY()->setTitle(tr("温度"));
    m_graph->axisZ()->setTitle(tr("宽"));

    const QImage photo(currentPhotoPath());
    auto colourAt = [&photo](const QPointF &position) {
        const QPoint p(qRound(position.x()), qRound(position.y()));
        return photo.valid(p) ? photo.pixelColor(p) : QColor(Qt::black);
    };
    const QColor cold = colourAt(record.stats.minPos), hot = colourAt(record.stats.maxPos);
    QLinearGradient gradient;
    gradient.setColorAt(0, cold);
    gradient.setColorAt(1, hot);
    m_series->setBaseGradient(gradient);
    m_series->setColorStyle(Q3DTheme::ColorStyleRangeGradient);
    m_graph->addSeries(m_series);

    if (rows) {
        m_legend = new HeatMapLegend(hot, cold, legendTicks(record.stats.max, record.stats.min), this);
        grid->addWidget(m_legend, 0, 1);
    } else {
        auto *message = new QLabel(tr("没有温度数据"), this);
        message->setObjectName("label");
        message->setWordWrap(true);
        message->setAlignment(Qt::AlignCenter);
        grid->addWidget(message, 0, 1);
    }
}

void My3DWdg::showOver(QWidget *area)
{
    // Kept above the program's window without being its child, which would pass the
    // program's dark style sheets on to the graph's light surroundings.
    winId();
    if (windowHandle() && area->window()->windowHandle())
        windowHandle()->setTransientParent(area->window()->windowHandle());
    const QRect target(area->mapToGlobal(QPoint(0, 0)), area->size());
    QScreen *screen = QGuiApplication::screenAt(target.center());
    const QRect available = (screen ? screen : area->screen())->availableGeometry();
    resize(size().boundedTo(available.size()));
    move(placedWindow(size(), target, available).topLeft());
    show();
}

QRect placedWindow(const QSize &size, const QRect &area, const QRect &available)
{
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(area.center());
    if (placed.top() < area.top())
        placed.moveTop(area.top());
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.left() < available.left())
        placed.moveLeft(available.left());
    if (placed.bottom() > available.bottom())
        placed.moveBottom(available.bottom());
    if (placed.top() < available.top())
        placed.moveTop(available.top());
    return placed;
}
