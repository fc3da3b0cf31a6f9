#include "photogriddelegate.h"

#include "photogridmodel.h"
#include "screenlayout.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

// The name sits 24 px (margin and padding of 12 px) below the top of its area, which begins a
// layout spacing below the thumbnail, or higher when the entry is too short for that.
const int kNameInset = 24;
const int kFrameRadius = 10;
const QColor kNameColor(255, 255, 255, 216); // rgba(255,255,255,0.85)
const QColor kFrameColor(255, 255, 255, 15); // the frame of a thumbnail not (yet) shown

QSize thumbnailSize()
{
    const ScreenLayout &layout = shellValues().layout;
    return {layout.thumbWidth, layout.thumbHeight};
}

} // namespace

PhotoGridDelegate::PhotoGridDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
    , m_warning(":/res/icon/warning.svg")
{
}

QSize PhotoGridDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    const ScreenLayout &layout = shellValues().layout;
    return {layout.rowWidth, layout.rowHeight};
}

QRect PhotoGridDelegate::thumbnailRect(const QRect &item)
{
    const QSize size = thumbnailSize();
    return QRect(QPoint(item.x() + (item.width() - size.width()) / 2, item.y()), size);
}

QFont PhotoGridDelegate::nameFont(const QFont &viewFont)
{
    QFont font = viewFont;
    font.setPointSize(12);
    return font;
}

QRect PhotoGridDelegate::nameRect(const QStyleOptionViewItem &option)
{
    const QWidget *widget = option.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    int spacing = style->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, widget);
    if (spacing < 0)
        spacing = 6;
    const QRect item = option.rect;
    const int lineHeight = QFontMetrics(nameFont(option.font)).height();
    const int area = std::max(kNameInset + lineHeight, item.height() - thumbnailSize().height() - spacing);
    return QRect(item.x(), item.bottom() + 1 - area + kNameInset, item.width(), area - kNameInset);
}

void PhotoGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // The style draws the entry's background (rounded, lighter under the mouse); the picture
    // and the name are drawn here.
    QStyleOptionViewItem panel = option;
    initStyleOption(&panel, index);
    panel.text.clear();
    panel.icon = QIcon();
    panel.features &= ~(QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, widget);

    painter->save();
    painter->setClipRect(option.rect, Qt::IntersectClip);
    const QRect picture = thumbnailRect(option.rect);
    const QImage thumbnail = index.data(PhotoGridModel::ThumbnailRole).value<QImage>();
    if (!thumbnail.isNull()) {
        painter->drawImage(picture, thumbnail);
    } else {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(kFrameColor);
        painter->drawRoundedRect(QRectF(picture), kFrameRadius, kFrameRadius);
        if (index.data(PhotoGridModel::StateRole).toInt() == PhotoGridModel::Failed) {
            const int side = std::min(32, std::min(picture.width(), picture.height()) / 2);
            QRect sign(0, 0, side, side);
            sign.moveCenter(picture.center());
            painter->setOpacity(0.8);
            m_warning.paint(painter, sign);
            painter->setOpacity(1.0);
        }
    }

    const QFont font = nameFont(option.font);
    const QRect name = nameRect(option);
    painter->setFont(font);
    painter->setPen(kNameColor);
    const QString text = QFontMetrics(font).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideMiddle, name.width());
    painter->drawText(name, Qt::AlignCenter, text);
    painter->restore();
}
