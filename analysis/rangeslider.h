#pragma once

#include <QWidget>

// A slider with two handles over an integer range.
class RangeSlider : public QWidget
{
    Q_OBJECT
public:
    enum Option { NoHandle = 0, LeftHandle = 1, RightHandle = 2, DoubleHandles = LeftHandle | RightHandle };
    Q_DECLARE_FLAGS(Options, Option)

    RangeSlider(QWidget *parent = nullptr);
    RangeSlider(Qt::Orientation orientation, Options options = DoubleHandles, QWidget *parent = nullptr);

    QSize minimumSizeHint() const override { return QSize(24, 11); }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int lowerValue() const { return m_lower; }
    int upperValue() const { return m_upper; }
    void setRange(int minimum, int maximum);
    void setEmitWhileMoving(bool emitWhileMoving) { m_emitWhileMoving = emitWhileMoving; }
    int usableLength() const;

signals:
    void lowerValueChanged(int aLowerValue);
    void upperValueChanged(int aUpperValue);
    void rangeChanged(int aMin, int aMax);

public slots:
    void setLowerValue(int value);
    void setUpperValue(int value);
    void setMinimum(int minimum);
    void setMaximum(int maximum);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    static constexpr int HandleSide = 11;
    int length() const;
    int across() const;
    int firstHandlePosition() const;
    int secondHandlePosition() const;
    QRectF handleRect(int position) const;
    bool hasFirst() const { return m_options & LeftHandle; }
    bool hasSecond() const { return m_options & RightHandle; }

    int m_minimum = 0;
    int m_maximum = 100;
    int m_lower = 0;
    int m_upper = 100;
    bool m_emitWhileMoving = true;
    bool m_firstPressed = false;
    bool m_secondPressed = false;
    int m_interval = 100;
    int m_grabOffset = 0;
    QColor m_enabledColor = QColor(30, 144, 255);
    QColor m_disabledColor = Qt::darkGray;
    QColor m_spanColor = m_enabledColor;
    Qt::Orientation m_orientation = Qt::Horizontal;
    Options m_options = NoHandle;
};
