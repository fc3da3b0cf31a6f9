#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

// Paints one photograph of the home page's grid (a PhotoGridModel row): the item's hover
// background, the rounded thumbnail centred at the top and the name below it, in the size of
// a grid entry of the screen layout. A row still waiting for its thumbnail shows an empty
// rounded frame; one that could not be decoded shows the frame with a warning sign.
class PhotoGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit PhotoGridDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Where the thumbnail and the name go inside an entry whose rectangle is item.
    static QRect thumbnailRect(const QRect &item);
    static QRect nameRect(const QStyleOptionViewItem &option);
    static QFont nameFont(const QFont &viewFont);

private:
    QIcon m_warning;
};
