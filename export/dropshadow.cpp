#include "dropshadow.h"

#include "translucentwindows.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

namespace {

constexpr int kShadow = 10;

} // namespace

int dropShadowWidth()
{
    return translucentWindows() ? kShadow : 0;
}

int setUpDropShadow(QWidget *widget)
{
    const int width = dropShadowWidth();
    if (width > 0)
        widget->setAttribute(Qt::WA_TranslucentBackground);
    return width;
}

void paintDropShadow(QWidget *widget, int shadowWidth)
{
    QPainter painter(widget);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const int w = widget->width(), h = widget->height(), s = shadowWidth > 0 ? kShadow : 0;
    painter.fillRect(QRect(s, s, w - 2 * s, h - 2 * s), QColor(0x33, 0x33, 0x33));
    for (int n = s; n >= 1; --n) {
        painter.setPen(QColor(0, 0, 0, int(150 - 50 * std::sqrt(10.0 - n))));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(n, n, w - 2 * n, h - 2 * n));
    }
}
