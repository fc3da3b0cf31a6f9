#include "dropshadow.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

void paintDropShadow(QWidget *widget)
{
    QPainter painter(widget);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const int w = widget->width(), h = widget->height();
    painter.fillRect(QRect(10, 10, w - 20, h - 20), QColor(0x33, 0x33, 0x33));
    for (int n = 10; n >= 1; --n) {
        painter.setPen(QColor(0, 0, 0, int(150 - 50 * std::sqrt(10.0 - n))));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(n, n, w - 2 * n, h - 2 * n));
    }
}
