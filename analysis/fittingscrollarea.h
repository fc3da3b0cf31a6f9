#pragma once

#include <QScrollArea>

// A scroll area that scrolls up and down only: never narrower than its contents need, so that
// the layout around it makes room for the widest of them (a measurement row whose texts grow
// with the language or the text size).
class FittingScrollArea : public QScrollArea
{
    Q_OBJECT
public:
    explicit FittingScrollArea(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
};
