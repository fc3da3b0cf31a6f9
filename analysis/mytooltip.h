#pragma once

#include <QWidget>

class QLabel;

// The small dark tip that names a palette above the pointer.
class MyToolTip : public QWidget
{
    Q_OBJECT
public:
    explicit MyToolTip(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;
    void setAnchor(const QPoint &anchor) { m_anchor = anchor; }
    void showAtAnchor(); // left edge 2 pixels right of the anchor, bottom 6 pixels above it

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_text;
    QPoint m_anchor;
};
