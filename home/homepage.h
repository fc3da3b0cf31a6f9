#pragma once

#include <QStringList>
#include <QWidget>

// The photo library page. Until the library lands it is an empty page that already
// carries the signal the main window connects.
class HomePage : public QWidget
{
    Q_OBJECT
public:
    explicit HomePage(QWidget *parent = nullptr);
    void retranslate();

signals:
    void sig_selectImg(QStringList imgList, int index);
};
