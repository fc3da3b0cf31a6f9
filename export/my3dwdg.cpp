#include "my3dwdg.h"

#include "heatmapdata.h"
#include "phototables.h"

#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QStackedWidget>
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
    m_legend = new QLabel(this);
    m_legend->setObjectName("label");
    grid->addWidget(m_stack, 0, 0);
    grid->addWidget(m_legend, 0, 1);

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
    m_graph->axisX()->setTitle(QString::fromUtf8("长"));
    m_graph->axisY()->setTitle(QString::fromUtf8("温度"));
    m_graph->axisZ()->setTitle(QString::fromUtf8("宽"));

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

    QPixmap legend(100, 400);
    legend.fill(Qt::transparent);
    QPainter painter(&legend);
    QLinearGradient bar(0, 0, 1, 380);
    bar.setColorAt(0, hot);
    bar.setColorAt(1, cold);
    painter.setPen(Qt::NoPen);
    painter.setBrush(bar);
    painter.drawRect(10, 10, 30, 380);
    painter.setPen(Qt::black);
    if (rows) {
        for (const LegendTick &tick : legendTicks(record.stats.max, record.stats.min)) {
            painter.drawLine(10, tick.height, 50, tick.height);
            painter.drawText(55, tick.height + 2, tick.text);
        }
    } else {
        painter.drawText(QRect(0, 180, 100, 40), Qt::AlignCenter | Qt::TextWordWrap, tr("没有温度数据"));
    }
    painter.end();
    m_legend->setPixmap(legend);
}
