#pragma once

#include <QWidget>

class QLabel;

// One thumbnail of the photo grid: the picture in a rounded frame above its name.
class MyItemWidget : public QWidget
{
    Q_OBJECT
public:
    MyItemWidget(const QPixmap &pixmap, const QString &text, QWidget *parent = nullptr);
    QString text() const;

private:
    QLabel *m_icon;
    QLabel *m_text;
};
