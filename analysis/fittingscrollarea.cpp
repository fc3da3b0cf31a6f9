#include "fittingscrollarea.h"

#include <QEvent>
#include <QScrollBar>

#include <algorithm>

FittingScrollArea::FittingScrollArea(QWidget *parent)
    : QScrollArea(parent)
{
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QSize FittingScrollArea::minimumSizeHint() const
{
    QSize size = QScrollArea::minimumSizeHint();
    if (widget()) {
        // Room for the vertical scroll bar too, which comes with a long list.
        const int needed = widget()->minimumSizeHint().width() + verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
        size.setWidth(std::max(size.width(), needed));
    }
    return size;
}

bool FittingScrollArea::event(QEvent *event)
{
    // The contents' layout changed (a row added, retranslated, its values or text size): the
    // layout around the area asks again how wide it must be.
    if (event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::event(event);
}
